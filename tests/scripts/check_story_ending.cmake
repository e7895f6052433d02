# The story's ending on the game's own board: seed 21, the runner's player playing Leon's
# party. The dumps every 50 ticks must show, in this order, the ice queen Selna's set battle
# in the water garden (square 20) begun by answering her choice with its second option, the
# last battle in the Shadow King's castle (square 27), the end picture fully shown and the
# credits rolling. With -DSHOTS=DIR the pictures of docs/story are written there too, each by
# a run of its own that draws only that tick (the ticks belong to this seed's game).
include(${CMAKE_CURRENT_LIST_DIR}/key_script.cmake)
set(budget 79000)
set(ticks)
foreach(t RANGE 50 ${budget} 50)
  list(APPEND ticks ${t})
endforeach()
key_script_run(NAME story-ending SEED 21 TICKS ${budget} DUMPS ${ticks}
  ARGS --autoplay --character 0 --no-render)
set(phases
  "event square 20 script 10 state battle_wait [^\n]* choice 1 .*battle step "
  "event square 27 script 17 state battle_wait [^\n]* choice 1 .*battle step "
  "end picture alpha 255"
  "credits step roll ")
set(what
  "Selna's set battle, taken with the choice's second option"
  "the last battle in the Shadow King's castle"
  "the end picture, fully shown"
  "the credits rolling")
set(phase 0)
set(seen)
list(LENGTH phases count)
foreach(t ${ticks})
  key_script_dump(${t} text)
  list(GET phases ${phase} pattern)
  if(text MATCHES "${pattern}")
    list(APPEND seen "${t}")
    math(EXPR phase "${phase} + 1")
    if(phase EQUAL count)
      break()
    endif()
  endif()
endforeach()
if(NOT phase EQUAL count)
  list(GET what ${phase} missing)
  message(FATAL_ERROR "not seen within ${budget} ticks (after ticks ${seen}): ${missing}")
endif()
message(STATUS "seen at ticks ${seen}")

if(SHOTS)
  foreach(shot 64354:garden_selna_choice.png 64372:battle_selna_start.png
               73151:castle_shadow_king.png 73185:battle_last_start.png
               76290:ending_princess.png 76400:end_picture.png 78000:credits.png)
    string(REPLACE ":" ";" parts ${shot})
    list(GET parts 0 tick)
    list(GET parts 1 file)
    execute_process(COMMAND ${RUNNER} --seed 21 --ticks ${tick} --autoplay --character 0
      --render-every ${tick} --shot ${tick}:${SHOTS}/${file}
      WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "tessaly-run exited with ${rc} for ${file}")
    endif()
  endforeach()
endif()
