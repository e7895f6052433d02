# key_script_test(NAME CHECK [KEYS file.keys] [DEFINES -DVAR=value...])
# One test that runs tests/scripts/CHECK with cmake -P, given the runner, the build folder
# and the key script under tests/scripts, on the offscreen video and dummy audio drivers.
function(key_script_test name check)
  cmake_parse_arguments(PARSE_ARGV 2 K "" "KEYS" "DEFINES")
  set(scripts ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts)
  set(defines -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR})
  if(K_KEYS)
    list(APPEND defines -DKEYS=${scripts}/${K_KEYS})
  endif()
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} ${defines} ${K_DEFINES} -P ${scripts}/${check})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
endfunction()
