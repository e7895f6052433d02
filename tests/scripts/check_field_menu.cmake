# The field menu and the scenes it opens, through the real program.
# With -DSHOTS=DIR the frames of docs/menus are written there too.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
set(saves ${WORK}/field-menu-saves)
file(REMOVE_RECURSE ${saves})
file(MAKE_DIRECTORY ${saves})
key_script_run(NAME field-menu TICKS 210
  DUMPS 49 52 62 76 88 92 108 122 130 145 155 162 172 188 202
  ARGS --saves ${saves} --events test-events/quiet.dat
  SHOTS 53:field_menu.png 70:item_scene.png 83:item_use_confirm.png
        115:field_menu_options.png 130:field_menu_request.png 145:field_menu_save.png
        188:field_menu_title_confirm.png)
expect(49 "player 10 [^\n]* state die_spin" "the human spins its die")
expect_not(49 "slot 909 " "no field menu before Shift")
expect(52 "slot 909 kind 0 update 1" "Shift opened the field menu")
expect(52 "slot 10 kind 1010 update 0 draw 1" "the board is frozen under it")
expect(62 "slot 913 kind 2060" "the item scene is open")
expect(88 "slot 913 kind 2060" "the item scene stays after an item was used")
expect_not(92 "slot 913 " "Esc closed the item scene")
expect(92 "slot 909 kind 0" "the field menu is still open")
expect(108 "slot 912 kind 2010" "the options are open over the field menu")
expect(108 "slot 909 kind 0" "the field menu waits underneath")
expect_not(122 "slot 912 " "the options have closed")
expect(122 "slot 10 kind 1010 update 0" "the board stays frozen after the options")
expect(145 "slot 910 kind 2050" "the save menu is open over the field menu")
expect_not(155 "slot 910 " "Esc closed the save menu")
expect(155 "slot 909 kind 0" "the field menu is back")
expect_not(162 "slot 909 " "Esc closed the field menu")
expect(162 "slot 10 kind 1010 update 1 draw 1" "the board runs again")
expect(172 "slot 909 kind 0" "Shift opened the field menu again")
expect(188 "slot 909 kind 0" "Esc is not read in the title confirmation")
expect(202 "slot 901 kind 2000" "yes in the confirmation opens the title")
expect_not(202 "slot 909 |kind 1010" "nothing of the board is left")
