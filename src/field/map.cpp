#include "field/map.hpp"

#include <cstdlib>
#include <cstring>

#include "state/game_state.hpp"

namespace tessaly {

int map_alloc() {
    g_game.terrain_layer = nullptr;
    g_game.square_layer = nullptr;
    g_game.event_buffer = nullptr;
    g_game.map_width = 0;
    g_game.map_height = 0;
    g_game.terrain_layer = static_cast<int8_t*>(std::malloc(kGridCells));
    if (!g_game.terrain_layer) return 0;
    g_game.square_layer = static_cast<int8_t*>(std::malloc(kGridCells));
    if (!g_game.square_layer) {
        map_free();
        return 0;
    }
    g_game.event_buffer = static_cast<unsigned char*>(std::malloc(kEventBufferBytes));
    if (!g_game.event_buffer) {
        map_free();
        return 0;
    }
    map_clear();
    return 1;
}

void map_clear() {
    if (g_game.square_layer) std::memset(g_game.square_layer, 0, kGridCells);
    if (g_game.event_buffer) std::memset(g_game.event_buffer, 0, kEventBufferBytes);
    if (g_game.terrain_layer) std::memset(g_game.terrain_layer, 15, kGridCells);
}

void map_free() {
    std::free(g_game.terrain_layer);
    std::free(g_game.square_layer);
    std::free(g_game.event_buffer);
    g_game.terrain_layer = nullptr;
    g_game.square_layer = nullptr;
    g_game.event_buffer = nullptr;
}

}  // namespace tessaly
