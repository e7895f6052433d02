#pragma once
// Request routes: a computer player that holds a request takes its die values and its
// direction on every square from two fixed lists of its route instead of choosing.
#include <cstdint>

namespace tessaly {

struct PlayerRecord;

constexpr int kRouteCount = 12;
constexpr int kRouteDieEntries = 20;
constexpr int kRouteDirectionEntries = 40;
// Ends a route's list; every entry after it is 0.
constexpr int32_t kRouteEndMarker = -1;

// Die values of route n, in the order the turns use them.
extern const int32_t kRouteDieLists[kRouteCount][kRouteDieEntries];
// Directions (degrees) of route n, one for every square the route leaves, the start
// square included.
extern const float kRouteDirectionLists[kRouteCount][kRouteDirectionEntries];

// The next die value of the player's route. An end marker yields the value before it
// (so a used-up route gives its last value once more, then 0); the step is held at the
// last entry.
int32_t route_die_next(PlayerRecord& p);
// The next direction of the player's route, the same way.
float route_direction_next(PlayerRecord& p);

// Turn states of a computer player on a route.
void route_die_spin(PlayerRecord& p);
void route_choose_direction(PlayerRecord& p);
void route_walk(PlayerRecord& p);

}  // namespace tessaly
