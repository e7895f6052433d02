#include "scene/options.hpp"

#include <gtest/gtest.h>

#include <string>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "platform/audio.hpp"
#include "render/device.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"
#include "state/requests.hpp"
#include "support/recording.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;

Task* slot(int s) {
    return &task_pool()[s];
}
OptionsRecord& options() {
    return task_record<OptionsRecord>(slot(kSlotOptions));
}

// Opens the scene and lets its first frame pass.
void open_options(int32_t caller) {
    const float y = caller == kOptionsFromTitle ? kOptionsPanelYTitle : kOptionsPanelYFieldMenu;
    ASSERT_EQ(options_open(y, caller), 1);
    tick();
}

// Moves the cursor from row 0 to row and toggles that value once.
void toggle_row(int row) {
    for (int i = 0; i < row; ++i) tick_press({kKeyDown});
    tick_press({kKeyRight});
    for (int i = 0; i < row; ++i) tick_press({kKeyUp});
}

struct OptionsFixture : test::BoardFixture {};
using OptionsMenu = OptionsFixture;

TEST_F(OptionsMenu, FirstFrameReadsNoKeys) {
    ASSERT_EQ(options_open(kOptionsPanelYTitle, kOptionsFromTitle), 1);
    tick_press({kKeyDown});
    EXPECT_EQ(options().cursor, 0);
    tick_press({kKeyDown});
    EXPECT_EQ(options().cursor, 1);
}

TEST_F(OptionsMenu, ASecondScreenIsRefused) {
    open_options(kOptionsFromTitle);
    EXPECT_EQ(options_open(kOptionsPanelYFieldMenu, kOptionsFromFieldMenu), 0);
    EXPECT_EQ(options().caller, kOptionsFromTitle);
}

TEST_F(OptionsMenu, CursorWrapsBothWays) {
    open_options(kOptionsFromTitle);
    tick_press({kKeyUp});
    EXPECT_EQ(options().cursor, 7);
    tick_press({kKeyDown});
    EXPECT_EQ(options().cursor, 0);
}

TEST_F(OptionsMenu, UpWinsOverDownInTheSameFrame) {
    open_options(kOptionsFromTitle);
    tick_press({kKeyDown, kKeyUp});
    EXPECT_EQ(options().cursor, 7);
}

TEST_F(OptionsMenu, RightAndLeftEachToggleOnlyTheRowUnderTheCursor) {
    open_options(kOptionsFromTitle);
    tick_press({kKeyDown});
    tick_press({kKeyDown});
    tick_press({kKeyRight});
    EXPECT_EQ(options().values[2], 0);
    tick_press({kKeyLeft});
    EXPECT_EQ(options().values[2], 1);
    tick_press({kKeyLeft});
    for (int i = 0; i < kOptionRows; ++i) EXPECT_EQ(options().values[i], i == 2 ? 0 : 1);
    // Editing leaves the settings themselves alone until the scene closes.
    EXPECT_EQ(g_game.settings[kSettingDepth24], 1);
}

TEST_F(OptionsMenu, EscDoesNotCloseAndLosesNothing) {
    open_options(kOptionsFromTitle);
    toggle_row(kSettingBattles);
    tick_press({kKeyEsc});
    ASSERT_EQ(slot(kSlotOptions)->in_use, 1);
    EXPECT_EQ(options().values[kSettingBattles], 0);
    EXPECT_EQ(g_game.settings[kSettingBattles], 1);
}

TEST_F(OptionsMenu, ConfirmWritesAllEightAtOnceAndTheTitleComesBack) {
    open_options(kOptionsFromTitle);
    toggle_row(kSettingEffects);
    toggle_row(kSettingRouteHints);
    toggle_row(kSettingRivals);
    tick_press({kKeyZ});
    EXPECT_EQ(slot(kSlotOptions)->in_use, 0);
    EXPECT_EQ(task_kind_exists(kKindTitle), 1);
    const int32_t expected[kOptionRows] = {1, 1, 1, 1, 0, 0, 1, 0};
    for (int i = 0; i < kOptionRows; ++i) EXPECT_EQ(g_game.settings[i], expected[i]) << i;
}

TEST_F(OptionsMenu, OpeningNotesTheDisplaySettingsAsTheyAre) {
    g_game.settings[kSettingWindowMode] = 0;
    g_game.settings[kSettingPrevWindowMode] = 1;
    g_game.settings[kSettingVsync] = 0;
    open_options(kOptionsFromTitle);
    EXPECT_EQ(g_game.settings[kSettingPrevWindowMode], 0);
    EXPECT_EQ(g_game.settings[kSettingPrevVsync], 0);
    EXPECT_EQ(g_game.settings[kSettingPrevDepth24], 1);
    EXPECT_EQ(options().values[kSettingWindowMode], 0);
}

TEST_F(OptionsMenu, FromTheFieldMenuNoTitleOpens) {
    open_options(kOptionsFromFieldMenu);
    tick_press({kKeyEnter});
    EXPECT_EQ(slot(kSlotOptions)->in_use, 0);
    EXPECT_EQ(task_kind_exists(kKindTitle), 0);
}

// The rivals, with a board of three players where both computer players hold requests.
struct OptionsRivals : OptionsFixture {
    void SetUp() override {
        OptionsFixture::SetUp();
        test::lay_board({"o.o.o"});
        for (int c = 0; c < 3; ++c) {
            float x = 0, z = 0;
            test::cell_world(2 * c, 0, x, z);
            ASSERT_NE(player_create(x, kPlayerHeight, z, c != 0 ? 1 : 0, c), nullptr);
        }
        turn_ring_link();
        ASSERT_EQ(request_take(test::player_at_slot(11), 1), 1);
        ASSERT_EQ(request_take(test::player_at_slot(12), 2), 1);
        g_game.event_stage[8 - 1] = 2;  // request 1's square
    }
    PlayerRecord& human() { return test::player_at_slot(10); }
};

TEST_F(OptionsRivals, TurningThemOffLeavesTheHumanAloneAndFreesTheirRequests) {
    ASSERT_EQ(request_take(human(), 3), 1);
    open_options(kOptionsFromFieldMenu);
    toggle_row(kSettingRivals);
    tick_press({kKeyEnter});
    EXPECT_EQ(human().next_player, &human());
    EXPECT_EQ(test::player_at_slot(11).team_number, 0);
    EXPECT_EQ(test::player_at_slot(12).team_number, 0);
    EXPECT_EQ(g_game.requests[1].taken, 0);
    EXPECT_EQ(g_game.requests[2].holder, kNoHolder);
    EXPECT_EQ(g_game.event_stage[8 - 1], 0);
    // The human player's request is its own.
    EXPECT_EQ(human().team_number, 3);
    EXPECT_EQ(g_game.requests[3].taken, 1);
}

TEST_F(OptionsRivals, TurningThemOnAgainLinksAllThree) {
    g_game.settings[kSettingRivals] = 0;
    turn_ring_link();
    ASSERT_EQ(human().next_player, &human());
    open_options(kOptionsFromFieldMenu);
    toggle_row(kSettingRivals);
    tick_press({kKeyEnter});
    EXPECT_EQ(human().next_player, &test::player_at_slot(11));
    EXPECT_EQ(test::player_at_slot(11).next_player, &test::player_at_slot(12));
    EXPECT_EQ(test::player_at_slot(12).next_player, &human());
    EXPECT_EQ(test::player_at_slot(11).team_number, 1);
}

TEST_F(OptionsRivals, FromTheTitleTheRingIsNotTouched) {
    open_options(kOptionsFromTitle);
    toggle_row(kSettingRivals);
    tick_press({kKeyEnter});
    EXPECT_EQ(g_game.settings[kSettingRivals], 0);
    EXPECT_EQ(human().next_player, &test::player_at_slot(11));
    EXPECT_EQ(test::player_at_slot(11).team_number, 1);
}

// The device: a clear is counted by the recording device until it is created anew.
struct OptionsDevice : test::RecordingFixture {
    void SetUp() override {
        test::RecordingFixture::SetUp();
        apply_settings_defaults();
        platform::gpu_clear(0, 1);
        ASSERT_EQ(platform::gpu_recorded_clears(), 1);
    }
    bool recreated() const { return platform::gpu_recorded_clears() == 0; }
};

TEST_F(OptionsDevice, WindowModeToggledTwiceDoesNotRecreateTheDevice) {
    open_options(kOptionsFromTitle);
    tick_press({kKeyRight});
    tick_press({kKeyRight});
    tick_press({kKeyEnter});
    EXPECT_FALSE(recreated());
    EXPECT_TRUE(graphics_ready());
}

TEST_F(OptionsDevice, UnchangedDisplayNeverRecreatesWhateverElseChanged) {
    open_options(kOptionsFromTitle);
    for (int row = kSettingMusic; row < kOptionRows; ++row) toggle_row(row);
    tick_press({kKeyEnter});
    EXPECT_FALSE(recreated());
}

TEST_F(OptionsDevice, EachDisplaySettingRecreatesTheDevice) {
    for (int row : {kSettingWindowMode, kSettingVsync, kSettingDepth24}) {
        apply_settings_defaults();
        platform::gpu_clear(0, 1);
        open_options(kOptionsFromTitle);
        toggle_row(row);
        tick_press({kKeyEnter});
        EXPECT_TRUE(recreated()) << "row " << row;
        EXPECT_TRUE(graphics_ready());
        EXPECT_EQ(g_game.settings[row], 0);
        task_end_all();
    }
}

// The music, heard through the recording output.
struct OptionsMusic : test::SoundedBoardFixture {
    // The music operations logged since the last clear ("stop 14 loop 15").
    static std::string music_log() {
        std::string out;
        for (int i = 0; i < platform::audio_record_count(); ++i) {
            const platform::AudioEvent e = platform::audio_record_event(i);
            if (e.voice < kTrackTitle) continue;
            if (e.op != platform::AudioOp::Loop && e.op != platform::AudioOp::Play) continue;
            if (!out.empty()) out += " ";
            out += "loop " + std::to_string(e.voice);
        }
        return out;
    }
};

TEST_F(OptionsMusic, ClosingUnchangedRestartsTheTitleMusicFromItsStart) {
    music_play(kTrackTitle);
    open_options(kOptionsFromTitle);
    platform::audio_record_clear();
    tick_press({kKeyEnter});
    EXPECT_NE(platform::audio_record_text().find("rewind 14"), std::string::npos);
    // Once by the options, and the title that comes back starts it again.
    EXPECT_EQ(music_log(), "loop 14 loop 14");
}

TEST_F(OptionsMusic, FromTheFieldMenuTheBoardMusicStarts) {
    g_game.settings[kSettingMusic] = 0;
    open_options(kOptionsFromFieldMenu);
    toggle_row(kSettingMusic);
    platform::audio_record_clear();
    tick_press({kKeyEnter});
    EXPECT_EQ(music_log(), "loop 15");
}

TEST_F(OptionsMusic, MusicTurnedOffStopsEveryTrack) {
    music_play(kTrackBoard);
    open_options(kOptionsFromFieldMenu);
    toggle_row(kSettingMusic);
    platform::audio_record_clear();
    tick_press({kKeyEnter});
    EXPECT_EQ(music_log(), "");
    EXPECT_FALSE(platform::audio_voice_state(kTrackBoard).playing);
}

TEST_F(OptionsMusic, EveryKeyThatActsSoundsAndNoKeyIsSilent) {
    open_options(kOptionsFromFieldMenu);
    for (int k : {kKeyUp, kKeyDown, kKeyRight, kKeyLeft}) {
        platform::audio_record_clear();
        tick_press({k});
        EXPECT_EQ(test::sounds_played(), "play 8") << "key " << k;
    }
    platform::audio_record_clear();
    tick_press({kKeyEsc});
    tick();
    EXPECT_EQ(test::sounds_played(), "");
}

// Drawing.
struct OptionsDraw : test::RecordingFixture {
    void SetUp() override {
        test::RecordingFixture::SetUp();
        apply_settings_defaults();
    }
};

constexpr Rect kPanel = {1284, 243, 1924, 483};
constexpr Rect kArrow = {890, 604, 901, 625};
constexpr Rect kHeading = {1119, 1255, 1260, 1286};
constexpr Rect kBackdrop = {1926, 0, 1958, 32};
constexpr Rect kRivalsOn = {527, 1004, 660, 1024};
constexpr Rect kRivalsOff = {527, 977, 659, 997};
constexpr Rect kSoundOn = {255, 736, 290, 755};

Rect dest_of(const Rect& source) {
    const int i = test::find_atlas_draw(source);
    EXPECT_GE(i, 0);
    return i >= 0 ? test::recorded_dest(test::recorded()[i]) : Rect{-1, -1, -1, -1};
}

TEST_F(OptionsDraw, FromTheFieldMenuThePanelSitsLowWithoutBackdropOrHeading) {
    open_options(kOptionsFromFieldMenu);
    for (int i = 0; i < 3; ++i) tick_press({kKeyUp});
    tick_press({kKeyRight});  // rivals off
    test::recorded_reset();
    test::draw_frame();
    EXPECT_EQ(test::count_atlas_draws(kBackdrop), 0);
    EXPECT_EQ(test::count_atlas_draws(kHeading), 0);
    EXPECT_FLOAT_EQ(dest_of(kPanel).top, 240.0f);
    // Row 5 is under the cursor: 240 + 8 + 25 x 5.
    EXPECT_FLOAT_EQ(dest_of(kArrow).top, 373.0f);
    EXPECT_FLOAT_EQ(dest_of(kArrow).left, 80.0f);
    EXPECT_EQ(test::count_atlas_draws(kRivalsOn), 0);
    EXPECT_FLOAT_EQ(dest_of(kRivalsOff).left, 400.0f);
    EXPECT_FLOAT_EQ(dest_of(kRivalsOff).top, 373.0f);
    // Music and effects share their picture for "on".
    EXPECT_EQ(test::count_atlas_draws(kSoundOn), 2);
}

TEST_F(OptionsDraw, FromTheTitleTheBackdropFillsTheScreenUnderTheHeading) {
    const test::ReferenceDrawing reference;  // the backdrop a quad a cell
    open_options(kOptionsFromTitle);
    test::recorded_reset();
    test::draw_frame();
    EXPECT_EQ(test::count_atlas_draws(kBackdrop), 300);
    EXPECT_FLOAT_EQ(dest_of(kPanel).top, 100.0f);
    EXPECT_FLOAT_EQ(dest_of(kHeading).top, 50.0f);
    EXPECT_FLOAT_EQ(dest_of(kArrow).top, 108.0f);
}

}  // namespace
}  // namespace tessaly
