# The renderer's test card, rendered by the headless runner and written as a PNG.
add_test(NAME HeadlessRunner.RendersTheTestCard
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_test_card.cmake)
set_tests_properties(HeadlessRunner.RendersTheTestCard PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
# The frame benchmark runs through every scene for a few ticks in both drawing modes.
add_test(NAME Bench.FrameRunsEveryScene COMMAND bench-frame --ticks 20
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(Bench.FrameRunsEveryScene PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy"
  PASS_REGULAR_EXPRESSION "battle\n.*batched / reference")
# Batched drawing gives the very picture of one draw per fan and per subset: the title, the
# character select, and the board walking with the minimap on and the water moving.
add_test(NAME HeadlessRunner.BatchedFramesMatchReferenceDrawing
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/board_walk.keys -DNAME=board
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_reference_frames.cmake)
set_tests_properties(HeadlessRunner.BatchedFramesMatchReferenceDrawing PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
# The same for a battle: the duel's screens and the stage acting out the blows.
add_test(NAME HeadlessRunner.BattleFramesMatchReferenceDrawing
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/battle_win.keys -DNAME=battle
          "-DARGS=--battle;set:12" "-DTICKS=60;220;320;460;580"
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_reference_frames.cmake)
set_tests_properties(HeadlessRunner.BattleFramesMatchReferenceDrawing PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
