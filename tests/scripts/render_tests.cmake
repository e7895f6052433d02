# The renderer's test card, rendered by the headless runner and written as a PNG.
add_test(NAME HeadlessRunner.RendersTheTestCard
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_test_card.cmake)
set_tests_properties(HeadlessRunner.RendersTheTestCard PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
