#pragma once
// A fingerprint of the running game, for exact replays and for comparing a loaded game
// with the game that went on.
//
// It covers every live task (slot, kind, flags, callbacks and its whole private record), the
// game-state record with its layers and event text, the random state and the key table.
// Addresses are not hashed as they stand, since they move from run to run: an address inside
// the program image (callbacks, step operations, tables) counts as its offset there, one
// into the task pool, a map layer or the event buffer as that block and offset, and any other
// address as one value "elsewhere". Nothing the game reads from the clock is kept in a task
// but the save menu's file dates, so the save menu's record is left out.
#include <cstdint>
#include <string>

namespace tessaly {

enum class HashScope {
    // Everything the game runs on.
    Whole,
    // What a save file carries over, with the random state and the key table that a loaded
    // game is given: the tasks and their callbacks, the players but their experience (not in
    // the file), the spinning die's face (a frame counter a load restarts), their timers
    // (computer wait, banner, healing), their members' step frames and the ranks the camera
    // works out every frame; the camera, the requests, the stages and the layers. The map's
    // water animation and the minimap switch are not part of a game.
    Saved,
};

uint64_t state_hash(HashScope scope = HashScope::Whole);

// The hash as 16 hex digits.
std::string state_hash_text(HashScope scope = HashScope::Whole);

}  // namespace tessaly
