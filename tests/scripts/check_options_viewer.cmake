# Title -> options -> title -> model viewer -> title, through the real program.
# With -DSHOTS=DIR the frames of docs/menus are written there too.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
key_script_run(NAME options-viewer TICKS 260 DUMPS 40 46 60 100 251
  SHOTS 41:options.png 87:model_viewer_turn.png 240:model_viewer.png)
expect(40 "slot 912 kind 2010" "the options are open")
expect_not(40 "kind 2000" "the options stand alone")
expect(46 "slot 901 kind 2000" "confirming the options brings back the title")
expect_not(46 "kind 2010" "the options have closed")
expect(60 "slot 905 kind 2920" "the model viewer is open")
expect_not(60 "kind 2000" "the model viewer stands alone")
expect(100 "slot 905 kind 2920" "the viewer stays open while the ring is left alone")
expect(251 "slot 901 kind 2000" "Esc brings back the title")
expect_not(251 "kind 2920" "the viewer has closed")
