# A long soak: 100,000 ticks of the runner's player with rivals and battles on, the updates
# alone (drawing changes nothing in the game, as the replay proof shows, and the graphics
# driver's own caches grow over its first few thousand frames). The player finishes a game,
# goes through the credits to the title and starts the next; every turn ends and the
# resident size stays flat. Under the sanitizer build any report ends the run with a failure.
include(${CMAKE_CURRENT_LIST_DIR}/proof_common.cmake)
run_runner(out --seed 4 --autoplay --character 0 --no-render --ticks 100000)
message(STATUS "${out}")
figure("${out}" "stalled" stalled)
figure("${out}" "longest_turn" longest)
if(NOT stalled EQUAL 0 OR longest EQUAL 0)
  message(FATAL_ERROR "a turn did not end (stalled at ${stalled}, longest ${longest}):\n${out}")
endif()
figure("${out}" "endings" endings)
figure("${out}" "new_games" games)
if(endings LESS 1 OR games LESS 2)
  message(FATAL_ERROR "no whole game and a next one in the soak:\n${out}")
endif()
if(NOT out MATCHES "resident_kb start ([0-9]+) warm ([0-9]+) end ([0-9]+)")
  message(FATAL_ERROR "no memory figures:\n${out}")
endif()
math(EXPR growth "${CMAKE_MATCH_3} - ${CMAKE_MATCH_2}")
if(growth GREATER 2048)
  message(FATAL_ERROR "resident size grew by ${growth} kB after the warm-up:\n${out}")
endif()
