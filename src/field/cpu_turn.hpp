#pragma once
// The computer players' turn states; other code compares a player's state with these.

namespace tessaly {

struct PlayerRecord;

void cpu_turn_start(PlayerRecord& p);

}  // namespace tessaly
