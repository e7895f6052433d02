# Shared by the checks that drive the real program with a key script (cmake -P). The caller
# passes RUNNER (tessaly-run), WORK (the build folder, where the data files are), KEYS (the
# key script, if any) and, to write the pictures of docs/ as well, SHOTS (a folder).

# key_script_run(NAME name TICKS n [SEED s] [DUMPS tick...] [SHOTS tick:file.png...]
#                [ARGS flag...])
# Runs the program for TICKS ticks and writes a dump after each tick of DUMPS to
# WORK/NAME-TICK.txt (old ones removed first); SHOTS are written under the SHOTS folder only
# when one was given. A run that does not end with status 0 fails the check.
function(key_script_run)
  cmake_parse_arguments(K "" "NAME;TICKS;SEED" "DUMPS;SHOTS;ARGS" ${ARGN})
  if(NOT K_SEED)
    set(K_SEED 1)
  endif()
  set(prefix ${WORK}/${K_NAME})
  set(args --seed ${K_SEED} --ticks ${K_TICKS} ${K_ARGS})
  if(KEYS)
    list(APPEND args --keys ${KEYS})
  endif()
  foreach(t ${K_DUMPS})
    file(REMOVE ${prefix}-${t}.txt)
    list(APPEND args --dump ${t}:${prefix}-${t}.txt)
  endforeach()
  if(SHOTS)
    foreach(s ${K_SHOTS})
      string(REPLACE ":" ":${SHOTS}/" s "${s}")
      list(APPEND args --shot ${s})
    endforeach()
  endif()
  execute_process(COMMAND ${RUNNER} ${args} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc
    ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "tessaly-run exited with ${rc}:\n${err}")
  endif()
  set(KEY_SCRIPT_PREFIX ${prefix} PARENT_SCOPE)
endfunction()

# The dump of a tick of the last run, or a failure when the run wrote none.
function(key_script_dump tick out)
  if(NOT EXISTS ${KEY_SCRIPT_PREFIX}-${tick}.txt)
    message(FATAL_ERROR "tick ${tick}: no dump was written")
  endif()
  file(READ ${KEY_SCRIPT_PREFIX}-${tick}.txt text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The dump of tick must match the regular expression; what says what that means.
function(expect tick pattern what)
  key_script_dump(${tick} text)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "tick ${tick}: ${what}:\n${text}")
  endif()
endfunction()

function(expect_not tick pattern what)
  key_script_dump(${tick} text)
  if(text MATCHES "${pattern}")
    message(FATAL_ERROR "tick ${tick}: ${what}:\n${text}")
  endif()
endfunction()

# The program had ended before tick: it wrote no dump there.
function(expect_ended_before tick what)
  if(EXISTS ${KEY_SCRIPT_PREFIX}-${tick}.txt)
    message(FATAL_ERROR "tick ${tick}: ${what}")
  endif()
endfunction()
