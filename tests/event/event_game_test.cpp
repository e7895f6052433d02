#include <gtest/gtest.h>

#include <cstring>

#include "app/task_pool.hpp"
#include "event/event_pack.hpp"
#include "event/event_runner.hpp"
#include "field/board_helpers.hpp"
#include "state/game_state.hpp"
#include "state/new_game.hpp"

namespace tessaly {
namespace {

using EventGame = test::GameFixture;

constexpr int kScratchScript = 47;

TEST_F(EventGame, ScriptOffSurvivesANewGame) {
    new_game(0);
    test::event_run_out();
    ASSERT_EQ(g_game.event_script[6][0], 1);
    unsigned char* s =
        g_game.event_buffer + static_cast<size_t>(kScratchScript) * kEventScriptBytes;
    std::memset(s, 0, kEventScriptBytes);
    const char text[] = "#38,7,";
    std::memcpy(s, text, sizeof text - 1);
    g_game.event_script[0][0] = kScratchScript;
    ASSERT_EQ(event_start(&test::player_at_slot(kSlotPlayersFirst), 1), 1);
    test::event_run_out();
    EXPECT_EQ(g_game.event_script[6][0], 0);
    new_game(1);
    test::event_run_out();
    EXPECT_EQ(g_game.event_script[6][0], 0);
    EXPECT_EQ(g_game.event_script[6][1], 2);
}

}  // namespace
}  // namespace tessaly
