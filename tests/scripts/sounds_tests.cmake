# The sound generator, run again, gives the committed files byte for byte, and data.dat packed
# from them is the one the build made. Needs Debian's python3 (standard library only).
find_program(TESSALY_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(TESSALY_PYTHON3 python3)
if(TESSALY_PYTHON3)
  add_test(NAME SoundContent.RegeneratedSoundsRebuildTheSamePack
    COMMAND ${CMAKE_COMMAND} -DPYTHON=${TESSALY_PYTHON3} -DSOURCE=${CMAKE_CURRENT_SOURCE_DIR}
            -DWORK=${CMAKE_BINARY_DIR} -DPACKER=$<TARGET_FILE:tessaly-pack>
            -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_sounds.cmake)
  set_tests_properties(SoundContent.RegeneratedSoundsRebuildTheSamePack PROPERTIES TIMEOUT 600)
endif()
