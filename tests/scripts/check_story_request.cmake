# The human player completes request 1 through the real program with the game's own story:
# the mayor's offer on square 8 taken, the fire stone (item 11) bought in the dwarves' shop on
# square 16, brought back and paid for, and the rockfall blasted. With -DSHOTS=DIR the
# pictures of docs/story are written there too; without, the run draws nothing, to stay quick.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
set(args)
if(NOT SHOTS)
  set(args --no-render)
endif()
key_script_run(NAME story-request TICKS 3545 DUMPS 886 1000 1751 1943 1960 1975 3306 3420 3540
  ARGS ${args}
  SHOTS 886:request_offer.png 1943:shop_fire_stone.png 3306:request_completed.png
        3420:rockfall_blasted.png 3533:road_opened.png)
set(human "player 10 character 0 computer 0 state")
set(figures "player 10 level [0-9]+ hp [0-9/]+ attack [0-9]+ defence [0-9]+")

expect(886 "${human} event_wait steps 0 cell 43 59 square 8\n" "five squares take the human to the mayor")
expect(886 "event square 8 script 3 state choice [^\n]* portrait 1 choice 0 "
  "the mayor offers request 1 as a choice, with his portrait")
expect(886 "event line 0 魔石を取ってきてくれんか？\nevent line 1 受ける\nevent line 2 ことわる\nevent labels accept decline"
  "accepting is the first option")
expect(1000 "stages 8:1 41:3\nrequest 1 taken 1 holder 0\n" "taken: the mayor waits at stage 1")
expect(1000 "player 10 team 1 target 11 " "the human holds request 1 and wants item 11")
expect(1751 "${human} die_spin [^\n]* square 8\n.*player 10 team 1 target 11 "
  "after the computer players' turns the human still holds it")
expect(1943 "${human} event_wait steps 0 cell 59 71 square 16\n" "six squares to the dwarves' shop")
expect(1943 "event square 16 script 16 state shop_wait [^\n]* portrait 9 " "the dwarf elder's shop")
expect(1943 "shop step buy_list menu 0 list 0 [^\n]* items 5\n" "five goods, the stone first")
expect(1960 "${figures} money 500 [^\n]* items 1 1 2 11 0 0 0 0\n" "the stone bought for 500")
expect(1975 "${human} turn_waiting [^\n]* square 16\n.*${figures} money 500 [^\n]* items 1 1 2 11 "
  "the shop closed, the turn ends with the stone carried")
expect(3306 "event square 8 script 4 state message [^\n]* portrait 1 .*event line 0 おお、ほのおの魔石じゃ！"
  "back at the mayor, who sees the stone")
expect(3306 "stages 8:2 41:3\nrequest 1 taken 0 holder -1\n" "the request is done and free; the mayor moves on")
expect(3306 "${figures} money 1500 experience 100 items 1 1 2 0 0 0 0 0\n"
  "the stone is handed over for 1000 money and 100 experience")
expect(3306 "player 10 team 0 target 0 " "the human holds no request any more")
expect(3420 "event square 8 script 4 state frame_wait [^\n]* window 0 [^\n]* pan 270 0 "
  "the camera went to the rockfall, the window put away")
expect(3540 "${human} turn_waiting [^\n]* square 8\n" "the event and the turn end")
expect(3540 "stages 8:2 41:3\n" "the mayor keeps his next stage")
