#pragma once
// A fresh game around the chosen character.
#include <cstdint>

namespace tessaly {

// Ends every task, reads the board and the scripts again and puts the three players on
// the board, the human one with character_id (0..2), starting square 41's opening event.
// A board that is missing, damaged or has no square shows "data load failed" and opens the
// title instead.
void new_game(int32_t character_id);

}  // namespace tessaly
