#pragma once
// The one global record of what the game knows about the current play.
#include <cstdint>

namespace tessaly {

constexpr int kSquareCount = 60;
constexpr int kGridSize = 300;
constexpr int kGridCells = kGridSize * kGridSize;
constexpr int kEventBufferBytes = 102400;

// Indices of the settings block.
constexpr int kSettingWindowMode = 0;
constexpr int kSettingVsync = 1;
constexpr int kSettingDepth24 = 2;
constexpr int kSettingMusic = 3;
constexpr int kSettingEffects = 4;
constexpr int kSettingRivals = 5;
constexpr int kSettingBattles = 6;
constexpr int kSettingRouteHints = 7;
constexpr int kSettingPrevWindowMode = 8;
constexpr int kSettingPrevVsync = 9;
constexpr int kSettingPrevDepth24 = 10;
constexpr int kSettingCount = 11;

struct GameState {
    int32_t event_stage[kSquareCount];
    int32_t square_count;
    int32_t minimap_flag;
    int32_t map_height;
    int32_t map_width;
    int8_t* square_layer;
    int8_t* terrain_layer;
    int32_t settings[kSettingCount];
    // The event pack's text, allocated with the map layers.
    unsigned char* event_buffer;
};

extern GameState g_game;

// All eleven settings = 1; applied once at program start.
void apply_settings_defaults();

}  // namespace tessaly
