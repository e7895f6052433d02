# Shared by the proofs: running the runner and reading its hash lines.
function(run_runner out)
  execute_process(COMMAND ${RUNNER} ${ARGN} WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "tessaly-run ${ARGN} exited with ${rc}:\n${err}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The "hash TICK WHOLE SAVED" lines of a run's output.
function(hash_lines text out)
  string(REGEX MATCHALL "hash [0-9]+ [0-9a-f]+ [0-9a-f]+" lines "${text}")
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# The value of "autoplay ... NAME N" in a run's output.
function(figure text name out)
  if(NOT text MATCHES "${name} ([0-9]+)")
    message(FATAL_ERROR "no ${name} in:\n${text}")
  endif()
  set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()
