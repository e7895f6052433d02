# The headless runner starts sound on SDL's dummy driver; a driver that cannot open stops it.
key_script_test(HeadlessRunner.SoundStartsOnTheDummyDriver check_sound_run.cmake)
