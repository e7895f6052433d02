# A computer player completes a request on the game's own board and story: seed 3, the
# runner's player playing the human (Leon's party). The dumps every 100 ticks must show, in
# this order, the third player (Gald's party) holding request 1 on its giver's square 8, then
# on the dwarves' shop square 16 with the fire stone (item 11) it takes there for free, then
# back on square 8 with the request freed, the stone handed over and the reward paid.
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
set(budget 15000)
set(ticks)
foreach(t RANGE 100 ${budget} 100)
  list(APPEND ticks ${t})
endforeach()
key_script_run(NAME story-rival SEED 3 TICKS ${budget} DUMPS ${ticks}
  ARGS --autoplay --character 0 --no-render)

set(rival "player 12 character 2 computer 1 state [a-z_]+ steps [0-9]+ cell [0-9]+ [0-9]+ square")
set(rival_goods "player 12 level [0-9]+ hp [0-9/]+ attack [0-9]+ defence [0-9]+")
set(phases
  "request 1 taken 1 holder 2\n.*${rival} 8\n.*player 12 team 1 target 11 route [4-7] "
  "request 1 taken 1 holder 2\n.*${rival} 16\n${rival_goods} money 1000 experience 0 items 1 1 2 11 0 0 0 0\nplayer 12 team 1 target 0 "
  "request 1 taken 0 holder -1\n.*${rival} 8\n${rival_goods} money 2000 experience 100 items 1 1 2 0 0 0 0 0\nplayer 12 team 0 ")
set(what
  "the computer player takes request 1 from the mayor and one of its routes 4..7"
  "it walks its route to the dwarves' shop and takes the stone there for free"
  "it brings the stone back to the mayor and is paid 1000 and 100 experience")
set(phase 0)
set(seen)
foreach(t ${ticks})
  key_script_dump(${t} text)
  list(GET phases ${phase} pattern)
  if(text MATCHES "${pattern}")
    list(APPEND seen "${t}")
    math(EXPR phase "${phase} + 1")
    list(LENGTH phases count)
    if(phase EQUAL count)
      break()
    endif()
  endif()
endforeach()
list(LENGTH phases count)
if(NOT phase EQUAL count)
  list(GET what ${phase} missing)
  message(FATAL_ERROR "not seen within ${budget} ticks (after ticks ${seen}): ${missing}")
endif()
message(STATUS "seen at ticks ${seen}")
