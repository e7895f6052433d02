#pragma once
// Battles in tests: a player that is not a task, stand-ins for the board's tasks, and
// helpers that drive a battle tick by tick.
#include <gtest/gtest.h>

#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "field/players.hpp"
#include "support/ticks.hpp"

namespace tessaly::test {

// A fresh pool with a camera, a map and a player task standing in for the board, and a
// player record of character 0 with 30 of 30 hit points.
struct BattleFixture : TickFixture {
    PlayerRecord player{};
    void SetUp() override;
    BattleRecord& battle();
    // Ticks until the battle's step is the one given (at most limit ticks); true if reached.
    bool run_until_step(BattleStep step, int limit = 2000);
    // Ticks until the battle has ended (at most limit ticks); true if it ended.
    bool run_until_over(int limit = 20000, bool press_each_frame = false);
};

// The glyph list of a message line up to its first 0.
std::vector<int32_t> line_glyphs(const int32_t* line);

}  // namespace tessaly::test
