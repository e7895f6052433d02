# One case of the game binary started as a user would; see platform_tests.cmake.
# A game that is still running after a few seconds has started (it has no tick limit).
function(expect_still_running dir home)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=${home} --unset=XDG_DATA_HOME ${ARGN}
    WORKING_DIRECTORY ${dir} TIMEOUT 3 RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc MATCHES "timeout")
    message(FATAL_ERROR "the game ended (${rc}) instead of running; stderr:\n${err}")
  endif()
  if(err MATCHES "error")
    message(FATAL_ERROR "the game reported an error:\n${err}")
  endif()
endfunction()

set(scratch ${WORK}/platform-${CASE})
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch}/elsewhere ${scratch}/home)

if(CASE STREQUAL "no-display")
  # No display at all and no driver asked for: the game must not run invisibly.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
      --unset=SDL_VIDEODRIVER ${GAME}
    WORKING_DIRECTORY ${WORK} TIMEOUT 20 RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(rc EQUAL 0 OR rc MATCHES "timeout" OR NOT err MATCHES "error: graphic init error"
     OR NOT err MATCHES "no display")
    message(FATAL_ERROR "without a display: status ${rc}, stderr:\n${err}")
  endif()
elseif(CASE STREQUAL "another-folder")
  expect_still_running(${scratch}/elsewhere ${scratch}/home ${GAME})
elseif(CASE STREQUAL "install")
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${WORK} --prefix ${scratch}/prefix
    RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
  endif()
  foreach(f bin/tessaly share/tessaly/data.dat share/tessaly/mappack.dat
            share/applications/tessaly.desktop share/icons/hicolor/64x64/apps/tessaly.png)
    if(NOT EXISTS ${scratch}/prefix/${f})
      message(FATAL_ERROR "not installed: ${f}")
    endif()
  endforeach()
  file(READ ${scratch}/prefix/share/applications/tessaly.desktop entry)
  if(NOT entry MATCHES "\nExec=tessaly\n" OR NOT entry MATCHES "\nIcon=tessaly\n")
    message(FATAL_ERROR "desktop entry:\n${entry}")
  endif()
  # Started from the home folder, as a desktop menu starts it: data from share/, saves in
  # the user's folder.
  expect_still_running(${scratch}/home ${scratch}/home ${scratch}/prefix/bin/tessaly)
  if(NOT IS_DIRECTORY ${scratch}/home/.local/share/tessaly)
    message(FATAL_ERROR "the user's save folder was not made")
  endif()
endif()
file(REMOVE_RECURSE ${scratch})
