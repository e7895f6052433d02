# Proofs that the whole game holds: exact replays, saves that carry the game over, the
# runner's own player (autoplay) playing from a new game with each character, and a long soak.
function(proof name)
  add_test(NAME Proof.${name}
    COMMAND ${CMAKE_COMMAND} -DRUNNER=$<TARGET_FILE:tessaly-run> -DWORK=${CMAKE_BINARY_DIR}
            ${ARGN} -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/scripts/check_${name}.cmake)
  set_tests_properties(Proof.${name} PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy" TIMEOUT 1800)
endfunction()
proof(replay)
proof(save_carries)
proof(autoplay)
proof(soak)
