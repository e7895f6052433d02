#include "field/routes.hpp"

#include "field/map.hpp"
#include "field/players.hpp"
#include "field/walking.hpp"
#include "sound/sound.hpp"

namespace tessaly {

// The die values of a route add up to the directions before its end marker, so a route is
// used up exactly when its last square is reached. Route 7 has no end marker.
const int32_t kRouteDieLists[kRouteCount][kRouteDieEntries] = {
    {3, 2, 4, 2, 4, 3, -1},          {5, 3, 1, 3, 4, 2, -1},       {3, 2, 3, 2, 2, 2, 3, 3, -1},
    {1, 2, 3, 1, 2, 2, 2, 1, 4, -1}, {2, 4, 2, 4, 1, 3, -1},       {1, 5, 2, 2, 3, 3, -1},
    {2, 2, 2, 1, 3, 1, 3, -1},       {1, 3, 2, 1, 1, 1, 3, 2},     {1, 3, 3, 2, 3, 1, 3, 2, -1},
    {1, 3, 3, 2, 3, 1, 3, 2, -1},    {2, 2, 3, 3, 3, 2, 3, 2, -1}, {1, 1, 4, 4, 1, 5, 2, 2, -1},
};

const float kRouteDirectionLists[kRouteCount][kRouteDirectionEntries] = {
    {270, 180, 90, 180, 90, 90, 90, 0, 90, 270, 180, 270, 270, 270, 270, 270, 270, 90, -1},
    {270, 180, 90, 180, 90, 90, 90, 0, 90, 270, 180, 270, 270, 270, 270, 270, 270, 90, -1},
    {270, 180, 180, 90, 90, 90, 90, 90, 90, 0, 180, 180, 270, 270, 270, 270, 0, 0, 270, 90, -1},
    {270, 180, 90, 180, 90, 90, 90, 90, 0, 180, 270, 270, 270, 270, 270, 270, 270, 90, -1},
    {0, 270, 0, 90, 0, 270, 0, 270, 90, 90, 90, 180, 270, 180, 90, 180, -1},
    {0, 270, 0, 90, 0, 270, 0, 270, 90, 90, 90, 180, 270, 180, 180, 90, -1},
    {0, 270, 270, 270, 0, 0, 90, 270, 180, 180, 180, 90, 90, 180, -1},
    {0, 270, 270, 270, 0, 0, 90, 270, 180, 180, 180, 90, 90, 180, -1},
    {270, 270, 270, 270, 270, 270, 270, 90, 90, 270, 270, 180, 90, 180, 90, 90, 90, 90, -1},
    {270, 270, 270, 270, 270, 270, 270, 90, 90, 270, 270, 180, 90, 180, 90, 90, 90, 90, -1},
    {270, 270, 270, 270, 270, 0, 0, 270, 180, 180, 0, 0, 90, 180, 180, 180, 90, 90, 90, 90, -1},
    {270, 270, 270, 270, 270, 0, 0, 270, 180, 180, 0, 0, 90, 180, 180, 180, 90, 90, 90, 90, -1},
};

namespace {

// One step along a route list. A route number or step from outside the tables (a damaged
// save, a script's stray number) reads as an empty list instead of past it.
template <class T, int N>
T route_list_next(const T (&lists)[kRouteCount][N], int32_t route, int32_t& step) {
    if (route < 0 || route >= kRouteCount || step < 0 || step >= N) {
        if (step < 0) step = 0;
        if (step >= N) step = N - 1;
        return T{};
    }
    T entry = lists[route][step];
    if (entry < 0) entry = step > 0 ? lists[route][step - 1] : T{};
    if (step < N - 1) step += 1;
    return entry;
}

}  // namespace

int32_t route_die_next(PlayerRecord& p) {
    return route_list_next(kRouteDieLists, p.route_number, p.route_die_step);
}

float route_direction_next(PlayerRecord& p) {
    return route_list_next(kRouteDirectionLists, p.route_number, p.route_direction_step);
}

void route_die_spin(PlayerRecord& p) {
    p.steps_left += 1;
    if (p.steps_left > kDieFaces) p.steps_left = 1;
    p.computer_wait -= 1;
    if (p.computer_wait > 0) return;
    p.steps_left = route_die_next(p);
    sound_request(kSoundCursor, 0);
    p.state = &route_choose_direction;
}

// The route's direction is taken as it stands: the routes are laid so that each listed
// direction leaves its square along a corridor.
void route_choose_direction(PlayerRecord& p) {
    snap_to_cell(p.position.x, p.position.z);
    p.facing = route_direction_next(p);
    p.state = &route_walk;
}

// Walking on a route keeps no history: there is no back-step refund and the hints are left
// as they are.
void route_walk(PlayerRecord& p) {
    if (!cell_step(p.position, p.facing, p.step_frame)) return;
    if (square_at(player_cell(p)) < kSquareFirst) {
        corridor_turn(p.position.x, p.position.z, p.facing);
        return;
    }
    p.steps_left -= 1;
    p.state = &route_choose_direction;
    sound_request(kSoundStep, 0);
    if (p.steps_left <= 0) p.state = &arrive;
}

}  // namespace tessaly
