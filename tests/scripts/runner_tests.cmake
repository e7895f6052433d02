# The headless runner drives the real program for a number of ticks and dumps its tasks.
key_script_test(HeadlessRunner.DumpsLiveTasksAfterTicks check_dump.cmake)
