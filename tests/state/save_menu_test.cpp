#include "state/save_menu.hpp"

#include <gtest/gtest.h>
#include <sys/time.h>

#include <cmath>
#include <ctime>
#include <fstream>
#include <string>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "platform/audio.hpp"
#include "scene/title.hpp"
#include "state/new_game.hpp"
#include "state/save_file.hpp"
#include "support/save_scratch.hpp"

namespace tessaly {
namespace {

using test::sounds_played;
using test::tick;
using test::tick_press;

SaveMenuRecord& menu() {
    return task_record<SaveMenuRecord>(&task_pool()[kSlotSaveMenu]);
}

bool menu_open() {
    return task_pool()[kSlotSaveMenu].in_use && task_pool()[kSlotSaveMenu].kind == kKindSaveMenu;
}

std::string path_of(int slot) {
    char p[600];
    save_file_path(slot, p, sizeof p);
    return p;
}

// A slot file holding only an achievement summary, last written at the given local time.
void slot_file(int slot, int32_t summary, int year) {
    std::ofstream out(path_of(slot), std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 4; ++i)
        out.put(static_cast<char>(static_cast<uint32_t>(summary) >> (8 * i)));
    out.close();
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = 2;
    when.tm_mday = 4;
    when.tm_hour = 5;
    when.tm_min = 6;
    when.tm_isdst = -1;
    const std::time_t t = std::mktime(&when);
    const struct timeval times[2] = {{t, 0}, {t, 0}};
    ASSERT_EQ(::utimes(path_of(slot).c_str(), times), 0);
}

struct SaveMenu : test::GameFixture {
    test::SaveScratch scratch;
    void SetUp() override {
        test::GameFixture::SetUp();
        scratch.open();
    }
    void TearDown() override {
        scratch.close();
        test::GameFixture::TearDown();
    }
    void board_in_play() { test::board_in_play(0); }
    // Opens the menu and lets its first frame pass.
    void open(int32_t mode, int32_t caller) {
        ASSERT_EQ(save_menu_open(mode, caller, 120, 4, 4), 1);
        tick();
    }
    // Slot, Enter, then "go ahead" and Enter.
    void go(int slot) {
        while (menu().cursor != slot) tick_press({kKeyDown});
        tick_press({kKeyEnter});
        tick_press({kKeyDown});
        ASSERT_EQ(menu().choice, kSaveChoiceGo);
        platform::audio_record_clear();
        tick_press({kKeyEnter});
    }
};

TEST_F(SaveMenu, TheCursorWrapsBothWays) {
    open(kSaveMenuLoad, kSaveCallerTitle);
    tick_press({kKeyUp});
    EXPECT_EQ(menu().cursor, 4);
    tick_press({kKeyDown});
    EXPECT_EQ(menu().cursor, 0);
    for (int i = 0; i < 4; ++i) tick_press({kKeyDown});
    EXPECT_EQ(menu().cursor, 4);
    tick_press({kKeyDown});
    EXPECT_EQ(menu().cursor, 0);
}

TEST_F(SaveMenu, UpAndDownInTheSameFrameMoveUpOnce) {
    open(kSaveMenuLoad, kSaveCallerTitle);
    tick_press({kKeyUp, kKeyDown});
    EXPECT_EQ(menu().cursor, 4);
}

TEST_F(SaveMenu, TheFirstFrameReadsNoKeys) {
    ASSERT_EQ(save_menu_open(kSaveMenuLoad, kSaveCallerTitle, 120, 4, 4), 1);
    tick_press({kKeyDown});
    EXPECT_EQ(menu().cursor, 0);
    EXPECT_EQ(menu().step, &save_menu_slot_select);
}

TEST_F(SaveMenu, TheConfirmationTogglesAndBacksOut) {
    open(kSaveMenuSave, kSaveCallerFieldMenu);
    tick_press({kKeyZ});
    ASSERT_EQ(menu().step, &save_menu_slot_confirm);
    EXPECT_EQ(menu().choice, kSaveChoiceBack);
    tick_press({kKeyUp});
    EXPECT_EQ(menu().choice, kSaveChoiceGo);
    tick_press({kKeyUp});
    EXPECT_EQ(menu().choice, kSaveChoiceBack);
    tick_press({kKeyDown});
    tick_press({kKeyDown});
    EXPECT_EQ(menu().choice, kSaveChoiceBack);
    tick_press({kKeyEnter});
    EXPECT_EQ(menu().step, &save_menu_slot_select);
    EXPECT_EQ(save_slot_exists(0), 0);
}

TEST_F(SaveMenu, ASecondMenuIsRefused) {
    open(kSaveMenuLoad, kSaveCallerTitle);
    EXPECT_EQ(save_menu_open(kSaveMenuSave, kSaveCallerPause, 300, 8, 246), 0);
    EXPECT_EQ(menu().mode, kSaveMenuLoad);
}

TEST_F(SaveMenu, TheScanReadsEachSlotsSummaryAndLocalTime) {
    slot_file(1, 0b1001, 2003);
    slot_file(4, 0b0110, 2011);
    open(kSaveMenuLoad, kSaveCallerTitle);
    EXPECT_EQ(menu().slots[0].exists, 0);
    EXPECT_EQ(menu().slots[1].exists, 1);
    EXPECT_EQ(menu().slots[1].summary, 0b1001);
    EXPECT_EQ(menu().slots[1].year, 2003);
    EXPECT_EQ(menu().slots[1].month, 3);
    EXPECT_EQ(menu().slots[1].day, 4);
    EXPECT_EQ(menu().slots[1].hour, 5);
    EXPECT_EQ(menu().slots[1].minute, 6);
    EXPECT_EQ(menu().slots[4].summary, 0b0110);
    EXPECT_EQ(menu().slots[4].year, 2011);
}

TEST_F(SaveMenu, SavingOverASlotUpdatesItsTimeAndBadgesAtOnce) {
    board_in_play();
    slot_file(2, 0, 2001);
    test::player_at_slot(11).achievement_bits = 0b0101;
    open(kSaveMenuSave, kSaveCallerFieldMenu);
    ASSERT_EQ(menu().slots[2].year, 2001);
    go(2);
    EXPECT_EQ(menu().step, &save_menu_saved_notice);
    EXPECT_EQ(sounds_played(), "play 9");
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(menu().slots[2].year, local.tm_year + 1900);
    EXPECT_EQ(menu().slots[2].summary, 0b0101);
    tick_press({kKeyEnter});
    EXPECT_EQ(menu().step, &save_menu_slot_select);
}

TEST_F(SaveMenu, AFailedSaveShowsTheFailureNoticeAndKeepsTheOldFile) {
    board_in_play();
    slot_file(0, 0b1111, 2002);
    scratch.make_unwritable(path_of(0));
    open(kSaveMenuSave, kSaveCallerFieldMenu);
    go(0);
    EXPECT_EQ(menu().step, &save_menu_save_failed_notice);
    EXPECT_EQ(sounds_played(), "play 4");
    EXPECT_EQ(menu().slots[0].summary, 0b1111);
    EXPECT_EQ(menu().slots[0].year, 2002);
    tick_press({kKeyZ});
    EXPECT_EQ(menu().step, &save_menu_slot_select);
}

TEST_F(SaveMenu, LoadingAnEmptySlotShowsTheFailedNoticeWithTheGameUntouched) {
    board_in_play();
    task_signal_all(kSignalStopUpdate);
    ASSERT_EQ(save_menu_open(kSaveMenuLoad, kSaveCallerPause, 120, 4, 4), 1);
    tick();
    go(3);
    EXPECT_EQ(menu().step, &save_menu_load_failed_notice);
    EXPECT_EQ(sounds_played(), "play 4");
    EXPECT_EQ(task_kind_exists(kKindPlayer), 1);
    tick_press({kKeyEnter});
    EXPECT_EQ(menu().step, &save_menu_slot_select);
}

TEST_F(SaveMenu, ALoadFromTheTitleLeavesOnlyTheBoard) {
    board_in_play();
    test::player_at_slot(10).money = 4242;
    ASSERT_EQ(save_game(1), 1);
    task_end_all();
    open(kSaveMenuLoad, kSaveCallerTitle);
    go(1);
    EXPECT_FALSE(menu_open());
    EXPECT_EQ(test::player_at_slot(10).money, 4242);
    EXPECT_EQ(test::player_at_slot(10).state, &die_spin);
    int live = 0;
    for (int i = 0; i < kTaskSlots; ++i) live += task_pool()[i].in_use;
    EXPECT_EQ(live, 5);
}

TEST_F(SaveMenu, EscGoesBackToWhereTheMenuCameFrom) {
    open(kSaveMenuLoad, kSaveCallerTitle);
    tick_press({kKeyEsc});
    EXPECT_FALSE(menu_open());
    EXPECT_EQ(task_kind_exists(kKindTitle), 1);

    task_end_all();
    board_in_play();
    ASSERT_EQ(save_menu_open_frozen(kSaveMenuLoad, kSaveCallerPause, 120), 1);
    EXPECT_EQ(task_pool()[10].update, 0);
    tick();
    tick_press({kKeyEsc});
    EXPECT_FALSE(menu_open());
    EXPECT_EQ(task_pool()[10].update, 1) << "the frozen game is resumed";

    ASSERT_EQ(save_menu_open_frozen(kSaveMenuSave, kSaveCallerFieldMenu, 300), 1);
    tick();
    tick_press({kKeyEsc});
    EXPECT_FALSE(menu_open());
    EXPECT_EQ(task_pool()[10].update, 0) << "the field menu resumes the game, not this menu";
    EXPECT_EQ(task_kind_exists(kKindTitle), 0);
}

}  // namespace
}  // namespace tessaly

#include "support/recording.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

constexpr Rect kSlotEmptyPicture = {282, 638, 528, 659};
constexpr Rect kYearMark = {262, 924, 282, 944};
constexpr Rect kMinuteMark = {344, 924, 364, 944};
constexpr Rect kBadge0 = {1076, 744, 1095, 764};
constexpr Rect kBadge2 = {1014, 789, 1033, 809};
constexpr Rect kBadge3 = {1014, 744, 1034, 764};
constexpr Rect kSlashPicture = {607, 612, 618, 632};
constexpr Rect kArrow = {890, 604, 901, 625};
constexpr Rect kSaveFailed = {604, 674, 881, 702};
constexpr Rect kLoadCaption = {0, 1007, 134, 1032};
constexpr Rect kHelpForFieldMenu = {507, 696, 600, 715};
constexpr Rect kHelpElsewhere = {305, 721, 479, 746};
constexpr Rect kBackdrop = {1926, 0, 1958, 32};

struct SaveMenuDraw : test::RecordingFixture {
    test::SaveScratch scratch;
    void SetUp() override {
        test::RecordingFixture::SetUp();
        scratch.open();
    }
    void TearDown() override {
        scratch.close();
        test::RecordingFixture::TearDown();
    }
    Rect dest_of(const Rect& source, int nth = 0) {
        int seen = 0;
        for (const auto& d : test::recorded()) {
            if (!test::draw_cuts(d, source, kAtlasWidth, kAtlasHeight)) continue;
            if (seen++ == nth) return test::recorded_dest(d);
        }
        ADD_FAILURE() << "not drawn";
        return {};
    }
};

TEST_F(SaveMenuDraw, FromTheTitleEmptySlotsBadgesAndTheirCount) {
    const test::ReferenceDrawing reference;  // the backdrop a quad a cell
    slot_file(1, 0b1001, 2024);
    ASSERT_EQ(save_menu_open(kSaveMenuLoad, kSaveCallerTitle, 120, 4, 4), 1);
    tick();
    tick_press({kKeyDown});
    test::recorded_reset();
    test::draw_frame();
    EXPECT_EQ(test::count_atlas_draws(kBackdrop), 300);
    EXPECT_EQ(test::count_atlas_draws(kSlotEmptyPicture), 4);
    EXPECT_FLOAT_EQ(dest_of(kSlotEmptyPicture).left, 84.0f);
    EXPECT_FLOAT_EQ(dest_of(kSlotEmptyPicture).top, 143.0f);
    EXPECT_FLOAT_EQ(dest_of(kSlotEmptyPicture, 1).top, 199.0f);  // slot 2
    // Slot 1: a date, then crests 0 and 3 of its summary and "2 / 4".
    EXPECT_EQ(test::count_atlas_draws(kYearMark), 1);
    EXPECT_FLOAT_EQ(dest_of(kYearMark).top, 171.0f);
    EXPECT_GT(dest_of(kMinuteMark).left, dest_of(kYearMark).left);
    EXPECT_FLOAT_EQ(dest_of(kBadge0).left, 388.0f);
    EXPECT_FLOAT_EQ(dest_of(kBadge0).top, 173.0f);
    EXPECT_FLOAT_EQ(dest_of(kBadge3).left, 388.0f + 66.0f);
    EXPECT_EQ(test::count_atlas_draws(kBadge2), 0);
    EXPECT_FLOAT_EQ(dest_of(kSlashPicture).left, 503.0f);
    EXPECT_FLOAT_EQ(dest_of(kArrow).top, 120.0f + 21.0f + 28.0f);
    EXPECT_FLOAT_EQ(dest_of(kLoadCaption).top, 90.0f);
    EXPECT_FLOAT_EQ(dest_of(kHelpElsewhere).left, 4.0f);
}

TEST_F(SaveMenuDraw, FromTheFieldMenuNoBackdropAndItsOwnHelp) {
    ASSERT_EQ(save_menu_open(kSaveMenuSave, kSaveCallerFieldMenu, 300, 8, 246), 1);
    test::draw_frame();
    EXPECT_EQ(test::count_atlas_draws(kBackdrop), 0);
    EXPECT_FLOAT_EQ(dest_of(kHelpForFieldMenu).left, 8.0f);
    EXPECT_FLOAT_EQ(dest_of(kHelpForFieldMenu).top, 246.0f);
}

TEST_F(SaveMenuDraw, TheFailureNoticeStandsCentredUnderThePanelTop) {
    ASSERT_EQ(save_menu_open(kSaveMenuSave, kSaveCallerFieldMenu, 300, 8, 246), 1);
    task_record<SaveMenuRecord>(&task_pool()[kSlotSaveMenu]).step = &save_menu_save_failed_notice;
    test::draw_frame();
    EXPECT_FLOAT_EQ(dest_of(kSaveFailed).top, 360.0f);
    EXPECT_FLOAT_EQ(dest_of(kSaveFailed).left, std::round((640.0f - 277.0f) / 2));
}

}  // namespace
}  // namespace tessaly
