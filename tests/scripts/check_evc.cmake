set(dir ${WORK}/evc-tool-test)
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir}/bad)
file(WRITE ${dir}/bad/05_bad.ev "window on\nmessage\n> 犬\nwait\n")
file(WRITE ${dir}/epack.dat "old pack")
execute_process(COMMAND ${EVC} --glyphs ${GLYPHS} --fill-empty ${dir}/epack.dat ${dir}/bad
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "05_bad.ev:3: not in the glyph table: '犬'"
   OR NOT err MATCHES "05_bad.ev:4: wait takes 1 argument")
  message(FATAL_ERROR "refused folder: status ${rc}, stderr:\n${err}")
endif()
file(READ ${dir}/epack.dat kept)
if(NOT kept STREQUAL "old pack")
  message(FATAL_ERROR "a refused pack replaced the old one")
endif()
# Without --fill-empty the missing scripts are refused too.
execute_process(COMMAND ${EVC} --glyphs ${GLYPHS} ${dir}/epack.dat ${dir}/bad
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "no script 0 ")
  message(FATAL_ERROR "missing scripts: status ${rc}, stderr:\n${err}")
endif()

execute_process(COMMAND ${EVC} --glyphs ${GLYPHS} --listing ${dir}/listing.txt
  ${dir}/epack.dat ${EVENTS} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "39 scripts")
  message(FATAL_ERROR "content: status ${rc}, stdout ${out}, stderr:\n${err}")
endif()
file(STRINGS ${dir}/listing.txt lines)
list(LENGTH lines count)
file(SIZE ${dir}/epack.dat size)
if(NOT count EQUAL 39 OR size LESS 100)
  message(FATAL_ERROR "listing of ${count} lines, pack of ${size} bytes")
endif()
file(REMOVE_RECURSE ${dir})
