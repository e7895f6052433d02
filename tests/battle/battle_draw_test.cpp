#include <gtest/gtest.h>

#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "battle/battle_stage.hpp"
#include "field/member_data.hpp"
#include "field/players.hpp"
#include "render/transforms.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

constexpr Rect kCardFrame = {1092, 873, 1292, 1133};
constexpr Rect kFullScreen = {0, 0, 640, 480};
constexpr Rect kComputerSign = {972, 985, 1090, 1032};
constexpr Rect kStrikerTop = {983, 873, 1090, 926};
constexpr Rect kDefenderTop = {985, 928, 1090, 980};

struct BattleDraw : test::RecordingFixture {
    PlayerRecord player{};
    BattleRecord* r = nullptr;
    void SetUp() override {
        test::RecordingFixture::SetUp();
        player.hit_points = 30;
        player.max_hit_points = 30;
        for (int i = 0; i < kMembersPerPlayer; ++i) player.members[i].data = kMemberData[i];
        const int32_t rows[] = {12};
        ASSERT_EQ(battle_start_set(&player, 1, rows), 1);
        r = battle_find();
    }
    Rect dest_of(const Rect& source) {
        const int i = test::find_atlas_draw(source);
        EXPECT_GE(i, 0);
        return i >= 0 ? test::recorded_dest(test::recorded()[i]) : Rect{};
    }
};

TEST_F(BattleDraw, DuelShowsCardsUnderTheFrameWithLabelsOfTheStriker) {
    r->step = &battle_spin;
    r->side = 0;
    r->player_reel[0] = 64 - 13;
    test::recorded_reset();
    test::draw_frame();
    const auto& draws = test::recorded();
    EXPECT_EQ(test::count_atlas_draws(kCardFrame), 2);
    const Rect left = dest_of(kCardFrame);
    EXPECT_FLOAT_EQ(left.left, 60.0f);
    EXPECT_FLOAT_EQ(left.top, 64.0f);
    // Member 0's card at its reel top, under the full-screen frame.
    const float* p = r->members[0].portrait;
    const int card = test::find_atlas_draw(Rect{p[0], p[1], p[2], p[3]});
    const int frame = test::find_atlas_draw(kFullScreen);
    ASSERT_GE(card, 0);
    EXPECT_LT(card, frame);
    EXPECT_FLOAT_EQ(test::recorded_dest(draws[card]).top, 51.0f);
    EXPECT_FLOAT_EQ(test::recorded_dest(draws[card]).left, 380.0f);
    // The player strikes: its labels stand on the right.
    EXPECT_FLOAT_EQ(dest_of(kStrikerTop).left, 434.0f);
    EXPECT_FLOAT_EQ(dest_of(kDefenderTop).left, 124.0f);
    EXPECT_EQ(test::find_atlas_draw(kComputerSign), -1);
}

TEST_F(BattleDraw, GaugeBarsAreCutByTheirValues) {
    r->step = &battle_spin;
    r->side = 1;
    r->foe_attack = Gauge{5, 20, 2};
    r->player_defence = Gauge{15, 20, 1};
    player.computer = 1;
    test::recorded_reset();
    test::draw_frame();
    // Left: the foes' attack, a quarter of 200 pixels growing left from 260.
    const Rect left = dest_of(Rect{442, 878, 492, 908});
    EXPECT_FLOAT_EQ(left.left, 210.0f);
    EXPECT_FLOAT_EQ(left.right, 260.0f);
    const Rect right = dest_of(Rect{370, 482, 520, 512});
    EXPECT_FLOAT_EQ(right.left, 380.0f);
    EXPECT_FLOAT_EQ(right.right, 530.0f);
    EXPECT_FLOAT_EQ(dest_of(kComputerSign).left, 260.0f);
    EXPECT_FLOAT_EQ(dest_of(kStrikerTop).left, 124.0f);
}

TEST_F(BattleDraw, MessageStepsDrawThePanelAndTheLineButIdleDrawsNothing) {
    test::recorded_reset();
    test::draw_frame();
    EXPECT_GE(test::find_atlas_draw(kFullScreen), 0);
    EXPECT_EQ(test::find_atlas_draw(kCardFrame), -1);
    // The opening's five glyphs come from the second sheet.
    int glyphs = 0;
    for (const auto& d : test::recorded()) glyphs += d.texture == second_texture() ? 1 : 0;
    EXPECT_EQ(glyphs, 5);
    r->step = &battle_idle;
    test::recorded_reset();
    test::draw_frame();
    EXPECT_TRUE(test::recorded().empty());
}

TEST_F(BattleDraw, StageFloorDrawsOnlyTheCellsInView) {
    r->side = 0;
    ASSERT_EQ(battle_stage_open(r, 3), 1);
    camera_set(Vec3{20, 0, 0}, Vec3{0, 10, -20});
    frustum_update();
    test::recorded_reset();
    stage_draw(&task_pool()[kSlotBattleStage]);
    const size_t cells = test::recorded().size();
    EXPECT_GT(cells, 500u);
    EXPECT_LT(cells, 10000u);
}

}  // namespace
}  // namespace tessaly
