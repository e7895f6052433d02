#pragma once
// The progress rules: money, experience and levels of a player, and the sign that rises
// when a level is gained.
#include <cstdint>

#include "render/sprites.hpp"

namespace tessaly {

struct PlayerRecord;

constexpr int32_t kMoneyMax = 9999999;
constexpr int32_t kExperiencePerLevel = 1000;
constexpr int32_t kLevelMax = 100;

// Money + n, at most 9,999,999.
void gain_money(PlayerRecord& player, int32_t n);
// Experience + n; at 1000 or more it drops to 0 (the rest is lost) and the player gains a
// level, with the level-up sound and the level-up sign.
void gain_experience(PlayerRecord& player, int32_t n);
// One level more, at most 100; hit points restored to the maximum.
void level_up(PlayerRecord& player);

// The level-up sign (slot 914): rises one pixel a frame from the screen's centre for 60 frames.
struct LevelUpSignRecord {
    int32_t alive;        // 0 ends the sign at its next update
    float x, y;           // top-left on the screen
    int32_t frames_left;  // the sign ends when this reaches 0
    Rect source;          // its picture in the atlas
};

constexpr int kLevelUpSignFrames = 60;
constexpr Rect kLevelUpSignSource = {1097, 836, 1155, 852};

// Starts the sign; 0 when its slot is taken (a sign already rising goes on unchanged).
int level_up_sign_start();

}  // namespace tessaly
