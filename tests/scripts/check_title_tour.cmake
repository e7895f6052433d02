# Title -> instructions -> title -> quit confirmation -> the program ends at the end of tick 60
# with status 0. With -DSHOTS=DIR the frames of docs/title are written there too.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
key_script_run(NAME title-tour TICKS 300 DUMPS 15 25 35 50 59 61
  SHOTS 15:instructions_1.png 25:instructions_2.png 58:quit_confirm.png)
expect(15 "slot 904 kind 2910" "the instructions are open")
expect_not(15 "kind 2000" "the instructions stand alone")
expect(35 "slot 901 kind 2000" "confirming the instructions returns to the title")
expect_not(35 "kind 2910" "the instructions have ended")
expect(50 "slot 902 kind 2020" "the quit confirmation is open")
expect_not(50 "kind 2000" "the quit confirmation stands alone")
expect(59 "slot 902 kind 2020" "the program runs until the second choice is confirmed")
expect_ended_before(61 "the program ran on after quitting")
