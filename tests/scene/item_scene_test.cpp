#include "scene/item_scene.hpp"

#include <gtest/gtest.h>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "platform/audio.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;

Task* slot(int s) {
    return &task_pool()[s];
}
ItemSceneRecord& scene() {
    return task_record<ItemSceneRecord>(slot(kSlotItemScene));
}

// A human player with hit points 180 of 200 and the items 1, 2, 3, 0, 0, 12, 0, 5.
PlayerRecord make_player() {
    PlayerRecord p{};
    p.hit_points = 180;
    p.max_hit_points = 200;
    const int32_t items[kItemSlots] = {1, 2, 3, 0, 0, 12, 0, 5};
    for (int i = 0; i < kItemSlots; ++i) p.items[i] = items[i];
    return p;
}

struct ItemSceneFixture : test::SoundedBoardFixture {
    PlayerRecord player = make_player();
    void open(int32_t mode) {
        ASSERT_EQ(item_scene_open(player, mode), 1);
        tick();
    }
    // Down to the slot, confirm it, and answer the confirmation (Down for yes).
    void choose(int item_slot, bool yes) {
        while (scene().cursor < item_slot) tick_press({kKeyDown});
        tick_press({kKeyEnter});
        if (yes) tick_press({kKeyDown});
        tick_press({kKeyEnter});
    }
};

using ItemScene = ItemSceneFixture;

TEST_F(ItemScene, OpensOnTheFirstSlotAndReadsNoKeysOnItsFirstFrame) {
    ASSERT_EQ(item_scene_open(player, kItemSceneUse), 1);
    tick_press({kKeyDown});
    EXPECT_EQ(scene().cursor, 0);
    EXPECT_EQ(scene().step, &item_list_select);
    EXPECT_EQ(item_scene_open(player, kItemSceneUse), 0);
}

TEST_F(ItemScene, HealingItemTwoAt180Of200EndsAt200AndIsGone) {
    open(kItemSceneUse);
    platform::audio_record_clear();
    choose(1, true);
    EXPECT_EQ(player.hit_points, 200);
    EXPECT_EQ(player.items[1], 0);
    EXPECT_NE(platform::audio_record_text().find("play 12"), std::string::npos);
    EXPECT_EQ(scene().step, &item_list_select);
    EXPECT_EQ(scene().choice, 0);
}

TEST_F(ItemScene, HealingBelowTheMaximumAddsItsWholeHeal) {
    player.hit_points = 20;
    open(kItemSceneUse);
    choose(0, true);
    EXPECT_EQ(player.hit_points, 70);
    EXPECT_EQ(player.items[0], 0);
}

TEST_F(ItemScene, ItemsThatDoNotHealCannotBeUsedButCanBeThrownAway) {
    open(kItemSceneUse);
    platform::audio_record_clear();
    choose(2, true);
    EXPECT_EQ(player.items[2], 3);
    EXPECT_EQ(player.hit_points, 180);
    EXPECT_EQ(platform::audio_record_text().find("play 12"), std::string::npos);
    tick_press({kKeyEsc});
    ASSERT_EQ(slot(kSlotItemScene)->in_use, 0);
    open(kItemSceneThrowAway);
    choose(5, true);
    EXPECT_EQ(player.items[5], 0);
    EXPECT_EQ(player.hit_points, 180);
}

TEST_F(ItemScene, AnsweringNoKeepsTheItem) {
    open(kItemSceneThrowAway);
    choose(7, false);
    EXPECT_EQ(player.items[7], 5);
    EXPECT_EQ(scene().step, &item_list_select);
    EXPECT_EQ(scene().cursor, 7);
}

TEST_F(ItemScene, AnEmptySlotOffersNothing) {
    open(kItemSceneThrowAway);
    tick_press({kKeyDown});
    tick_press({kKeyDown});
    tick_press({kKeyDown});
    tick_press({kKeyZ});
    EXPECT_EQ(scene().step, &item_list_select);
}

TEST_F(ItemScene, TheCursorStopsAtBothEndsAndStillSounds) {
    open(kItemSceneUse);
    platform::audio_record_clear();
    tick_press({kKeyUp});
    EXPECT_EQ(scene().cursor, 0);
    EXPECT_EQ(test::sounds_played(), "play 8");
    for (int i = 0; i < 10; ++i) tick_press({kKeyDown});
    EXPECT_EQ(scene().cursor, 7);
    platform::audio_record_clear();
    tick_press({kKeyDown});
    EXPECT_EQ(scene().cursor, 7);
    EXPECT_EQ(test::sounds_played(), "play 8");
}

TEST_F(ItemScene, EscInTheConfirmationIsNotRead) {
    open(kItemSceneThrowAway);
    tick_press({kKeyEnter});
    tick_press({kKeyEsc});
    ASSERT_EQ(slot(kSlotItemScene)->in_use, 1);
    EXPECT_EQ(scene().step, &item_drop_confirm);
    // Up wraps the answer round to yes.
    tick_press({kKeyUp});
    tick_press({kKeyEnter});
    EXPECT_EQ(player.items[0], 0);
}

TEST_F(ItemScene, EscInTheListEndsTheScene) {
    open(kItemSceneUse);
    platform::audio_record_clear();
    tick_press({kKeyEsc});
    EXPECT_EQ(slot(kSlotItemScene)->in_use, 0);
    EXPECT_EQ(test::sounds_played(), "play 8");
}

TEST_F(ItemScene, AnIdOutsideTheItemTableIsNeverUsed) {
    player.items[0] = 200;
    open(kItemSceneUse);
    choose(0, true);
    EXPECT_EQ(player.items[0], 200);
    EXPECT_EQ(player.hit_points, 180);
}

struct ItemSceneDraw : test::RecordingFixture {
    PlayerRecord player = make_player();
};

constexpr Rect kHelp = {507, 696, 600, 715};
constexpr Rect kThrowAwayTitle = {139, 1010, 218, 1030};
constexpr Rect kUseTitle = {139, 981, 197, 1001};

TEST_F(ItemSceneDraw, TheListShowsHelpAndAConfirmationShowsItsModesTitle) {
    ASSERT_EQ(item_scene_open(player, kItemSceneThrowAway), 1);
    tick();
    test::recorded_reset();
    test::draw_frame();
    const int help = test::find_atlas_draw(kHelp);
    ASSERT_GE(help, 0);
    EXPECT_FLOAT_EQ(test::recorded_dest(test::recorded()[help]).left, 8.0f);
    EXPECT_EQ(test::count_atlas_draws(kThrowAwayTitle), 0);
    // Item 1's name on the first line of the list.
    const Rect first_name = g_game.items[1].name_rect;
    const int name = test::find_atlas_draw(first_name);
    ASSERT_GE(name, 0);
    EXPECT_FLOAT_EQ(test::recorded_dest(test::recorded()[name]).left, 176.0f);
    EXPECT_FLOAT_EQ(test::recorded_dest(test::recorded()[name]).top, 280.0f);

    tick_press({kKeyEnter});
    test::recorded_reset();
    test::draw_frame();
    EXPECT_EQ(test::count_atlas_draws(kHelp), 0);
    EXPECT_EQ(test::count_atlas_draws(kThrowAwayTitle), 1);
    EXPECT_EQ(test::count_atlas_draws(kUseTitle), 0);
    EXPECT_EQ(test::count_atlas_draws(Rect{127, 1079, 167, 1097}), 1);  // the answer yes
}

}  // namespace
}  // namespace tessaly
