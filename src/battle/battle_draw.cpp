// The battle's screens: the message panel between strikes, and the card reels with their
// name plates, gauges, labels and hit points while a strike is decided.
#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "field/players.hpp"
#include "render/glyph_line.hpp"
#include "render/numbers.hpp"
#include "render/sprites.hpp"
#include "render/textures.hpp"

namespace tessaly {
namespace {

constexpr Rect kFullScreen = {0, 0, 640, 480};
constexpr Rect kMessagePanel = {0, 1148, 512, 1244};
constexpr Rect kCardFrame = {1092, 873, 1292, 1133};
constexpr Rect kNamePlate = {1060, 1226, 1260, 1253};
constexpr Rect kStrikerTop = {983, 873, 1090, 926};
constexpr Rect kStrikerBottom = {1162, 809, 1229, 835};
constexpr Rect kDefenderTop = {985, 928, 1090, 980};
constexpr Rect kDefenderBottom = {1162, 838, 1229, 864};
constexpr Rect kComputerSign = {972, 985, 1090, 1032};
constexpr Rect kSlash = {187, 481, 198, 503};
constexpr float kFoeX = 60;
constexpr float kPlayerX = 380;
constexpr float kGaugeLength = 200;

void message_draw(const BattleRecord& r) {
    atlas_draw(0, 0, kFullScreen);
    panel_draw(64, 384, kMessagePanel, kColourTranslucent);
    if (r.message_line >= 0 && r.message_line < kBattleMessageLines) {
        glyph_line_draw(96, 408, r.message[r.message_line], kBattleLineGlyphs);
    }
}

// The plate under a reel names the card standing in its window.
void name_plate_draw(float plate_x, float name_x, const int32_t* tops, const MemberData* rows,
                     int count) {
    atlas_draw(plate_x, 334, kNamePlate);
    for (int i = 0; i < count; ++i) {
        if (tops[i] < kReelTop || tops[i] >= kReelTop + kCardHeight) continue;
        const float* n = rows[i].name_plate;
        atlas_draw(name_x + round_half_away((kGaugeLength - (n[2] - n[0])) / 2), 336,
                   Rect{n[0], n[1], n[2], n[3]});
        return;
    }
}

// A gauge without a maximum shows an empty bar rather than dividing by zero.
float gauge_length(const Gauge& g) {
    if (g.max <= 0) return 0;
    return static_cast<float>(g.value) / static_cast<float>(g.max) * kGaugeLength;
}

void hit_points_draw(float x, int32_t hp, int32_t max) {
    atlas_draw(x + 97, 448, kSlash);
    number_draw_large(x + 20, 450, hp);
    number_draw_large(x + 150, 450, max);
}

void duel_draw(const BattleRecord& r) {
    atlas_draw(kFoeX, 64, kCardFrame);
    atlas_draw(kPlayerX, 64, kCardFrame);
    for (int i = 0; i < r.member_count; ++i) {
        const float* p = r.members[i].portrait;
        atlas_draw(kPlayerX, static_cast<float>(r.player_reel[i]), Rect{p[0], p[1], p[2], p[3]});
    }
    for (int j = 0; j < r.foe_count; ++j) {
        const float* p = r.foes[j].portrait;
        atlas_draw(kFoeX, static_cast<float>(r.foe_reel[j]), Rect{p[0], p[1], p[2], p[3]});
    }
    atlas_draw(0, 0, kFullScreen);
    name_plate_draw(kPlayerX, 388, r.player_reel, r.members, r.member_count);
    name_plate_draw(kFoeX, 64, r.foe_reel, r.foes, r.foe_count);

    const Gauge& left = r.side == 0 ? r.foe_defence : r.foe_attack;
    const Gauge& right = r.side == 0 ? r.player_attack : r.player_defence;
    const float l = gauge_length(left);
    atlas_draw(260 - l, 410, Rect{492 - l, 878, 492, 908});
    number_draw_large(264, 410, left.value);
    const float rl = gauge_length(right);
    atlas_draw(380, 410, Rect{370, 482, 370 + rl, 512});
    number_draw_large(342, 410, right.value);

    const bool foes_strike = r.side == 1;
    atlas_draw(124, 10, foes_strike ? kStrikerTop : kDefenderTop);
    atlas_draw(130, 370, foes_strike ? kStrikerBottom : kDefenderBottom);
    atlas_draw(434, 10, foes_strike ? kDefenderTop : kStrikerTop);
    atlas_draw(440, 370, foes_strike ? kDefenderBottom : kStrikerBottom);

    if (r.player->computer == 1) atlas_draw(260, 10, kComputerSign);

    hit_points_draw(kFoeX, r.foe_hp, r.foe_max_hp);
    hit_points_draw(kPlayerX, r.player_hp, r.player_max_hp);
}

}  // namespace

void battle_draw(Task* t) {
    const BattleRecord& r = task_record<BattleRecord>(t);
    if (r.step == &battle_opening || r.step == &battle_turn_message || r.step == &battle_result) {
        message_draw(r);
    } else if (r.step != &battle_idle) {
        duel_draw(r);
    }
}

}  // namespace tessaly
