#pragma once
// The game's one random number generator: the C runtime's rand(), so a fixed seed replays
// the same dice, rows and foes.
#include <cstdint>

namespace tessaly {

void random_seed(uint32_t seed);
// The runtime's rand() modulo n: state = state * 214013 + 2531011, result (state >> 16) & 0x7FFF;
// 0 when n is not positive.
int32_t random_below(int32_t n);
// The generator's state: what random_seed would set to go on from here.
uint32_t random_state();

}  // namespace tessaly
