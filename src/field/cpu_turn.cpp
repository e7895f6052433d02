#include "field/cpu_turn.hpp"

#include "field/players.hpp"

namespace tessaly {

// A computer player's own turn is not played yet: its turn is passed on at once.
void cpu_turn_start(PlayerRecord& p) {
    end_turn(p);
}

}  // namespace tessaly
