#pragma once
// The computer players' turn: an item when hit points run low, a die that spins for a
// random time, and a direction from a preference table on every square. A computer player
// that holds a request follows its route instead (routes.hpp). Other code compares a
// player's state with these.

namespace tessaly {

struct PlayerRecord;

// The item banner's frames after a computer player has healed.
constexpr int kCpuBannerFrames = 60;

void cpu_turn_start(PlayerRecord& p);
void cpu_heal(PlayerRecord& p);
void cpu_banner(PlayerRecord& p);
void cpu_roll(PlayerRecord& p);
void cpu_die_spin(PlayerRecord& p);
void cpu_choose_direction(PlayerRecord& p);
void cpu_walk(PlayerRecord& p);

}  // namespace tessaly
