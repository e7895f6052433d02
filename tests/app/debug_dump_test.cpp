#include "app/debug_dump.hpp"

#include <gtest/gtest.h>

#include "app/task_pool.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

struct DebugDump : ::testing::Test {
    GameState kept = g_game;
    void SetUp() override { ASSERT_TRUE(pool_create()); }
    void TearDown() override {
        pool_destroy();
        g_game = kept;
    }
};

TEST_F(DebugDump, TasksThenStagesRequestsAndSettings) {
    reset_event_stages();
    reset_requests();
    apply_settings_defaults();
    Task* t = task_alloc_at(901);
    task_start(t, kKindTitle, nullptr, nullptr);
    EXPECT_TRUE(
        debug_dump_text().starts_with("slot 901 kind 2000 update 1 draw 1\n"
                                      "stages none\n"
                                      "request 1 taken 0 holder -1\n"))
        << debug_dump_text();

    g_game.event_stage[40] = 2;  // square 41
    g_game.event_stage[7] = 1;   // square 8
    g_game.requests[2].taken = 1;
    g_game.requests[2].holder = 0;
    g_game.requests[4].taken = 1;  // row 4 is not the board's
    g_game.settings[kSettingRivals] = 0;
    g_game.settings[kSettingPrevDepth24] = 0;
    const std::string text = debug_dump_text();
    EXPECT_NE(text.find("\nstages 8:1 41:2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nrequest 1 taken 0 holder -1\n"
                        "request 2 taken 1 holder 0\n"
                        "request 3 taken 0 holder -1\n"
                        "settings 1 1 1 1 1 0 1 1 1 1 0\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("request 4"), std::string::npos);
}

}  // namespace
}  // namespace tessaly
