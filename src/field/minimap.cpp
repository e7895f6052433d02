#include "field/minimap.hpp"

#include "app/task_pool.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "render/sprites.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr float kLeft = 380.0f;
constexpr float kTop = 20.0f;
constexpr float kCellPixels = 4.0f;
constexpr float kMarkerInset = 2.0f;
constexpr float kPlayerMarkerHalf = 8.0f;

constexpr Rect kPlainCell = {320, 482, 324, 486};
// A square cell: brighter than a road cell, so that the squares stand out.
constexpr Rect kSquareCell = {320, 488, 324, 492};
// Destination markers 1..4.
constexpr Rect kDestinationMarkers[4] = {
    {330, 482, 338, 490},
    {350, 482, 358, 490},
    {340, 482, 348, 490},
    {360, 482, 368, 490},
};
// Player markers by character id.
constexpr Rect kPlayerMarkers[kCharacterCount] = {
    {203, 482, 219, 498},
    {221, 482, 237, 498},
    {239, 482, 255, 498},
};

// Calls fn with the terrain value, the square number and the screen place of every map cell.
template <class Fn>
void for_each_map_cell(Fn fn) {
    const int w = g_game.map_width, h = g_game.map_height;
    if (!g_game.terrain_layer || !g_game.square_layer || !map_size_fits(w, h)) return;
    const int r0 = (kGridSize - h) / 2, c0 = (kGridSize - w) / 2;
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const int cell = (row + r0) * kGridSize + col + c0;
            fn(g_game.terrain_layer[cell], g_game.square_layer[cell],
               kLeft + kCellPixels * static_cast<float>(col),
               kTop + kCellPixels * static_cast<float>(row));
        }
    }
}

void player_marker(const PlayerRecord& p) {
    if (p.character_id < 0 || p.character_id >= kCharacterCount) return;
    const float x = (p.position.x / 2.0f + static_cast<float>(g_game.map_width / 2)) * kCellPixels +
                    kLeft - kPlayerMarkerHalf;
    const float y =
        (-p.position.z / 2.0f + static_cast<float>(g_game.map_height / 2)) * kCellPixels + kTop -
        kPlayerMarkerHalf;
    atlas_draw(x, y, kPlayerMarkers[p.character_id], kColourOpaque);
}

}  // namespace

void minimap_draw() {
    for_each_map_cell([](int value, int, float x, float y) {
        if (value == 0) atlas_draw(x, y, kPlainCell, kColourTranslucent);
    });
    for_each_map_cell([](int value, int square, float x, float y) {
        if (square >= kSquareFirst && terrain_passable(value)) atlas_draw(x, y, kSquareCell);
    });
    for_each_map_cell([](int value, int, float x, float y) {
        if (value >= kTerrainDestinationFirst && value <= kTerrainDestinationLast) {
            atlas_draw(x - kMarkerInset, y - kMarkerInset, kDestinationMarkers[value - 1],
                       kColourTranslucent);
        }
    });
    // The player on turn is drawn last, on top of the others.
    const PlayerRecord* players[kSlotPlayersEnd - kSlotPlayersFirst] = {};
    int n = 0;
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        if (const PlayerRecord* p = player_in_slot(s)) players[n++] = p;
    }
    if (g_game.settings[kSettingRivals] == 1) {
        for (int i = 0; i < n; ++i) {
            if (players[i]->state == &turn_waiting) player_marker(*players[i]);
        }
    }
    for (int i = 0; i < n; ++i) {
        if (players[i]->state != &turn_waiting) player_marker(*players[i]);
    }
}

}  // namespace tessaly
