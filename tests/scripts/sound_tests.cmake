# The headless runner starts sound on SDL's dummy driver; a driver that cannot open stops it.
add_test(NAME HeadlessRunner.SoundStartsOnTheDummyDriver
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_sound_run.cmake)
set_tests_properties(HeadlessRunner.SoundStartsOnTheDummyDriver PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen")
