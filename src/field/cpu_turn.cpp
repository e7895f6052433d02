#include "field/cpu_turn.hpp"

#include <iterator>

#include "app/random.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "field/routes.hpp"
#include "field/walking.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

// Items a computer player heals with, the better one first.
constexpr int32_t kHealItems[] = {2, 1};
// A computer player heals below this share of its maximum hit points.
constexpr int kLowHitPointsDivisor = 3;
// Frames the die spins: one of the bases, then 0..9 more.
constexpr int32_t kSpinBases[] = {10, 20, 30, 10, 20, 30};
constexpr int kSpinSpread = 10;

// Directions tried on a square, by facing, in three rows of which one is drawn at random:
// on ahead first, or to one side first; turning back always comes last.
constexpr int kPreferenceRows = 3;
struct Preference {
    int facing;
    float rows[kPreferenceRows][4];
};
constexpr Preference kPreferences[] = {
    {0, {{0, 90, 270, 180}, {90, 0, 270, 180}, {270, 90, 0, 180}}},
    {180, {{180, 90, 270, 0}, {90, 270, 180, 0}, {270, 180, 90, 0}}},
    {90, {{90, 0, 180, 270}, {0, 180, 90, 270}, {180, 90, 0, 270}}},
    {270, {{270, 0, 180, 90}, {0, 180, 270, 90}, {180, 270, 0, 90}}},
};

// The first of the player's item slots that holds the item, else -1.
int item_slot_of(const PlayerRecord& p, int32_t item) {
    for (int i = 0; i < kItemSlots; ++i) {
        if (p.items[i] == item) return i;
    }
    return -1;
}

}  // namespace

void cpu_turn_start(PlayerRecord& p) {
    p.state = &cpu_roll;
    if (p.hit_points >= p.max_hit_points / kLowHitPointsDivisor) return;
    for (int32_t item : kHealItems) {
        const int slot = item_slot_of(p, item);
        if (slot < 0) continue;
        p.heal_left = g_game.items[item].heal;
        p.items[slot] = 0;
        sound_request(kSoundHeal, 0);
        p.state = &cpu_heal;
        return;
    }
}

void cpu_heal(PlayerRecord& p) {
    if (p.heal_left > 0) {
        if (p.hit_points < p.max_hit_points) p.hit_points += 1;
        p.heal_left -= 1;
        return;
    }
    p.banner_timer = kCpuBannerFrames;
    p.state = &cpu_banner;
}

void cpu_banner(PlayerRecord& p) {
    p.banner_timer -= 1;
    if (p.banner_timer <= 0) p.state = &cpu_roll;
}

void cpu_roll(PlayerRecord& p) {
    // Two draws, in this order: the base, then the spread.
    const int32_t k = random_below(static_cast<int32_t>(std::size(kSpinBases)));
    p.computer_wait = kSpinBases[k] + random_below(kSpinSpread);
    p.state = p.team_number != 0 ? &route_die_spin : &cpu_die_spin;
}

void cpu_die_spin(PlayerRecord& p) {
    p.steps_left += 1;
    if (p.steps_left > kDieFaces) p.steps_left = 1;
    p.computer_wait -= 1;
    if (p.computer_wait > 0) return;
    history_clear(p);
    sound_request(kSoundCursor, 0);
    p.state = &cpu_choose_direction;
}

void cpu_choose_direction(PlayerRecord& p) {
    snap_to_cell(p.position.x, p.position.z);
    history_set(p, player_cell(p));
    const int32_t row = random_below(kPreferenceRows);
    const int facing = static_cast<int>(p.facing);
    // A facing that is none of the four (only a damaged save holds one) is read as east,
    // so it cannot hold the turn up for ever.
    bool known = false;
    for (const Preference& pref : kPreferences) known |= pref.facing == facing;
    for (const Preference& pref : kPreferences) {
        if (pref.facing != (known ? facing : 0)) continue;
        for (float d : pref.rows[row]) {
            if (!terrain_passable_toward(p.position.x, p.position.z, d)) continue;
            p.facing = d;
            p.step_frame = 0;
            p.state = &cpu_walk;
            return;
        }
        // Walled in on every side: a fresh row is drawn next frame.
        return;
    }
}

void cpu_walk(PlayerRecord& p) {
    player_walk_frame(p);
}

}  // namespace tessaly
