set(out ${WORK}/runner-dump-test.txt)
file(REMOVE ${out})
execute_process(COMMAND ${RUNNER} --seed 7 --ticks 120 --dump 120:${out}
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "tessaly-run exited with ${rc}")
endif()
file(READ ${out} text)
if(NOT text MATCHES "^tick 120\n" OR NOT text MATCHES "slot 901 kind 2000 update 1 draw 1")
  message(FATAL_ERROR "unexpected dump:\n${text}")
endif()
# Without data.dat the runner stops with the start-up message and a failure status.
file(MAKE_DIRECTORY ${WORK}/runner-empty)
execute_process(COMMAND ${RUNNER} --ticks 5 WORKING_DIRECTORY ${WORK}/runner-empty
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "error: data load failed")
  message(FATAL_ERROR "missing data.dat: status ${rc}, stderr: ${err}")
endif()
