# The event compiler's command line: a refused folder names the file, the line and the
# reason, fails, and leaves the earlier pack in place; a good one writes the pack and its
# listing.
add_test(NAME EventCompilerTool.RefusesWithFileAndLineAndKeepsTheOldPack
  COMMAND ${CMAKE_COMMAND} -DEVC=$<TARGET_FILE:tessaly-evc> -DWORK=${CMAKE_BINARY_DIR}
          -DGLYPHS=${CMAKE_CURRENT_SOURCE_DIR}/content/glyphs/glyphs.tsv
          -DEVENTS=${CMAKE_CURRENT_SOURCE_DIR}/content/events
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_evc.cmake)
