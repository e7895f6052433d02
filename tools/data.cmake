# Further data files built next to data.dat: the board (mappack.dat) from its text map.
add_executable(tessaly-mapc tools/mapc/mapc.cpp)
set(TESSALY_BOARD_TEXT ${CMAKE_CURRENT_SOURCE_DIR}/content/board/board.txt)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/mappack.dat
  COMMAND tessaly-mapc ${TESSALY_BOARD_TEXT} ${CMAKE_BINARY_DIR}/mappack.dat
  DEPENDS tessaly-mapc ${TESSALY_BOARD_TEXT}
  COMMENT "Compiling the board into mappack.dat")
add_custom_target(board_data ALL DEPENDS ${CMAKE_BINARY_DIR}/mappack.dat)
# Everything that depends on the game data (the tests among it) finds the board too.
add_dependencies(game_data board_data)

# The event scripts (epack.dat) from content/events.
include(${CMAKE_CURRENT_LIST_DIR}/evc/events.cmake)
tessaly_compile_events(event_data OUTPUT ${CMAKE_BINARY_DIR}/epack.dat
                       SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/content/events)
