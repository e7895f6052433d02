#pragma once
// Route hints: the arrows around a player that show which destination each corridor
// leads to.

namespace tessaly {

struct PlayerRecord;

// Fills the player's four route hints (-1 = no hint).
void route_hints_compute(PlayerRecord& p);

}  // namespace tessaly
