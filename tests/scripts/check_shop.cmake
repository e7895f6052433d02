# The shop through the real program: test script 11 opens it on the first square with
# 1000 money; the key script buys item 11 twice, is refused a third time and leaves.
# With -DSHOTS=DIR the frames of docs/menus are written there too.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
key_script_run(NAME shop TICKS 64 DUMPS 4 10 16 19 28 37 40 43 52 58 62
  ARGS --events test-events/runner.dat --event 11
  SHOTS 22:shop_buy_list.png 38:shop_refused.png)
set(human "player 10 level [0-9]+ hp [0-9/]+ attack [0-9]+ defence [0-9]+")
expect(4 "shop step menu menu 0 list 0 choice 0 refusal 0 items 3" "the shop opens on its menu")
expect(4 "${human} money 1000 [^\n]* items 1 1 2 0 0 0 0 0" "the human starts with 1000")
expect(10 "shop step buy_list menu 0 list 2 " "Down twice reaches the third item")
expect(16 "shop step buy_confirm [^\n]* choice 1 " "Down moves the confirmation to yes")
expect(19 "shop step buy_list " "the purchase goes back to the buy list")
expect(19 "${human} money 500 [^\n]* items 1 1 2 11 0 0 0 0" "item 11 in the first empty slot for 500")
expect(28 "${human} money 0 [^\n]* items 1 1 2 11 11 0 0 0" "the second item 11 takes the next slot")
expect(37 "shop step buy_refused [^\n]* refusal 1 " "a third is refused for money")
expect(37 "${human} money 0 [^\n]* items 1 1 2 11 11 0 0 0" "the refusal takes nothing")
expect(40 "shop step buy_list " "Enter leaves the refusal")
expect(43 "shop step menu menu 0 " "Esc goes back to the menu")
expect(52 "shop step leave_confirm menu 2 " "the third line asks whether to leave")
expect_not(58 "slot 911 |shop step" "yes closes the shop")
expect(62 "player 10 character 0 computer 0 state turn_waiting" "the event and the turn end")
expect(62 "${human} money 0 [^\n]* items 1 1 2 11 11 0 0 0" "the goods stay bought")
