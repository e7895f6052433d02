# The first turn of board_walk.keys, then the first computer player's turn, which starts
# with 20 hit points (--rivals-hp): it heals with an item a point a frame, shows the item
# banner, spins its die and walks. The human's route hints are drawn while it chooses
# (the frame of tick 62 is drawn before that tick's keys are read).
set(prefix ${WORK}/rival-heal)
file(REMOVE ${prefix}-61.txt ${prefix}-400.txt ${prefix}-500.txt ${prefix}-760.txt)
set(shots)
if(SHOTS)
  set(shots --shot 62:${SHOTS}/route_hints.png --shot 500:${SHOTS}/cpu_item_banner.png)
endif()
execute_process(COMMAND ${RUNNER} --seed 1 --ticks 760 --keys ${KEYS} --rivals-hp 20
  --dump 61:${prefix}-61.txt --dump 400:${prefix}-400.txt --dump 500:${prefix}-500.txt
  --dump 760:${prefix}-760.txt ${shots}
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
expect(61 "player 10 character 2 computer 0 state choose_direction" "the human chooses a way")
expect(400 "player 11 character 0 computer 1 state cpu_heal" "the rival heals")
expect(500 "player 11 character 0 computer 1 state cpu_banner" "the item banner is up")
expect(760 "player 11 character 0 computer 1 state turn_waiting"
  "the rival's turn has ended")
