# One battle through the real program, started by the runner in place of the title:
# ARGS are the runner's battle arguments, KEYS an optional key script; the dump after
# TICKS must match every regular expression of EXPECT and none of REFUSE.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
separate_arguments(args UNIX_COMMAND "${ARGS}")
key_script_run(NAME battle-${NAME} TICKS ${TICKS} DUMPS ${TICKS} ARGS ${args})
foreach(re IN LISTS EXPECT)
  expect(${TICKS} "${re}" "no match for '${re}'")
endforeach()
foreach(re IN LISTS REFUSE)
  expect_not(${TICKS} "${re}" "unexpected '${re}'")
endforeach()
