#include "state/game_state.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessaly {
namespace {

// Every test starts from the record as the program starts and leaves it that way.
struct GameStateFixture : ::testing::Test {
    GameState saved{};
    void SetUp() override {
        saved = g_game;
        g_game = game_state_initial();
    }
    void TearDown() override { g_game = saved; }
};

using GameStateTables = GameStateFixture;

TEST_F(GameStateTables, ScriptNumbersFitTheScriptBuffers) {
    int largest = 0;
    for (const auto& row : g_game.event_script) {
        for (int32_t s : row) {
            EXPECT_GE(s, 0);
            largest = std::max(largest, s);
        }
    }
    // The loader splits 1 + the largest number of scripts; there are 50 buffers.
    EXPECT_EQ(largest + 1, 39);
    EXPECT_LE(largest + 1, 50);
}

TEST_F(GameStateTables, OpeningSquareHasOneScriptPerCharacter) {
    const int32_t* row = g_game.event_script[kOpeningEventSquare - 1];
    for (int c = 0; c < 3; ++c) {
        EXPECT_NE(row[c], 0);
        for (int d = 0; d < c; ++d) EXPECT_NE(row[c], row[d]);
    }
}

TEST_F(GameStateTables, UnlistedSquaresRunScriptZero) {
    for (int stage = 0; stage < kEventStages; ++stage) {
        EXPECT_EQ(g_game.event_script[1 - 1][stage], 0);
        EXPECT_EQ(g_game.event_script[60 - 1][stage], 0);
    }
    // Square 26 has nothing at stage 0 but a script at stage 1.
    EXPECT_EQ(g_game.event_script[26 - 1][0], 0);
    EXPECT_NE(g_game.event_script[26 - 1][1], 0);
}

TEST_F(GameStateTables, RequestsAskForItemsOfTheItemTable) {
    for (int row = 1; row <= 3; ++row) {
        const RequestRecord& r = g_game.requests[row];
        EXPECT_EQ(r.number, row);
        EXPECT_EQ(r.kind, kRequestKindItem);
        ASSERT_GT(r.item_id, 0);
        ASSERT_LT(r.item_id, kItemRows);
        EXPECT_GE(r.square, 1);
        EXPECT_LE(r.square, kSquareCount);
        EXPECT_GT(r.reward_money, 0);
        EXPECT_GT(r.reward_exp, 0);
        EXPECT_EQ(r.holder, kNoHolder);
        EXPECT_EQ(r.taken, 0);
    }
}

TEST_F(GameStateTables, UnusedRequestRowsAreZeroHolderIncluded) {
    for (int row = 4; row < kRequestRows; ++row) {
        const RequestRecord& r = g_game.requests[row];
        EXPECT_EQ(r.holder, 0);
        EXPECT_EQ(r.item_id, 0);
        EXPECT_EQ(r.square, 0);
        EXPECT_EQ(r.name_rect.right, 0);
    }
}

TEST_F(GameStateTables, ItemIdsEqualTheirRowsAndOnlyHealingItemsHeal) {
    for (int i = 0; i < kItemRows; ++i) {
        const ItemRecord& item = g_game.items[i];
        EXPECT_EQ(item.id, i);
        EXPECT_EQ(item.use == kItemUseHeal, item.heal > 0) << "item " << i;
        EXPECT_GT(item.name_rect.right, item.name_rect.left);
        EXPECT_GE(item.price, 0);
    }
}

TEST_F(GameStateTables, ResetRequestsFreesEveryRowAndKeepsTheRest) {
    for (RequestRecord& r : g_game.requests) {
        r.taken = 1;
        r.holder = 2;
    }
    g_game.requests[2].reward_money = 77;
    reset_requests();
    for (const RequestRecord& r : g_game.requests) {
        EXPECT_EQ(r.taken, 0);
        EXPECT_EQ(r.holder, kNoHolder);
    }
    EXPECT_EQ(g_game.requests[2].reward_money, 77);
    EXPECT_EQ(g_game.requests[1].item_id, game_state_initial().requests[1].item_id);
}

TEST_F(GameStateTables, ResetEventStagesClearsEverySquareAndNothingElse) {
    for (int32_t& s : g_game.event_stage) s = 3;
    g_game.square_count = 12;
    reset_event_stages();
    for (int32_t s : g_game.event_stage) EXPECT_EQ(s, 0);
    EXPECT_EQ(g_game.square_count, 12);
}

TEST_F(GameStateTables, SettingsDefaultsSetAllElevenToOne) {
    for (int32_t& s : g_game.settings) s = 0;
    g_game.event_stage[5] = 2;
    apply_settings_defaults();
    for (int32_t s : g_game.settings) EXPECT_EQ(s, 1);
    EXPECT_EQ(g_game.event_stage[5], 2);
}

}  // namespace
}  // namespace tessaly
