# The title's scenes, driven through the real program by a key script.
add_test(NAME TitleScript.InstructionsThenQuitConfirmationEndsTheProgram
  COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
          -DKEYS=${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/title_tour.keys
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_title_tour.cmake)
set_tests_properties(TitleScript.InstructionsThenQuitConfirmationEndsTheProgram PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
