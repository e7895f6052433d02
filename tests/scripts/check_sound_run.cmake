# The runner starts sound on SDL's dummy driver and its dump tells the music that plays.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
set(ENV{SDL_AUDIODRIVER} dummy)
key_script_run(NAME runner-sound SEED 3 TICKS 60 DUMPS 60)
expect(60 "\nsound music (none|14|15|16)\n" "no sound line in the dump")
# A driver that does not exist: "sound init error" and a failure status.
set(ENV{SDL_AUDIODRIVER} no-such-driver)
execute_process(COMMAND ${RUNNER} --ticks 5 WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "error: sound init error")
  message(FATAL_ERROR "missing driver: status ${rc}, stderr: ${err}")
endif()
