#include "field/route_hints.hpp"

#include "field/players.hpp"

namespace tessaly {

// No corridor is traced yet: every direction shows no hint.
void route_hints_compute(PlayerRecord& p) {
    for (int32_t& h : p.route_hints) h = -1;
}

}  // namespace tessaly
