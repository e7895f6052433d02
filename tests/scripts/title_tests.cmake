# The title's scenes, driven through the real program by a key script.
key_script_test(TitleScript.InstructionsThenQuitConfirmationEndsTheProgram
  check_title_tour.cmake KEYS title_tour.keys)
