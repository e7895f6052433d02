#include "app/state_hash.hpp"

#include <gtest/gtest.h>

#include "app/app.hpp"
#include "app/random.hpp"
#include "field/board_helpers.hpp"
#include "field/players.hpp"
#include "field/terrain.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using StateHash = test::GameFixture;

TEST_F(StateHash, SeesEveryPartOfTheGameAndOnlyThat) {
    test::board_in_play(0);
    const uint64_t whole = state_hash(HashScope::Whole);
    const uint64_t saved = state_hash(HashScope::Saved);
    EXPECT_EQ(state_hash(HashScope::Whole), whole) << "the hash changes nothing";
    EXPECT_NE(whole, saved);

    PlayerRecord& p = test::player_at_slot(11);
    p.money += 1;
    EXPECT_NE(state_hash(HashScope::Whole), whole) << "a player's money";
    EXPECT_NE(state_hash(HashScope::Saved), saved);
    p.money -= 1;
    EXPECT_EQ(state_hash(HashScope::Whole), whole);

    // A link to another task counts by where it points inside the pool.
    PlayerRecord* next = p.next_player;
    p.next_player = &test::player_at_slot(10);
    EXPECT_NE(state_hash(HashScope::Whole), whole) << "the turn ring";
    p.next_player = next;

    const int8_t cell = g_game.terrain_layer[kGridCells / 2];
    g_game.terrain_layer[kGridCells / 2] = static_cast<int8_t>(cell + 1);
    EXPECT_NE(state_hash(HashScope::Saved), saved) << "the terrain layer";
    g_game.terrain_layer[kGridCells / 2] = cell;

    const uint32_t random = random_state();
    random_below(6);
    EXPECT_NE(state_hash(HashScope::Saved), saved) << "the random state";
    random_seed(random);
    EXPECT_EQ(state_hash(HashScope::Saved), saved);
}

TEST_F(StateHash, WhatASaveLeavesOutIsOutOfTheSavedScopeOnly) {
    test::board_in_play(1);
    const uint64_t whole = state_hash(HashScope::Whole);
    const uint64_t saved = state_hash(HashScope::Saved);
    PlayerRecord& p = test::player_at_slot(10);
    ASSERT_EQ(p.state, &die_spin);
    p.experience += 7;
    p.steps_left = p.steps_left % kDieFaces + 1;
    p.members[2].step_frame += 1;
    MapTaskRecord& map = task_record<MapTaskRecord>(&task_pool()[kSlotMap]);
    map.water_phase = (map.water_phase + 1) % 88;
    g_game.minimap_flag = 1 - g_game.minimap_flag;
    EXPECT_EQ(state_hash(HashScope::Saved), saved);
    EXPECT_NE(state_hash(HashScope::Whole), whole);
    // Walking, the steps left are part of the game.
    p.state = &walk;
    const uint64_t walking = state_hash(HashScope::Saved);
    p.steps_left += 1;
    EXPECT_NE(state_hash(HashScope::Saved), walking);
}

}  // namespace
}  // namespace tessaly
