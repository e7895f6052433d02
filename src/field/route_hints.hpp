#pragma once
// Route hints: the arrows laid around a player that show which destination (terrain 1..4)
// the corridor leaving it in each direction leads to.
#include <cstdint>

namespace tessaly {

struct PlayerRecord;

// Hint values 4 * destination + direction + 5 (9..24) name the arrow's texture slot.
constexpr int32_t kHintNone = -1;
constexpr int kHintFirst = 9;
constexpr int kHintLast = 24;

// Fills the player's four route hints (east, north, west, south; -1 = no hint).
void route_hints_compute(PlayerRecord& p);
// The destination (1..4) that the corridor leaving cell start in direction (0, 90, 180,
// 270) leads to, following it straight on where it can; -1 when it ends blind, or goes
// round without ever meeting a destination.
int route_trace(int start, int direction);
// The hint arrows on the ground around the player, one per direction that has a hint.
void route_hints_draw(const PlayerRecord& p);

}  // namespace tessaly
