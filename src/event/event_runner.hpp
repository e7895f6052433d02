#pragma once
// The event runner: the task (slot 907) that runs a square's script for a player.

namespace tessaly {

struct PlayerRecord;

// Starts the event of a square for a player; 1 if the runner was created, 0 if an event
// already runs or its slot is taken.
int event_start(PlayerRecord* player, int square);

}  // namespace tessaly
