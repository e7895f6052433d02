# The runner's dump of the title after 120 ticks; without data.dat the runner stops with the
# start-up message and a failure status.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
key_script_run(NAME runner-dump SEED 7 TICKS 120 DUMPS 120)
expect(120 "^tick 120\n" "the dump starts with its tick")
expect(120 "slot 901 kind 2000 update 1 draw 1" "the title runs")
expect(120 "\nstages none\nrequest 1 taken 0 holder -1\nrequest 2 taken 0 holder -1\nrequest 3 taken 0 holder -1\nsettings 1 1 1 1 1 1 1 1 1 1 1\n"
  "the game state before any game")
file(MAKE_DIRECTORY ${WORK}/runner-empty)
execute_process(COMMAND ${RUNNER} --ticks 5 WORKING_DIRECTORY ${WORK}/runner-empty
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "error: data load failed")
  message(FATAL_ERROR "missing data.dat: status ${rc}, stderr: ${err}")
endif()
