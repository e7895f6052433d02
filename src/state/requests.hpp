#pragma once
// The life cycle of the request table's rows: taken by a player, tested by the event
// conditions, handed in, ended.
#include <cstdint>

namespace tessaly {

struct PlayerRecord;

// The player takes row: taken, holder = its character, its team number = row and, for a
// request that asks for an item, its team target = that item. Rows outside 1..9 are
// refused (0); the command sets the route fields afterwards.
int request_take(PlayerRecord& player, int row);
// Condition "requested": row is held by someone.
bool request_is_taken(int row);
// Condition "achieved": the player carries row's item in one of its eight slots.
bool request_achieved(const PlayerRecord& player, int row);
// Handing in row: the first slot holding its item is emptied (only that one), then the
// player's request ends. Paying the reward is the caller's, by the progress rules.
void request_hand_in(PlayerRecord& player, int row);
// Ends the request the player holds, if any: the row is free again, its square back at
// stage 0, and the player's team number, team target, route number and route steps 0.
void request_end(PlayerRecord& player);

}  // namespace tessaly
