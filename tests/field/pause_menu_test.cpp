#include "field/pause_menu.hpp"

#include <gtest/gtest.h>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "field/camera.hpp"
#include "platform/audio.hpp"
#include "state/new_game.hpp"
#include "state/save_menu.hpp"

namespace tessaly {
namespace {

using test::sounds_played;
using test::tick;
using test::tick_press;

PauseMenuRecord& pause() {
    return task_record<PauseMenuRecord>(&task_pool()[kSlotPauseMenu]);
}

bool pause_open() {
    return task_pool()[kSlotPauseMenu].in_use != 0;
}

int32_t entry_under_cursor() {
    return pause().entries[pause().cursor];
}

struct PauseMenu : test::GameFixture {
    void board_in_play() { test::board_in_play(0); }
    // The board with the human on its walk, where Shift opens the pause menu.
    void board_walking() {
        board_in_play();
        test::player_at_slot(10).state = &choose_direction;
    }
    void open() {
        board_walking();
        ASSERT_EQ(pause_menu_open(), 1);
        tick();
    }
};

TEST_F(PauseMenu, OpeningFreezesTheBoardAndASecondOpenIsRefused) {
    board_walking();
    ASSERT_EQ(pause_menu_open(), 1);
    for (int s : {kSlotMap, 10, 11, 12, kSlotCamera}) EXPECT_EQ(task_pool()[s].update, 0) << s;
    EXPECT_EQ(task_pool()[kSlotPauseMenu].kind, kKindPauseMenu);
    EXPECT_EQ(pause().count, 3);
    EXPECT_EQ(pause_menu_open(), 0);
}

TEST_F(PauseMenu, TheCursorWrapsBothWays) {
    open();
    tick_press({kKeyUp});
    EXPECT_EQ(pause().cursor, 2);
    tick_press({kKeyDown});
    EXPECT_EQ(pause().cursor, 0);
    tick_press({kKeyDown});
    tick_press({kKeyDown});
    tick_press({kKeyDown});
    EXPECT_EQ(pause().cursor, 0);
}

TEST_F(PauseMenu, UpAndDownInTheSameFrameOnlyMoveDown) {
    open();
    tick_press({kKeyUp, kKeyDown});
    EXPECT_EQ(pause().cursor, 1);
}

TEST_F(PauseMenu, QuitThenNoReturnsToTheMainListOnItsFirstLine) {
    open();
    tick_press({kKeyUp});
    ASSERT_EQ(entry_under_cursor(), kPauseQuit);
    tick_press({kKeyEnter});
    EXPECT_EQ(pause().count, 2);
    EXPECT_EQ(pause().cursor, 0);
    EXPECT_EQ(entry_under_cursor(), kPauseQuitNo);
    tick_press({kKeyZ});
    EXPECT_EQ(pause().count, 3);
    EXPECT_EQ(pause().cursor, 0);
    EXPECT_EQ(entry_under_cursor(), kPauseResume);
    EXPECT_EQ(task_kind_exists(kKindPlayer), 1);
}

TEST_F(PauseMenu, ResumeUnfreezesTheBoard) {
    open();
    platform::audio_record_clear();
    tick_press({kKeyEnter});
    EXPECT_EQ(sounds_played(), "play 8");
    EXPECT_FALSE(pause_open());
    for (int s : {kSlotMap, 10, 11, 12, kSlotCamera}) EXPECT_EQ(task_pool()[s].update, 1) << s;
}

TEST_F(PauseMenu, LoadOpensTheLoadMenuOverTheFrozenBoard) {
    open();
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    EXPECT_FALSE(pause_open());
    ASSERT_EQ(task_kind_exists(kKindSaveMenu), 1);
    const SaveMenuRecord& m = task_record<SaveMenuRecord>(&task_pool()[kSlotSaveMenu]);
    EXPECT_EQ(m.mode, kSaveMenuLoad);
    EXPECT_EQ(m.caller, kSaveCallerPause);
    EXPECT_EQ(m.panel_y, 120.0f);
    EXPECT_EQ(task_pool()[10].update, 0);
    EXPECT_EQ(task_pool()[kSlotSaveMenu].update, 1);
}

TEST_F(PauseMenu, QuitThenYesGoesToTheTitleAlone) {
    open();
    tick_press({kKeyUp});
    tick_press({kKeyEnter});
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    EXPECT_EQ(task_kind_exists(kKindTitle), 1);
    int live = 0;
    for (int i = 0; i < kTaskSlots; ++i) live += task_pool()[i].in_use;
    EXPECT_EQ(live, 1);
}

// Shift on the board, read by the camera.
TEST_F(PauseMenu, ShiftDoesNothingWhileAnEventRuns) {
    new_game(0);
    ASSERT_EQ(task_kind_exists(kKindEventRunner), 1);
    platform::audio_record_clear();
    tick_press({kKeyShift});
    EXPECT_EQ(sounds_played(), "");
    EXPECT_FALSE(pause_open());
}

TEST_F(PauseMenu, ShiftOffTheDieSpinOpensThePauseMenu) {
    board_walking();
    platform::audio_record_clear();
    tick_press({kKeyShift});
    EXPECT_EQ(sounds_played(), "play 8");
    ASSERT_TRUE(pause_open());
    EXPECT_EQ(task_pool()[10].update, 0);
    // While the menu is open the board does not move.
    const PlayerRecord before = test::player_at_slot(10);
    tick_press({kKeyRight});
    EXPECT_EQ(test::player_at_slot(10).state, before.state);
}

TEST_F(PauseMenu, ShiftWhileAComputerPlaysOpensThePauseMenu) {
    board_in_play();
    CameraRecord* c = camera_find();
    ASSERT_NE(c, nullptr);
    c->followed = &test::player_at_slot(11);
    tick_press({kKeyShift});
    EXPECT_TRUE(pause_open());
}

}  // namespace
}  // namespace tessaly

#include "support/recording.hpp"

namespace tessaly {
namespace {

constexpr Rect kMainTitle = {1, 1034, 105, 1052};
constexpr Rect kConfirmTitle = {1, 1100, 122, 1120};
constexpr Rect kResumeSprite = {127, 1101, 228, 1119};
constexpr Rect kYesSprite = {127, 1079, 167, 1097};

using PauseMenuDraw = test::RecordingFixture;

TEST_F(PauseMenuDraw, MainListThenTheConfirmationInItsOwnPanel) {
    ASSERT_EQ(pause_menu_open(), 1);
    tick();
    test::draw_frame();
    ASSERT_GE(test::find_atlas_draw(kMainTitle), 0);
    // The 104-wide title centred on the 124-wide panel at (0, 100).
    EXPECT_FLOAT_EQ(test::recorded_dest(test::recorded()[test::find_atlas_draw(kMainTitle)]).left,
                    10.0f);
    EXPECT_EQ(test::count_atlas_draws(kResumeSprite), 1);
    EXPECT_EQ(test::count_atlas_draws(kYesSprite), 0);
    tick_press({kKeyUp});
    tick_press({kKeyEnter});
    test::recorded_reset();
    test::draw_frame();
    EXPECT_EQ(test::count_atlas_draws(kMainTitle), 0);
    EXPECT_EQ(test::count_atlas_draws(kConfirmTitle), 1);
    EXPECT_EQ(test::count_atlas_draws(kYesSprite), 1);
    EXPECT_EQ(test::count_atlas_draws(kResumeSprite), 0);
}

}  // namespace
}  // namespace tessaly
