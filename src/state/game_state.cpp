#include "state/game_state.hpp"

namespace tessaly {

GameState g_game{};

void apply_settings_defaults() {
    for (int32_t& s : g_game.settings) s = 1;
}

}  // namespace tessaly
