#include "scene/item_list.hpp"

#include <gtest/gtest.h>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "platform/audio.hpp"
#include "render/numbers.hpp"
#include "state/game_state.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

using test::tick_press;

// Runs list_select_clamped in a frame where exactly these keys are pressed.
int32_t g_cursor = 0;
int g_result = -1;
void select_task(Task*) {
    g_result = list_select_clamped(g_cursor, 5);
}

struct ClampedList : test::SoundedBoardFixture {
    void SetUp() override {
        test::SoundedBoardFixture::SetUp();
        Task* t = task_alloc_at(500);
        ASSERT_NE(t, nullptr);
        task_start(t, 0, &select_task, nullptr);
        g_cursor = 0;
    }
    int press(std::initializer_list<int> keys) {
        g_result = -1;
        platform::audio_record_clear();
        tick_press(keys);
        return g_result;
    }
};

TEST_F(ClampedList, StopsAtTheTopAndStillSounds) {
    EXPECT_EQ(press({kKeyUp}), 0);
    EXPECT_EQ(g_cursor, 0);
    EXPECT_EQ(test::sounds_played(), "play 8");
}

TEST_F(ClampedList, StopsAtTheLastLineAndStillSounds) {
    for (int i = 0; i < 4; ++i) press({kKeyDown});
    EXPECT_EQ(g_cursor, 4);
    EXPECT_EQ(press({kKeyDown}), 0);
    EXPECT_EQ(g_cursor, 4);
    EXPECT_EQ(test::sounds_played(), "play 8");
}

TEST_F(ClampedList, UpWinsOverDownAndOverConfirm) {
    g_cursor = 2;
    EXPECT_EQ(press({kKeyDown, kKeyUp, kKeyEnter}), 0);
    EXPECT_EQ(g_cursor, 1);
    EXPECT_EQ(press({kKeyDown, kKeyZ}), 0);
    EXPECT_EQ(g_cursor, 2);
}

TEST_F(ClampedList, ConfirmSoundsAndReportsAndNoKeyIsSilent) {
    EXPECT_EQ(press({kKeyZ}), 1);
    EXPECT_EQ(test::sounds_played(), "play 8");
    EXPECT_EQ(press({kKeyEsc}), 0);
    EXPECT_EQ(test::sounds_played(), "");
}

struct ItemListDraw : test::RecordingFixture {};

constexpr Rect kPriceHeading = {817, 813, 908, 834};
constexpr Rect kItemsHeading = {1023, 813, 1146, 834};
constexpr Rect kArrow = {890, 604, 901, 625};

Rect dest_of(const Rect& source) {
    const int i = test::find_atlas_draw(source);
    EXPECT_GE(i, 0);
    return i >= 0 ? test::recorded_dest(test::recorded()[i]) : Rect{-1, -1, -1, -1};
}

TEST_F(ItemListDraw, LinesFollowYButTheHeadingAndDescriptionStayPut) {
    const int32_t ids[3] = {2, 0, 11};
    item_list_draw(100, 300, 3, 0, ids, 0);
    EXPECT_FLOAT_EQ(dest_of(kItemsHeading).left, 164.0f);
    EXPECT_FLOAT_EQ(dest_of(kItemsHeading).top, 246.0f);
    EXPECT_EQ(test::count_atlas_draws(kPriceHeading), 0);
    EXPECT_FLOAT_EQ(dest_of(g_game.items[2].name_rect).top, 340.0f);
    EXPECT_FLOAT_EQ(dest_of(g_game.items[0].name_rect).top, 360.0f);
    EXPECT_FLOAT_EQ(dest_of(g_game.items[11].name_rect).top, 380.0f);
    EXPECT_FLOAT_EQ(dest_of(g_game.items[11].name_rect).left, 196.0f);
    EXPECT_FLOAT_EQ(dest_of(kArrow).top, 341.0f);
    EXPECT_FLOAT_EQ(dest_of(kArrow).left, 132.0f);
    EXPECT_FLOAT_EQ(dest_of(g_game.items[2].info_rect).top, 452.0f);
    EXPECT_FLOAT_EQ(dest_of(g_game.items[2].info_rect).left, 196.0f);
}

TEST_F(ItemListDraw, AnEmptySlotUnderTheCursorHasNoDescription) {
    const int32_t ids[2] = {1, 0};
    item_list_draw(80, 240, 2, 1, ids, 0);
    EXPECT_EQ(test::count_atlas_draws(g_game.items[1].info_rect), 0);
    EXPECT_FLOAT_EQ(dest_of(kArrow).top, 301.0f);
}

TEST_F(ItemListDraw, PricesFollowEachNameWhenAsked) {
    const int32_t ids[2] = {5, 9};
    item_list_draw(80, 240, 2, 1, ids, 1);
    EXPECT_EQ(test::count_atlas_draws(kPriceHeading), 1);
    // 1500 and 100: the digit 1 begins both prices at x 350.
    const Rect one = digit_font_rects(DigitFont::Small)[1];
    int at_price = 0;
    for (const auto& d : test::recorded()) {
        if (test::draw_cuts(d, one, kAtlasWidth, kAtlasHeight) &&
            test::recorded_dest(d).left == 350.0f) {
            ++at_price;
        }
    }
    EXPECT_EQ(at_price, 2);
}

TEST_F(ItemListDraw, AnIdOutsideTheTableShowsAsAnEmptySlot) {
    const int32_t ids[2] = {200, -3};
    item_list_draw(80, 240, 2, 0, ids, 1);
    EXPECT_EQ(test::count_atlas_draws(g_game.items[0].name_rect), 2);
}

}  // namespace
}  // namespace tessaly
