set(out ${WORK}/runner-test-card.png)
file(REMOVE ${out})
execute_process(COMMAND ${RUNNER} --test-frame --ticks 3 --shot 2:${out}
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${out})
  message(FATAL_ERROR "tessaly-run --test-frame: status ${rc}, stderr: ${err}")
endif()
# A PNG of 640 x 480: the signature, then the header chunk's width and height.
file(READ ${out} head LIMIT 24 HEX)
if(NOT head MATCHES "^89504e470d0a1a0a0000000d4948445200000280000001e0$")
  message(FATAL_ERROR "not a 640 x 480 PNG: ${head}")
endif()
# A picture with sprites, meshes and spheres compresses to far more than a blank frame.
file(SIZE ${out} size)
if(size LESS 20000)
  message(FATAL_ERROR "test card PNG of ${size} bytes looks empty")
endif()
