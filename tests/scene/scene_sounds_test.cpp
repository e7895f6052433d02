// The effects and music of the title's scenes and the character select, heard through the
// recording sound output.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "platform/audio.hpp"
#include "scene/instructions.hpp"
#include "scene/quit_confirm.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"
#include "state/character_select.hpp"

namespace tessaly {
namespace {

using test::sounds_played;
using test::tick;
using test::tick_press;

// The music tracks started looping since the last clear ("loop 14").
std::string music_started() {
    std::string out;
    for (int i = 0; i < platform::audio_record_count(); ++i) {
        const platform::AudioEvent e = platform::audio_record_event(i);
        if (e.voice < kTrackTitle) continue;
        if (e.op != platform::AudioOp::Play && e.op != platform::AudioOp::Loop) continue;
        if (!out.empty()) out += " ";
        out += "loop " + std::to_string(e.voice);
    }
    return out;
}

// The effects played in the frame of a press of these keys.
std::string heard(std::initializer_list<int> keys) {
    platform::audio_record_clear();
    tick_press(keys);
    return sounds_played();
}

using SceneSounds = test::SoundedBoardFixture;

TEST_F(SceneSounds, TitleStartsTheTitleMusic) {
    platform::audio_record_clear();
    ASSERT_EQ(title_open(), 1);
    EXPECT_EQ(music_started(), "loop 14");
}

TEST_F(SceneSounds, TitleMovesAndTheChoiceEachRequestTheCursorEffect) {
    ASSERT_EQ(title_open(), 1);
    tick();
    for (int k : {kKeyRight, kKeyLeft, kKeyDown, kKeyUp}) {
        EXPECT_EQ(heard({k}), "play 8") << "key " << k;
    }
    platform::audio_record_clear();
    tick();
    EXPECT_EQ(sounds_played(), "");
    EXPECT_EQ(heard({kKeyZ, kKeyEnter}), "play 8");
}

TEST_F(SceneSounds, QuitConfirmationMovesAndConfirmRequestTheCursorEffect) {
    ASSERT_EQ(quit_confirm_open(), 1);
    tick();
    EXPECT_EQ(heard({kKeyUp}), "play 8");
    EXPECT_EQ(heard({kKeyDown}), "play 8");
    EXPECT_EQ(heard({kKeyEnter}), "play 8");
    EXPECT_EQ(music_started(), "loop 14");  // back at a fresh title
}

TEST_F(SceneSounds, InstructionPagesTurnWithTheCursorEffect) {
    ASSERT_EQ(manual_open(), 1);
    tick();
    EXPECT_EQ(heard({kKeyLeft}), "play 8");
    EXPECT_EQ(heard({kKeyEsc}), "");
}

TEST_F(SceneSounds, WheelTurnAndConfirmSoundThenTheBoardMusicStarts) {
    ASSERT_EQ(character_select_open(), 1);
    tick();
    EXPECT_EQ(heard({kKeyRight}), "play 8");
    test::ticks(6);
    EXPECT_EQ(heard({kKeyEnter}), "play 8");
    EXPECT_EQ(music_started(), "loop 15");
}

}  // namespace
}  // namespace tessaly
