// The human player's turn: the die stopped by a key, a direction key on every square, and
// the walk between squares.
#include "app/keys.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "field/route_hints.hpp"
#include "field/walking.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

// Direction keys in the order choose_direction tests them.
struct DirectionKey {
    int key;
    float direction;
};
constexpr DirectionKey kDirectionKeys[] = {
    {kKeyRight, kDirectionEast},
    {kKeyLeft, kDirectionWest},
    {kKeyDown, kDirectionSouth},
    {kKeyUp, kDirectionNorth},
};

}  // namespace

void die_spin(PlayerRecord& p) {
    p.steps_left += 1;
    if (p.steps_left > kDieFaces) p.steps_left = 1;
    if (!key_confirm()) return;
    history_clear(p);
    sound_request(kSoundCursor, 0);
    p.state = &choose_direction;
    route_hints_compute(p);
}

void choose_direction(PlayerRecord& p) {
    snap_to_cell(p.position.x, p.position.z);
    history_set(p, player_cell(p));
    for (const DirectionKey& k : kDirectionKeys) {
        if (!key_pressed(k.key)) continue;
        // Only the first key that fires counts; a blocked direction keeps the player waiting.
        if (terrain_passable_toward(p.position.x, p.position.z, k.direction)) {
            p.facing = k.direction;
            p.step_frame = 0;
            p.state = &walk;
        }
        return;
    }
}

void walk(PlayerRecord& p) {
    player_walk_frame(p);
}

}  // namespace tessaly
