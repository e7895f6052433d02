#include "state/requests.hpp"

#include <gtest/gtest.h>

#include "field/players.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

struct RequestsFixture : ::testing::Test {
    GameState saved{};
    PlayerRecord player{};
    void SetUp() override {
        saved = g_game;
        g_game = game_state_initial();
        player = PlayerRecord{};
        player.character_id = 2;
        const int32_t items[kItemSlots] = {1, 1, 2, 0, 0, 0, 0, 0};
        for (int i = 0; i < kItemSlots; ++i) player.items[i] = items[i];
    }
    void TearDown() override { g_game = saved; }
};

using Requests = RequestsFixture;

TEST_F(Requests, TakingARowMarksItHeldAndAimsThePlayerAtItsItem) {
    ASSERT_EQ(request_take(player, 2), 1);
    EXPECT_TRUE(request_is_taken(2));
    EXPECT_EQ(g_game.requests[2].holder, 2);
    EXPECT_EQ(player.team_number, 2);
    EXPECT_EQ(player.team_target, g_game.requests[2].item_id);
    EXPECT_FALSE(request_is_taken(1));
}

TEST_F(Requests, RowZeroAndRowsPastTheTableCannotBeTaken) {
    for (int row : {0, -1, kRequestRows}) {
        EXPECT_EQ(request_take(player, row), 0) << row;
        EXPECT_EQ(player.team_number, 0);
    }
    EXPECT_FALSE(request_is_taken(0));
    EXPECT_FALSE(request_is_taken(kRequestRows));
}

TEST_F(Requests, AchievedWhenAnySlotHoldsTheItem) {
    const int item = g_game.requests[1].item_id;
    EXPECT_FALSE(request_achieved(player, 1));
    player.items[7] = item;
    EXPECT_TRUE(request_achieved(player, 1));
    EXPECT_FALSE(request_achieved(player, kRequestRows));
}

TEST_F(Requests, EndingFreesTheRowAndResetsItsSquaresStage) {
    ASSERT_EQ(request_take(player, 3), 1);
    player.route_number = 4;
    player.route_die_step = 2;
    player.route_direction_step = 5;
    const int square = g_game.requests[3].square;
    g_game.event_stage[square - 1] = 2;
    g_game.event_stage[square] = 1;  // the next square is left alone
    request_end(player);
    EXPECT_FALSE(request_is_taken(3));
    EXPECT_EQ(g_game.requests[3].holder, kNoHolder);
    EXPECT_EQ(g_game.event_stage[square - 1], 0);
    EXPECT_EQ(g_game.event_stage[square], 1);
    EXPECT_EQ(player.team_number, 0);
    EXPECT_EQ(player.team_target, 0);
    EXPECT_EQ(player.route_number, 0);
    EXPECT_EQ(player.route_die_step, 0);
    EXPECT_EQ(player.route_direction_step, 0);
}

TEST_F(Requests, EndingWithoutARequestChangesNothing) {
    g_game.requests[0].taken = 1;  // only team number 0 would point here
    g_game.event_stage[0] = 3;
    player.team_target = 7;
    player.route_number = 2;
    request_end(player);
    EXPECT_EQ(g_game.requests[0].taken, 1);
    EXPECT_EQ(g_game.event_stage[0], 3);
    EXPECT_EQ(player.team_target, 7);
    EXPECT_EQ(player.route_number, 2);
}

TEST_F(Requests, EndingARowWithoutSquareWritesNoStage) {
    // Rows 4..9 name square 0; nothing before the stage table may be written.
    const int32_t count_before = g_game.square_count;
    ASSERT_EQ(request_take(player, 5), 1);
    request_end(player);
    EXPECT_EQ(player.team_number, 0);
    EXPECT_EQ(g_game.square_count, count_before);
    for (int32_t s : g_game.event_stage) EXPECT_EQ(s, 0);
}

TEST_F(Requests, ATeamNumberPastTheTableStillFreesThePlayer) {
    player.team_number = 40;
    player.team_target = 5;
    request_end(player);
    EXPECT_EQ(player.team_number, 0);
    EXPECT_EQ(player.team_target, 0);
}

TEST_F(Requests, HandingInEmptiesOnlyTheFirstSlotWithTheItem) {
    const int item = g_game.requests[2].item_id;
    player.items[3] = item;
    player.items[6] = item;
    ASSERT_EQ(request_take(player, 2), 1);
    request_hand_in(player, 2);
    EXPECT_EQ(player.items[3], 0);
    EXPECT_EQ(player.items[6], item);
    EXPECT_EQ(player.items[0], 1);
    EXPECT_EQ(player.team_number, 0);
    EXPECT_FALSE(request_is_taken(2));
}

TEST_F(Requests, HandingInEndsTheHeldRequestEvenForAnotherRow) {
    ASSERT_EQ(request_take(player, 1), 1);
    player.items[4] = g_game.requests[3].item_id;
    request_hand_in(player, 3);
    EXPECT_EQ(player.items[4], 0);
    EXPECT_FALSE(request_is_taken(1));
    EXPECT_EQ(player.team_number, 0);
}

}  // namespace
}  // namespace tessaly
