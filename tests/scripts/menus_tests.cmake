# The board's menus and the save/load menu, driven through the real program by key scripts.
add_test(NAME MenusScript.PauseMenuLoadMenuAndQuitToTheTitle
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/pause_menu.keys
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_pause_menu.cmake)
set_tests_properties(MenusScript.PauseMenuLoadMenuAndQuitToTheTitle PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
add_test(NAME MenusScript.SavedGamesComeBackFromThePauseMenuAndTheTitle
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/save_load.keys
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_save_load.cmake)
set_tests_properties(MenusScript.SavedGamesComeBackFromThePauseMenuAndTheTitle PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
