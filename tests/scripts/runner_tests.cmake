# The headless runner drives the real program for a number of ticks and dumps its tasks.
add_test(NAME HeadlessRunner.DumpsLiveTasksAfterTicks
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_dump.cmake)
set_tests_properties(HeadlessRunner.DumpsLiveTasksAfterTicks PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
