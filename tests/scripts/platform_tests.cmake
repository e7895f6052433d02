# The game binary as a user starts it: without a display, from another folder, installed.
add_test(NAME Platform.NoDisplayStopsWithGraphicInitError
  COMMAND ${CMAKE_COMMAND} -DCASE=no-display -DGAME=$<TARGET_FILE:tessaly>
          -DWORK=${CMAKE_BINARY_DIR} -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_platform.cmake)
add_test(NAME Platform.GameStartsFromAnotherFolder
  COMMAND ${CMAKE_COMMAND} -DCASE=another-folder -DGAME=$<TARGET_FILE:tessaly>
          -DWORK=${CMAKE_BINARY_DIR} -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_platform.cmake)
add_test(NAME Platform.InstallPutsGameDataDesktopEntryAndIcons
  COMMAND ${CMAKE_COMMAND} -DCASE=install -DGAME=$<TARGET_FILE:tessaly>
          -DWORK=${CMAKE_BINARY_DIR} -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_platform.cmake)
set_tests_properties(Platform.NoDisplayStopsWithGraphicInitError Platform.GameStartsFromAnotherFolder
  Platform.InstallPutsGameDataDesktopEntryAndIcons PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
