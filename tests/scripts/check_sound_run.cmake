set(out ${WORK}/runner-sound-dump.txt)
file(REMOVE ${out})
set(ENV{SDL_AUDIODRIVER} dummy)
execute_process(COMMAND ${RUNNER} --seed 3 --ticks 60 --dump 60:${out}
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR err MATCHES "sound init error")
  message(FATAL_ERROR "dummy driver: status ${rc}, stderr: ${err}")
endif()
file(READ ${out} text)
if(NOT text MATCHES "\nsound music (none|14|15|16)\n")
  message(FATAL_ERROR "no sound line in the dump:\n${text}")
endif()
# A driver that does not exist: "sound init error" and a failure status.
set(ENV{SDL_AUDIODRIVER} no-such-driver)
execute_process(COMMAND ${RUNNER} --ticks 5 WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "error: sound init error")
  message(FATAL_ERROR "missing driver: status ${rc}, stderr: ${err}")
endif()
