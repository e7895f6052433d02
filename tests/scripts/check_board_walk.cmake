# Title -> new game with character 2 -> a die of 5 -> five squares west and south from the
# start to the giver of request 1 -> the square's event -> the turn is over.
set(prefix ${WORK}/board-walk)
file(REMOVE ${prefix}-61.txt ${prefix}-100.txt ${prefix}-112.txt ${prefix}-175.txt ${prefix}-200.txt)
set(shots)
if(SHOTS)
  set(shots --shot 3:${SHOTS}/title.png --shot 28:${SHOTS}/select_wheel.png
            --shot 50:${SHOTS}/board_die.png --shot 140:${SHOTS}/board_walk.png)
endif()
execute_process(COMMAND ${RUNNER} --seed 1 --ticks 200 --keys ${KEYS}
  --dump 61:${prefix}-61.txt --dump 100:${prefix}-100.txt --dump 112:${prefix}-112.txt
  --dump 175:${prefix}-175.txt --dump 200:${prefix}-200.txt ${shots}
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "tessaly-run exited with ${rc}")
endif()
function(expect tick pattern what)
  file(READ ${prefix}-${tick}.txt text)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "tick ${tick}: ${what}:\n${text}")
  endif()
endfunction()
set(human "player 10 character 2 computer 0 state")
expect(61 "${human} choose_direction steps 5 cell 59 52 square 41\n"
  "the die stopped at 5 on the start square")
expect(61 "player 11 character 0 computer 1 state turn_waiting"
  "the computer players wait with the next characters")
expect(61 "slot 2 kind 1020.*slot 10 kind 1010.*slot 11 kind 1010.*slot 12 kind 1010.*slot 199 kind 1000"
  "the map, three players and the camera")
expect(100 "${human} walk steps 4 cell 55 57 square 0\n" "one square west, walking south")
expect(112 "${human} choose_direction steps 3 cell 55 59 square 49\n" "two squares")
expect(175 "${human} arrive steps 0 cell 43 59 square 8\n" "the fifth square, the giver of request 1")
expect(200 "${human} turn_waiting steps 1 cell 43 59 square 8\n" "the turn is over")
