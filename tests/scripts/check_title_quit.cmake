# Title -> quit entry -> second choice: the program ends at the end of tick 20 with status 0.
set(before ${WORK}/title-quit-before.txt)
set(after ${WORK}/title-quit-after.txt)
file(REMOVE ${before} ${after})
execute_process(COMMAND ${RUNNER} --seed 1 --ticks 300 --keys ${KEYS}
  --dump 19:${before} --dump 21:${after}
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "tessaly-run exited with ${rc}")
endif()
file(READ ${before} text)
if(NOT text MATCHES "slot 902 kind 2020" OR text MATCHES "kind 2000")
  message(FATAL_ERROR "the quit confirmation should stand alone at tick 19:\n${text}")
endif()
if(EXISTS ${after})
  message(FATAL_ERROR "the program ran on after quitting")
endif()
