#pragma once
// Scripts run on a small board: the text is laid straight into the event buffer and square 1
// runs it for a player in slot 10. The game state comes back as it was after each test.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/task_pool.hpp"
#include "event/event_pack.hpp"
#include "event/event_runner.hpp"
#include "field/board_helpers.hpp"
#include "state/game_state.hpp"

namespace tessaly::test {

// The script number the tests' square runs.
constexpr int kTestScript = 45;

// A small board with a player in slot 10; scripts are laid straight into the event buffer.
// The game state's tables come back as they were after each test.
class EventRunner : public BoardFixture {
  protected:
    void SetUp() override {
        kept_ = g_game;
        BoardFixture::SetUp();
        lay_board({
            "#######",
            "#o...o#",
            "#.###.#",
            "#o...o#",
            "#######",
        });
        float x, z;
        cell_world(1, 1, x, z);
        player_ = player_create(x, kPlayerHeight, z, 0, 0);
        ASSERT_NE(player_, nullptr);
        player_->state = &turn_waiting;
    }
    void TearDown() override {
        BoardFixture::TearDown();
        GameState now = g_game;
        g_game = kept_;
        g_game.square_layer = now.square_layer;
        g_game.terrain_layer = now.terrain_layer;
        g_game.event_buffer = now.event_buffer;
    }

    static void put_script(int k, const std::string& text) {
        unsigned char* s = g_game.event_buffer + static_cast<size_t>(k) * kEventScriptBytes;
        std::memset(s, 0, kEventScriptBytes);
        std::memcpy(s, text.data(),
                    text.size() < kEventScriptTextMax ? text.size() : kEventScriptTextMax);
    }
    // Square 1 runs the text; the runner is started outside the update pass.
    EventRunnerRecord& start(const std::string& text) {
        put_script(kTestScript, text);
        g_game.event_script[0][0] = kTestScript;
        EXPECT_EQ(event_start(player_, 1), 1);
        EventRunnerRecord* r = event_runner_find();
        EXPECT_NE(r, nullptr);
        return *r;
    }
    static bool running() { return event_runner_find() != nullptr; }
    // Frames until the runner is gone, at most limit.
    static int frames_to_end(int limit = 5000) {
        int n = 0;
        while (running() && n < limit) {
            tick();
            ++n;
        }
        return n;
    }

    GameState kept_{};
    PlayerRecord* player_ = nullptr;
};

inline std::string glyphs(int count, int first = 1) {
    std::string out;
    for (int i = 0; i < count; ++i) out += std::to_string(first + i) + ",";
    return out;
}

}  // namespace tessaly::test
