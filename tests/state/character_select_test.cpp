#include "state/character_select.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include "app/keys.hpp"

#include "render/textures.hpp"
#include "support/recording.hpp"
#include "support/render_support.hpp"
#include "support/ticks.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;

Task* scene_task() {
    return &task_pool()[kSlotSelectWheel];
}
CharacterSelectRecord& scene() {
    return task_record<CharacterSelectRecord>(scene_task());
}

void expect_placed_at(const WheelEntry& e, int32_t angle) {
    const Vec3 p = wheel_point(angle);
    EXPECT_FLOAT_EQ(e.position.x, p.x) << "angle " << angle;
    EXPECT_FLOAT_EQ(e.position.z, p.z) << "angle " << angle;
    EXPECT_FLOAT_EQ(e.position.y, 0.0f);
}

// The character standing at the front once the wheel rests.
int32_t front_character() {
    for (const WheelEntry& e : scene().entries) {
        if (e.angle == kWheelFront) return e.character_id;
    }
    return -1;
}

struct SelectFixture : test::TickFixture {
    void SetUp() override {
        test::TickFixture::SetUp();
        ASSERT_EQ(character_select_open(), 1);
        tick();
    }
    // One key press and the frames the wheel needs to come to rest.
    void turn(int key) {
        tick_press({key});
        test::ticks(6);
        ASSERT_EQ(scene().step, &select_wait);
    }
};

using CharacterSelect = SelectFixture;
using CharacterSelectOpen = test::TickFixture;

TEST_F(CharacterSelectOpen, TakenSlotIsRefused) {
    ASSERT_EQ(character_select_open(), 1);
    EXPECT_EQ(character_select_open(), 0);
}

TEST_F(CharacterSelectOpen, EntriesStartAtRestOnTheirWheelPoints) {
    ASSERT_EQ(character_select_open(), 1);
    const int32_t rest[] = {270, 30, 150};
    for (int i = 0; i < kCharacterCount; ++i) {
        EXPECT_EQ(scene().entries[i].character_id, i);
        EXPECT_EQ(scene().entries[i].angle, rest[i]);
        EXPECT_EQ(scene().entries[i].turn_step, 0);
        expect_placed_at(scene().entries[i], rest[i]);
    }
    EXPECT_EQ(scene_task()->kind, 0);
}

TEST_F(CharacterSelectOpen, ReadsNoKeysOnItsFirstFrame) {
    ASSERT_EQ(character_select_open(), 1);
    tick_press({kKeyRight});
    EXPECT_EQ(scene().step, &select_wait);
    EXPECT_EQ(scene().entries[0].angle, 270);
}

TEST(WheelPoint, FrontIsNearestTheViewerOnNegativeZ) {
    const Vec3 p = wheel_point(270);
    EXPECT_NEAR(p.x, 0.0f, 0.05f);
    EXPECT_NEAR(p.z, -10.0f, 0.001f);
    EXPECT_EQ(p.y, 0.0f);
    // 3.14 rather than pi leaves a small offset in x.
    EXPECT_NE(p.x, 0.0f);
}

TEST_F(CharacterSelect, RightTurnsEntryZeroFrom270To30InSevenFrames) {
    const int32_t angles[] = {280, 300, 320, 340, 360, 20, 30};
    const int32_t placed[] = {270, 290, 310, 330, 350, 10, 30};
    tick_press({kKeyRight});
    for (int f = 0; f < 7; ++f) {
        if (f > 0) tick();
        EXPECT_EQ(scene().entries[0].angle, angles[f]) << "frame " << f;
        expect_placed_at(scene().entries[0], placed[f]);
    }
    EXPECT_EQ(scene().step, &select_wait);
    for (const WheelEntry& e : scene().entries) EXPECT_EQ(e.turn_step, 0);
    tick();
    EXPECT_EQ(scene().entries[0].angle, 30);
}

TEST_F(CharacterSelect, AngleOf360StaysUntilItPassesIt) {
    // Left from rest: entry 1 runs 30 -> 20 -> 0 -> 340, wrapping below 0 only.
    tick_press({kKeyLeft});
    EXPECT_EQ(scene().entries[1].angle, 20);
    tick();
    EXPECT_EQ(scene().entries[1].angle, 0);
    tick();
    EXPECT_EQ(scene().entries[1].angle, 340);
    expect_placed_at(scene().entries[1], 350);
}

TEST_F(CharacterSelect, EachTurnBringsTheNextCharacterToTheFront) {
    EXPECT_EQ(front_character(), 0);
    turn(kKeyRight);
    EXPECT_EQ(front_character(), 2);
    turn(kKeyRight);
    EXPECT_EQ(front_character(), 1);
    turn(kKeyRight);
    EXPECT_EQ(front_character(), 0);
    turn(kKeyLeft);
    EXPECT_EQ(front_character(), 1);
    turn(kKeyLeft);
    EXPECT_EQ(front_character(), 2);
}

TEST_F(CharacterSelect, KeysWhileTurningAreIgnored) {
    tick_press({kKeyRight});
    tick_press({kKeyLeft});
    tick_press({kKeyEnter});
    tick_press({kKeyZ});
    test::ticks(3);
    EXPECT_EQ(scene_task()->in_use, 1);
    EXPECT_EQ(scene().step, &select_wait);
    EXPECT_EQ(front_character(), 2);
}

TEST_F(CharacterSelect, OtherKeysDoNothing) {
    for (int k : {kKeyEsc, kKeyUp, kKeyDown, kKeySpace, kKeyShift, kKeyControl, kKeyA}) {
        tick_press({k});
        EXPECT_EQ(scene().step, &select_wait);
        EXPECT_EQ(scene().entries[0].angle, 270);
        EXPECT_EQ(scene_task()->in_use, 1);
    }
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

constexpr Rect kHeading = {0, 845, 317, 876};

struct SelectDrawFixture : test::RecordingFixture {
    void SetUp() override {
        test::RecordingFixture::SetUp();
        ASSERT_EQ(character_select_open(), 1);
        tick();
    }
    void redraw() {
        test::recorded_reset();
        test::draw_frame();
    }
};

using CharacterSelectDraw = SelectDrawFixture;

// The draws of a mesh whose world transform places it at (x, z).
int mesh_draws_at(const MeshRecord& mesh, float x, float z) {
    int n = 0;
    for (const auto& d : test::recorded()) {
        if (d.mesh == mesh.mesh && std::fabs(d.world[12] - x) < 1e-4f &&
            std::fabs(d.world[14] - z) < 1e-4f) {
            ++n;
        }
    }
    return n;
}

TEST_F(CharacterSelectDraw, FlatBackdropThenEachCharactersFourMembersSideBySide) {
    const test::ReferenceDrawing reference;  // the backdrop a quad a cell
    redraw();
    const auto& draws = test::recorded();
    ASSERT_GT(draws.size(), 300u);
    for (size_t k = 0; k < 300; ++k) EXPECT_FALSE(draws[k].depth_test);
    const float dx[] = {-3, -1, 1, 3};
    for (const WheelEntry& e : scene().entries) {
        for (int k = 0; k < kMembersPerPlayer; ++k) {
            const MeshRecord& mesh =
                mesh_record(kMemberData[member_data_row(e.character_id, k)].mesh);
            EXPECT_GE(mesh_draws_at(mesh, e.position.x + dx[k], e.position.z), 1)
                << "character " << e.character_id << " member " << k;
        }
    }
}

TEST_F(CharacterSelectDraw, OnlyTheFrontCharactersNameIsShownAndOnlyAtRest) {
    redraw();
    EXPECT_EQ(test::count_atlas_draws(scene().entries[0].name_rect), 1);
    EXPECT_EQ(test::count_atlas_draws(scene().entries[1].name_rect), 0);
    EXPECT_EQ(test::count_atlas_draws(scene().entries[2].name_rect), 0);
    const int name = test::find_atlas_draw(scene().entries[0].name_rect);
    EXPECT_FLOAT_EQ(test::recorded_dest(test::recorded()[name]).top, 400.0f);
    tick_press({kKeyRight});
    redraw();
    for (const WheelEntry& e : scene().entries) EXPECT_EQ(test::count_atlas_draws(e.name_rect), 0);
    test::ticks(6);
    redraw();
    EXPECT_EQ(test::count_atlas_draws(scene().entries[2].name_rect), 1);
    // The heading comes last, over everything.
    EXPECT_EQ(test::find_atlas_draw(kHeading), static_cast<int>(test::recorded().size()) - 1);
}

}  // namespace
}  // namespace tessaly
