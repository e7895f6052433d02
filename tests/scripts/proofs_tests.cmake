# Proofs that the whole game holds: exact replays, saves that carry the game over, and the
# runner's own player (autoplay) playing from a new game.
foreach(name replay save_carries)
  add_test(NAME Proof.${name}
    COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_${name}.cmake)
  set_tests_properties(Proof.${name} PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
endforeach()
