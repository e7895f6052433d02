#pragma once
// The one global record of what the game knows about the current play.
#include <cstdint>

#include "render/rect.hpp"

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

constexpr int kRequestRows = 10;
constexpr int kItemRows = 13;
constexpr int kEventStages = 4;
// Square 41's stage entry also carries the chosen character into its opening script.
constexpr int kOpeningEventSquare = 41;
constexpr int32_t kNoHolder = -1;
// Request kind 0 asks for an item.
constexpr int32_t kRequestKindItem = 0;
// Item use 1 is a healing item the item scene can use.
constexpr int32_t kItemUseHeal = 1;

// One row of the request table (48 bytes). Row 0 is never taken: a team number of 0
// means "no request".
struct RequestRecord {
    int32_t number;
    int32_t taken;
    int32_t holder;  // character id of the holder, kNoHolder when free
    int32_t reward_exp;
    int32_t reward_money;
    int32_t kind;
    int32_t item_id;
    Rect name_rect;  // name picture in the atlas
    int32_t square;  // board square whose stage returns to 0 when the request ends
};
static_assert(sizeof(RequestRecord) == 48);

// One row of the item table (48 bytes); the id equals the row.
struct ItemRecord {
    int32_t id;
    int32_t use;
    int32_t heal;
    int32_t price;   // buying price; selling gives half
    Rect name_rect;  // item 0's picture is what an empty slot shows
    Rect info_rect;  // description line; all zero when the item has none
};
static_assert(sizeof(ItemRecord) == 48);

struct GameState {
    // Entry n - 1 is the stage (0..3) of board square n.
    int32_t event_stage[kSquareCount];
    int32_t square_count;
    int32_t minimap_flag;
    int32_t map_height;
    int32_t map_width;
    int8_t* square_layer;
    int8_t* terrain_layer;
    int32_t settings[kSettingCount];
    RequestRecord requests[kRequestRows];
    ItemRecord items[kItemRows];
    // Script number per square (row n - 1) and stage; a cleared cell stays cleared
    // until the program restarts.
    int32_t event_script[kSquareCount][kEventStages];
    // The event pack's text, allocated with the map layers.
    unsigned char* event_buffer;
};

// The record as the program starts: zero stages and settings, no buffers, and the
// fixed contents of the request, item and event script tables.
GameState game_state_initial();

extern GameState g_game;

// All eleven settings = 1; applied once at program start.
void apply_settings_defaults();
// Every square back to stage 0.
void reset_event_stages();
// Every request free with no holder; the other fields keep their values.
void reset_requests();

}  // namespace tessaly
