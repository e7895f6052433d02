#include "event/event_runner.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/debug_dump.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "event/event_commands.hpp"
#include "event/event_pack.hpp"
#include "event/runner_fixture.hpp"
#include "field/camera.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using test::EventRunner;
using test::glyphs;
using test::kTestScript;
using test::tick;
using test::tick_press;
using test::ticks;

TEST_F(EventRunner, EmptyScriptEndsOneFrameAfterTheStart) {
    start("");
    EXPECT_EQ(event_runner_find()->state, &runner_start);
    tick();
    ASSERT_TRUE(running());
    EXPECT_EQ(event_runner_find()->state, &runner_run);
    tick();
    EXPECT_FALSE(running());
}

TEST_F(EventRunner, StartRefusedWhileAnEventRuns) {
    start("#5,100,");
    EXPECT_EQ(event_start(player_, 2), 0);
    EXPECT_EQ(event_runner_find()->square_index, 0);
}

TEST_F(EventRunner, SquareOutsideTheBoardRunsSquareOne) {
    g_game.event_stage[0] = 1;
    g_game.event_script[0][1] = 7;
    g_game.event_script[1][0] = 8;
    for (int square : {0, -3, 5, 61}) {
        ASSERT_EQ(event_start(player_, square), 1) << square;
        const EventRunnerRecord* r = event_runner_find();
        EXPECT_EQ(r->square_index, 0) << square;
        EXPECT_EQ(r->script_number, 7) << square;
        task_pool()[kSlotEventRunner].in_use = 0;
    }
    ASSERT_EQ(event_start(player_, 2), 1);
    EXPECT_EQ(event_runner_find()->script_number, 8);
}

TEST_F(EventRunner, FreshRunnerShowsNoWindowAndNoPortrait) {
    const EventRunnerRecord& r = start("");
    EXPECT_EQ(r.alive, 1);
    EXPECT_EQ(r.portrait, kPortraitNone);
    EXPECT_EQ(r.window_shown, 0);
    EXPECT_EQ(r.player, player_);
}

TEST_F(EventRunner, OneCommandPerFrameThenTheEnd) {
    EventRunnerRecord& r = start("#1,1,#3,5,#1,0,#99,#3,7,");
    tick();
    tick();
    EXPECT_EQ(r.window_shown, 1);
    EXPECT_EQ(r.portrait, kPortraitNone);
    tick();
    EXPECT_EQ(r.portrait, 5);
    tick();
    EXPECT_EQ(r.window_shown, 0);
    tick();
    EXPECT_FALSE(running());
    EXPECT_EQ(r.portrait, 5);
}

TEST_F(EventRunner, NumbersWithoutACommandArePassedOver) {
    EventRunnerRecord& r = start("#8,1,1,#23,#50,3,#100,#3,2,");
    ticks(5);
    EXPECT_EQ(r.portrait, kPortraitNone);
    EXPECT_TRUE(running());
    tick();
    EXPECT_EQ(r.portrait, 2);
    tick();
    EXPECT_FALSE(running());
}

TEST_F(EventRunner, TheScriptEndsAtItsLastByte) {
    EventRunnerRecord& r = start(std::string(kEventScriptTextMax, 'x'));
    // A "#" on the last byte would start a command whose number lies past the buffer.
    g_game
        .event_buffer[static_cast<size_t>(kTestScript) * kEventScriptBytes + kEventScriptTextMax] =
        '#';
    ticks(2);
    EXPECT_FALSE(running());
    EXPECT_EQ(r.read_position, kEventScriptTextMax);
}

TEST_F(EventRunner, MessageRevealsOneGlyphAFrameThenWaitsForConfirm) {
    EventRunnerRecord& r = start("#2,2," + glyphs(3) + "0,9,0,#3,4,");
    ticks(2);
    ASSERT_EQ(r.state, &runner_message);
    EXPECT_EQ(r.shown_lines[0][0], 0);
    // Four glyphs and three line ends: seven frames.
    ticks(6);
    EXPECT_EQ(r.reveal_line, 2);
    tick();
    EXPECT_EQ(r.reveal_line, 3);
    EXPECT_EQ(r.shown_lines[0][2], 3);
    EXPECT_EQ(r.shown_lines[1][0], 9);
    ticks(100);
    EXPECT_EQ(r.state, &runner_message);
    tick_press({kKeyZ});
    EXPECT_TRUE(sound_requested(kSoundCursor));
    EXPECT_EQ(r.state, &runner_run);
    tick();
    EXPECT_EQ(r.portrait, 4);
}

TEST_F(EventRunner, NoKeyShortensTheReveal) {
    EventRunnerRecord& r = start("#2,1," + glyphs(5) + "0,");
    ticks(2);
    tick_press({kKeyEnter});
    tick_press({kKeyZ});
    EXPECT_EQ(r.state, &runner_message);
    EXPECT_EQ(r.reveal_glyph, 2);
}

TEST_F(EventRunner, ComputerMessageStandsThirtyOneFrames) {
    player_->computer = 1;
    EventRunnerRecord& r = start("#2,1,5,0,#3,6,");
    ticks(2);
    // One glyph and three line ends.
    ticks(4);
    ASSERT_EQ(r.reveal_line, 3);
    EXPECT_EQ(r.countdown, kComputerMessageFrames);
    int revealed_frames = 1;
    while (r.portrait != 6 && revealed_frames < 100) {
        tick();
        if (r.portrait != 6) ++revealed_frames;
    }
    EXPECT_EQ(revealed_frames, 31);
}

TEST_F(EventRunner, LineOfTwentyFourGlyphsConsumesItsTerminator) {
    EventRunnerRecord& r =
        start("#2,2," + glyphs(24) + "0,7,0,#2,2," + glyphs(24, 100) + "55,8,0,");
    ticks(2);
    EXPECT_EQ(r.source_lines[0][23], 24);
    EXPECT_EQ(r.source_lines[1][0], 7);
    EXPECT_EQ(r.source_lines[1][1], 0);
    // 25 glyphs and three line ends.
    ticks(27);
    EXPECT_EQ(r.reveal_line, 2);
    tick();
    EXPECT_EQ(r.reveal_line, 3);
    tick_press({kKeyEnter});
    tick();
    // The number after the 24th glyph is dropped, whatever it is.
    EXPECT_EQ(r.source_lines[0][23], 123);
    EXPECT_EQ(r.source_lines[1][0], 8);
}

TEST_F(EventRunner, MessageOfMoreThanThreeLinesKeepsThree) {
    EventRunnerRecord& r = start("#2,5,1,0,2,0,3,0,4,0,5,0,#3,1,");
    ticks(2);
    EXPECT_EQ(r.source_lines[2][0], 3);
    ticks(6);
    ASSERT_EQ(r.reveal_line, 3);
    tick_press({kKeyEnter});
    // The lines left over are passed over by the search for the next command.
    tick();
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventRunner, ChoiceDownTwiceKeepsOptionOneWithTwoSounds) {
    EventRunnerRecord& r = start("#4,1,0,2,0,3,0,yes,no,#3,1,#99,yes#3,2,#99,no#3,3,#99,");
    ticks(2);
    ASSERT_EQ(r.state, &runner_choice);
    EXPECT_EQ(r.shown_lines[1][0], 2);
    EXPECT_STREQ(r.labels[0], "yes");
    EXPECT_STREQ(r.labels[1], "no");
    tick_press({kKeyDown});
    EXPECT_TRUE(sound_requested(kSoundCursor));
    EXPECT_EQ(r.choice, 1);
    tick_press({kKeyDown});
    EXPECT_TRUE(sound_requested(kSoundCursor));
    EXPECT_EQ(r.choice, 1);
    tick_press({kKeyEnter});
    EXPECT_TRUE(sound_requested(kSoundCursor));
    tick();
    EXPECT_EQ(r.portrait, 3);
    tick();
    EXPECT_FALSE(running());
}

TEST_F(EventRunner, ChoiceUpAgainAnswersOptionZero) {
    EventRunnerRecord& r = start("#4,1,0,2,0,3,0,yes,no,#99,yes#3,2,#99,no#3,3,#99,");
    ticks(2);
    tick_press({kKeyDown});
    tick_press({kKeyUp});
    EXPECT_EQ(r.choice, 0);
    tick_press({kKeyZ});
    tick();
    EXPECT_EQ(r.portrait, 2);
}

TEST_F(EventRunner, ComputerTakesOptionZeroAfterTwentyFrames) {
    player_->computer = 1;
    EventRunnerRecord& r = start("#4,1,0,2,0,3,0,yes,no,#99,no#3,3,#99,yes#3,2,#99,");
    ticks(2);
    ASSERT_EQ(r.state, &runner_choice);
    ticks(19);
    EXPECT_EQ(r.state, &runner_choice);
    tick();
    EXPECT_EQ(r.state, &runner_run);
    EXPECT_TRUE(sound_requested(kSoundCursor));
    tick();
    EXPECT_EQ(r.portrait, 2);
}

TEST_F(EventRunner, LabelThatAlsoStandsEarlierIsFoundAfterTheCommand) {
    EventRunnerRecord& r = start("yes#3,9,#4,1,0,2,0,3,0,yes,no,#99,yes#3,2,#99,");
    ticks(3);
    ASSERT_EQ(r.state, &runner_choice);
    tick_press({kKeyEnter});
    tick();
    EXPECT_EQ(r.portrait, 2);
}

TEST_F(EventRunner, MissingLabelEndsTheEventCleanly) {
    EventRunnerRecord& r = start("#4,1,0,2,0,3,0,yes,no,#3,2,no#3,3,");
    ticks(2);
    tick_press({kKeyEnter});
    EXPECT_EQ(r.read_position, kEventScriptTextMax);
    tick();
    EXPECT_FALSE(running());
    EXPECT_EQ(r.portrait, kPortraitNone);
}

TEST_F(EventRunner, LongLabelIsCutToNineteenBytes) {
    const std::string longer = "abcdefghijklmnopqrstuvwxyz";
    EventRunnerRecord& r = start("#4,1,0,2,0,3,0," + longer + ",no,#99," + longer + "#3,4,");
    ticks(2);
    EXPECT_EQ(std::string(r.labels[0]), longer.substr(0, kLabelTextMax));
    EXPECT_STREQ(r.labels[1], "no");
    tick_press({kKeyEnter});
    tick();
    EXPECT_EQ(r.portrait, 4);
}

TEST_F(EventRunner, FrameWaitOfZeroWaitsOneFrame) {
    EventRunnerRecord& r = start("#5,0,#3,1,");
    ticks(2);
    EXPECT_EQ(r.state, &runner_frame_wait);
    tick();
    EXPECT_EQ(r.state, &runner_run);
    tick();
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventRunner, FrameWaitCountsItsFrames) {
    EventRunnerRecord& r = start("#5,10,#3,1,");
    ticks(2);
    ticks(9);
    EXPECT_EQ(r.state, &runner_frame_wait);
    tick();
    EXPECT_EQ(r.state, &runner_run);
    EXPECT_EQ(r.wait_frames, 0);
}

TEST_F(EventRunner, CameraPanMovesTheTargetHalfAUnitAFrame) {
    player_->state = &event_wait;
    ASSERT_EQ(camera_create(0.0f, kPlayerHeight, 0.0f, 270.0f, 60.0f, player_), 1);
    camera_hold();
    CameraRecord* c = camera_find();
    const Vec3 target = c->target;
    EventRunnerRecord& r = start("#16,90,4,#3,1,");
    ticks(2);
    EXPECT_EQ(r.state, &runner_camera_pan);
    ticks(3);
    EXPECT_FLOAT_EQ(c->target.z, target.z + 1.5f);
    tick();
    EXPECT_FLOAT_EQ(c->target.z, target.z + 2.0f);
    EXPECT_FLOAT_EQ(c->target.x, target.x);
    EXPECT_EQ(r.state, &runner_run);
}

TEST_F(EventRunner, CameraPanWaitsForACamera) {
    player_->state = &event_wait;
    EventRunnerRecord& r = start("#16,0,2,");
    ticks(30);
    EXPECT_EQ(r.state, &runner_camera_pan);
    EXPECT_EQ(r.pan_frames, 2);
    ASSERT_EQ(camera_create(0.0f, kPlayerHeight, 0.0f, 270.0f, 60.0f, player_), 1);
    camera_hold();
    ticks(2);
    EXPECT_EQ(r.state, &runner_run);
}

TEST_F(EventRunner, PlayersStandStillWhileTheEventRuns) {
    player_->state = &turn_start;
    start("#5,20,");
    ticks(10);
    EXPECT_EQ(player_->state, &turn_start);
    frames_to_end();
    tick();
    EXPECT_EQ(player_->state, &die_spin);
}

TEST_F(EventRunner, ScriptNumberPastTheBuffersEndsTheEvent) {
    g_game.event_script[0][0] = kEventScriptBuffers;
    ASSERT_EQ(event_start(player_, 1), 1);
    ticks(2);
    EXPECT_FALSE(running());
}

TEST_F(EventRunner, ReadLineStopsAtItsZeroOrAfterTwentyFourGlyphs) {
    const std::string text = "3,4,0,9,";
    unsigned char script[kEventScriptBytes] = {};
    std::memcpy(script, text.data(), text.size());
    int32_t line[kMessageLineGlyphs] = {};
    int32_t p = 0;
    script_read_line(p, script, line);
    EXPECT_EQ(line[0], 3);
    EXPECT_EQ(line[1], 4);
    EXPECT_EQ(line[2], 0);
    EXPECT_EQ(p, 6);
}

TEST_F(EventRunner, ReadLabelStopsAtTheEndOfTheText) {
    const std::string text = "abc";
    unsigned char script[kEventScriptBytes] = {};
    std::memcpy(script, text.data(), text.size());
    char label[kLabelBytes];
    int32_t p = 0;
    script_read_label(p, script, label);
    EXPECT_STREQ(label, "abc");
    EXPECT_EQ(p, 3);
}

TEST_F(EventRunner, DumpShowsTheRunnersStateAndText) {
    start("#1,1,#2,1,1,2,0,");
    ticks(3);
    ticks(5);
    const std::string text = debug_dump_text();
    EXPECT_NE(text.find("event square 1 script 45 state message read 16 window 1 portrait 100"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("event line 0 \xe3\x81\x82\xe3\x81\x84\n"), std::string::npos) << text;
    tick_press({kKeyEnter});
    ticks(2);
    ASSERT_FALSE(running());
    EXPECT_EQ(debug_dump_text().find("event square"), std::string::npos);
}

}  // namespace
}  // namespace tessaly
