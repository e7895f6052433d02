// The effects the board asks for, heard through the recording sound output.
#include <gtest/gtest.h>

#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "board_helpers.hpp"
#include "field/camera.hpp"
#include "field/players.hpp"
#include "platform/audio.hpp"

namespace tessaly {
namespace {

using test::sounds_played;
using test::tick;
using test::tick_press;
using test::ticks;

struct BoardSounds : test::SoundedBoardFixture {
    PlayerRecord* p = nullptr;
    void SetUp() override {
        SoundedBoardFixture::SetUp();
        test::lay_board({"########", "#o...o##", "########", "########"});
        float x, z;
        test::cell_world(1, 1, x, z);
        p = player_create(x, kPlayerHeight, z, 0, 0);
        ASSERT_NE(p, nullptr);
        p->next_player = p;
        ASSERT_EQ(camera_create(x, kPlayerHeight, z, 270, 60, p), 1);
        tick();
        ASSERT_EQ(p->state, &die_spin);
    }
};

TEST_F(BoardSounds, StoppingTheDieAndReachingASquareRequestTheirEffects) {
    platform::audio_record_clear();
    tick();
    EXPECT_EQ(sounds_played(), "");
    tick_press({kKeyEnter});
    EXPECT_EQ(sounds_played(), "play 8");
    tick_press({kKeyRight});
    platform::audio_record_clear();
    ticks(15);
    EXPECT_EQ(sounds_played(), "");
    tick();
    EXPECT_EQ(sounds_played(), "play 6");
}

TEST_F(BoardSounds, ShiftAndControlRequestTheConfirmEffect) {
    platform::audio_record_clear();
    tick_press({kKeyControl});
    EXPECT_EQ(sounds_played(), "play 8");
    EXPECT_EQ(g_game.minimap_flag, 1);
    // Shift during the die spin opens the field menu, which freezes the board.
    platform::audio_record_clear();
    tick_press({kKeyShift});
    EXPECT_EQ(sounds_played(), "play 8");
    EXPECT_EQ(task_pool()[kSlotFieldMenu].in_use, 1);
}

TEST_F(BoardSounds, ShiftDoesNothingWhileAnEventRuns) {
    Task* runner = task_alloc_at(kSlotEventRunner);
    task_start(runner, kKindEventRunner, nullptr, nullptr);
    platform::audio_record_clear();
    tick_press({kKeyShift});
    EXPECT_EQ(sounds_played(), "");
}

}  // namespace
}  // namespace tessaly
