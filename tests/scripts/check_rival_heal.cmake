# The first turn of board_walk.keys, then the first computer player's turn, which starts
# with 20 hit points (--rivals-hp): it heals with an item a point a frame, shows the item
# banner, spins its die and walks. The human's route hints are drawn while it chooses
# (the frame of tick 62 is drawn before that tick's keys are read).
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
key_script_run(NAME rival-heal TICKS 760 DUMPS 61 400 500 760 ARGS --rivals-hp 20 --events test-events/quiet.dat
  SHOTS 62:route_hints.png 500:cpu_item_banner.png)
expect(61 "player 10 character 2 computer 0 state choose_direction" "the human chooses a way")
expect(400 "player 11 character 0 computer 1 state cpu_heal" "the rival heals")
expect(500 "player 11 character 0 computer 1 state cpu_banner" "the item banner is up")
expect(760 "player 11 character 0 computer 1 state turn_waiting"
  "the rival's turn has ended")
