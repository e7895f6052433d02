#pragma once
// A battle in place of the title, fought by a lone player of character 0 who only stands by
// (its own turn would read the battle's keys): the runner's --battle and the frame
// benchmark's battle scene.
#include <cstdint>
#include <vector>

#include "battle/battle.hpp"
#include "field/players.hpp"

namespace tessaly {

// rows empty: a random battle; otherwise a set battle against those rows of the member data.
// hp above 0 sets the player's hit points and their maximum.
inline int lone_battle_start(const std::vector<int32_t>& rows, int computer, int hp) {
    PlayerRecord* p = player_create(0, kPlayerHeight, 0, computer, 0);
    if (!p) return 0;
    p->state = &turn_waiting;
    if (hp > 0) {
        p->hit_points = hp;
        p->max_hit_points = hp;
    }
    if (rows.empty()) return battle_start_random(p);
    return battle_start_set(p, static_cast<int>(rows.size()), rows.data());
}

}  // namespace tessaly
