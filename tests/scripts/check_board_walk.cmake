# Title -> new game with character 2 -> a die of 5 -> five squares west and south from the
# start to the giver of request 1 -> the square's event -> the turn is over.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
key_script_run(NAME board-walk TICKS 200 DUMPS 61 100 112 175 200 ARGS --events test-events/quiet.dat
  SHOTS 3:title.png 28:select_wheel.png 50:board_die.png 140:board_walk.png)
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
