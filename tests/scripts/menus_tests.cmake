# The board's menus and the save/load menu, driven through the real program by key scripts.
key_script_test(MenusScript.PauseMenuLoadMenuAndQuitToTheTitle check_pause_menu.cmake
  KEYS pause_menu.keys)
key_script_test(MenusScript.SavedGamesComeBackFromThePauseMenuAndTheTitle
  check_save_load.cmake KEYS save_load.keys)
key_script_test(MenusScript.ShopBuysTwiceRefusesAThirdAndLeaves check_shop.cmake KEYS shop.keys)
