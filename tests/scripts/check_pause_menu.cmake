# Board -> pause menu -> load menu over the board -> resume -> pause menu -> quit to the title
# -> the title's load menu -> a failed load of an empty slot -> back to the title.
# With -DSHOTS=DIR the frames of docs/menus are written there too.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
set(saves ${WORK}/pause-menu-saves)
file(REMOVE_RECURSE ${saves})
file(MAKE_DIRECTORY ${saves})
key_script_run(NAME pause-menu TICKS 200 DUMPS 65 75 90 97 115 130 150 175 185 200
  ARGS --saves ${saves} --events test-events/quiet.dat
  SHOTS 75:pause_menu.png 90:pause_load_menu.png 115:pause_quit_confirm.png
        150:title_load_menu.png 175:load_failed.png)
expect(65 "player 10 character 0 computer 0 state choose_direction" "the die has stopped")
expect(75 "slot 10 kind 1010 update 0 draw 1.*slot 998 kind 1520 update 1" "Shift froze the board under the pause menu")
expect(90 "slot 10 kind 1010 update 0.*slot 910 kind 2050 update 1" "the load menu over the frozen board")
expect_not(90 "kind 1520" "the pause menu has closed")
expect(97 "slot 10 kind 1010 update 1" "Esc resumed the board")
expect_not(97 "kind 2050" "the load menu has closed")
expect(115 "slot 998 kind 1520" "the confirmation list is the pause menu's")
expect(130 "slot 901 kind 2000" "yes went back to the title")
expect_not(130 "kind 1010" "the board has ended")
expect(150 "^tick 150\nslot 910 kind 2050 update 1 draw 1\n" "the title's load menu stands alone")
expect(175 "slot 910 kind 2050" "an empty slot does not load")
expect_not(175 "kind 1010" "an empty slot does not load")
expect(200 "slot 901 kind 2000" "Esc went back to the title")
expect_not(200 "kind 2050" "the load menu has closed")
