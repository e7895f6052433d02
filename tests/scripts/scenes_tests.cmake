# The title's options and model viewer, and the field menu, driven through the real program
# by key scripts.
key_script_test(ScenesScript.OptionsThenModelViewerBackToTheTitle check_options_viewer.cmake
  KEYS options_viewer.keys)
key_script_test(ScenesScript.FieldMenuItemsOptionsSaveAndBackToTheTitle
  check_field_menu.cmake KEYS field_menu.keys)
