# The title's quit path, driven through the real program by a key script.
add_test(NAME TitleScript.QuitConfirmationEndsTheProgram
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/title_quit.keys
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_title_quit.cmake)
set_tests_properties(TitleScript.QuitConfirmationEndsTheProgram PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
