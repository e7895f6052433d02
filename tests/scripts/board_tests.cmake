# A turn on the board, driven through the real program by a key script.
add_test(NAME BoardScript.NewGameDieAndWalkOfFiveSquares
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/board_walk.keys
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_board_walk.cmake)
set_tests_properties(BoardScript.NewGameDieAndWalkOfFiveSquares PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")

# A computer player's own turn in the real program: an item, its banner, the die, the walk.
add_test(NAME BoardScript.ComputerPlayerHealsShowsTheBannerAndWalks
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/board_walk.keys
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_rival_heal.cmake)
set_tests_properties(BoardScript.ComputerPlayerHealsShowsTheBannerAndWalks PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
