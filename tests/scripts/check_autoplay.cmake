# The runner's player plays a new game with each of the three characters, rivals and battles
# on, from the title: it wins the four crests and the castle, and the end picture, the credits
# and the title follow within the tick budget (some 80,000 ticks today, about 22 minutes of
# play), with no turn stalled and no second game begun on the way.
include(${CMAKE_CURRENT_LIST_DIR}/proof_common.cmake)
set(budget 120000)
foreach(character 0 1 2)
  run_runner(out --seed 21 --autoplay --character ${character} --no-render --until-title
    --ticks ${budget})
  message(STATUS "character ${character}:\n${out}")
  figure("${out}" "new_games" games)
  figure("${out}" "stalled" stalled)
  figure("${out}" "end_picture" end_picture)
  figure("${out}" "credits" credits)
  figure("${out}" "title" title)
  if(NOT games EQUAL 1 OR NOT stalled EQUAL 0)
    message(FATAL_ERROR "character ${character}: ${games} new games, stalled at ${stalled}")
  endif()
  if(end_picture EQUAL 0 OR credits EQUAL 0 OR title EQUAL 0)
    message(FATAL_ERROR "character ${character} did not reach the end within ${budget} ticks "
      "(end picture ${end_picture}, credits ${credits}, title ${title}):\n${out}")
  endif()
  if(NOT (end_picture LESS credits AND credits LESS title))
    message(FATAL_ERROR "character ${character}: the ending out of order:\n${out}")
  endif()
  # The crests are the human player's own: five set battles at least won (four guardians
  # and the castle); a lost one would have ended the game and begun a second.
  if(NOT out MATCHES "autoplay battles won ([0-9]+)")
    message(FATAL_ERROR "no battles:\n${out}")
  endif()
  if(CMAKE_MATCH_1 LESS 5)
    message(FATAL_ERROR "character ${character}: only ${CMAKE_MATCH_1} battles won:\n${out}")
  endif()
  if(NOT out MATCHES "autoplay turns ([0-9]+) ([0-9]+) ([0-9]+)")
    message(FATAL_ERROR "no turns:\n${out}")
  endif()
  foreach(turns ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3})
    if(turns LESS 25)
      message(FATAL_ERROR "character ${character}: a player took only ${turns} turns:\n${out}")
    endif()
  endforeach()
endforeach()
