# The title's options and model viewer, driven through the real program by a key script.
add_test(NAME ScenesScript.OptionsThenModelViewerBackToTheTitle
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/options_viewer.keys
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_options_viewer.cmake)
set_tests_properties(ScenesScript.OptionsThenModelViewerBackToTheTitle PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
add_test(NAME ScenesScript.FieldMenuItemsOptionsSaveAndBackToTheTitle
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/field_menu.keys
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_field_menu.cmake)
set_tests_properties(ScenesScript.FieldMenuItemsOptionsSaveAndBackToTheTitle PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
