#include "field/list_menu.hpp"

#include <gtest/gtest.h>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "platform/audio.hpp"
#include "sound/sound.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

using test::sounds_played;

struct ListCursor : test::SoundedBoardFixture {
    int32_t cursor = 0;
    int result = -1;
    // One frame with exactly these keys just pressed, the widget read in it.
    void press(std::initializer_list<int> keys, int32_t count) {
        test::keys_hold(keys);
        platform::audio_record_clear();
        sound_clear_requests();
        keys_poll();
        result = list_cursor_update(cursor, count);
        sound_play_requests();
        test::keys_release_all();
        keys_poll();
    }
};

TEST_F(ListCursor, DownWrapsFromTheLastLineAndUpFromTheFirst) {
    cursor = 2;
    press({kKeyDown}, 3);
    EXPECT_EQ(cursor, 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(sounds_played(), "play 8");
    press({kKeyUp}, 3);
    EXPECT_EQ(cursor, 2);
    EXPECT_EQ(sounds_played(), "play 8");
    press({kKeyUp}, 3);
    EXPECT_EQ(cursor, 1);
}

TEST_F(ListCursor, DownWinsOverUpAndMovesBeforeAConfirm) {
    press({kKeyUp, kKeyDown}, 3);
    EXPECT_EQ(cursor, 1);
    press({kKeyDown, kKeyEnter}, 3);
    EXPECT_EQ(cursor, 2);
    EXPECT_EQ(result, 0);
}

TEST_F(ListCursor, EnterOrZConfirmWithASoundAndNoKeyDoesNothing) {
    cursor = 1;
    for (int k : {kKeyEnter, kKeyZ}) {
        press({k}, 2);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(cursor, 1);
        EXPECT_EQ(sounds_played(), "play 8");
    }
    press({}, 2);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(sounds_played(), "");
    press({kKeyEsc}, 2);
    EXPECT_EQ(result, 0);
}

constexpr Rect kPanel = {495, 514, 618, 610};  // 123 wide
constexpr Rect kTitle = {1, 1100, 122, 1120};  // 121 wide
constexpr Rect kArrow = {890, 604, 901, 625};
constexpr Rect kSprites[] = {{127, 1058, 188, 1076}, {127, 1079, 167, 1097}};  // 61, 40 wide

using ListDraw = test::RecordingFixture;

TEST_F(ListDraw, TitleCursorAndEntriesStandWhereTheListPutsThem) {
    const int32_t entries[] = {1, 0};
    list_menu_draw(10, 100, 1, 2, kColourTranslucent, kPanel, kTitle, kSprites, entries);
    auto dest = [](const Rect& source) {
        const int i = test::find_atlas_draw(source);
        EXPECT_GE(i, 0);
        return i >= 0 ? test::recorded_dest(test::recorded()[i]) : Rect{};
    };
    EXPECT_FLOAT_EQ(dest(kTitle).left, 11.0f);
    EXPECT_FLOAT_EQ(dest(kTitle).top, 106.0f);
    EXPECT_FLOAT_EQ(dest(kArrow).left, 14.0f);
    EXPECT_FLOAT_EQ(dest(kArrow).top, 159.0f);
    // Line 0 shows entry 1 (40 wide): (123 - 40) / 2 = 41.5, rounded away from zero.
    EXPECT_FLOAT_EQ(dest(kSprites[1]).left, 52.0f);
    EXPECT_FLOAT_EQ(dest(kSprites[1]).top, 135.0f);
    // Line 1 shows entry 0 (61 wide): 31.
    EXPECT_FLOAT_EQ(dest(kSprites[0]).left, 41.0f);
    EXPECT_FLOAT_EQ(dest(kSprites[0]).top, 162.0f);
}

}  // namespace
}  // namespace tessaly
