# A turn on the board, driven through the real program by a key script.
key_script_test(BoardScript.NewGameDieAndWalkOfFiveSquares check_board_walk.cmake
  KEYS board_walk.keys)

# A computer player's own turn in the real program: an item, its banner, the die, the walk.
key_script_test(BoardScript.ComputerPlayerHealsShowsTheBannerAndWalks check_rival_heal.cmake
  KEYS board_walk.keys)
