// The computer players' own turn: healing, the banner, the die, directions from the
// preference table, and a whole turn on a small board without any key.
#include "field/cpu_turn.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/random.hpp"
#include "board_helpers.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "field/routes.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using test::BoardFixture;
using test::cell_index_of;
using test::cell_world;
using test::tick;
using test::ticks;

struct CpuTurn : BoardFixture {
    PlayerRecord* p = nullptr;
    void SetUp() override {
        BoardFixture::SetUp();
        test::lay_board(test::kFourSquareBoard);
        random_seed(7);
    }
    PlayerRecord& computer_at(int column, int row) {
        float x, z;
        cell_world(column, row, x, z);
        p = player_create(x, kPlayerHeight, z, 1, 1);
        EXPECT_NE(p, nullptr);
        p->next_player = p;
        return *p;
    }
};

TEST_F(CpuTurn, HealsOnlyBelowAThirdOfItsMaximum) {
    PlayerRecord& c = computer_at(1, 1);
    c.max_hit_points = 200;
    c.hit_points = 200 / 3;  // exactly max div 3: no item
    cpu_turn_start(c);
    EXPECT_EQ(c.state, &cpu_roll);
    EXPECT_EQ(c.items[0], 1);
    EXPECT_EQ(c.items[2], 2);
    // One point less: item 2 goes first, from the first slot holding it.
    c.hit_points = 200 / 3 - 1;
    cpu_turn_start(c);
    EXPECT_EQ(c.state, &cpu_heal);
    EXPECT_EQ(c.heal_left, g_game.items[2].heal);
    EXPECT_EQ(c.items[2], 0);
    EXPECT_EQ(c.items[0], 1);
    // With no item 2 left, item 1.
    cpu_turn_start(c);
    EXPECT_EQ(c.heal_left, g_game.items[1].heal);
    EXPECT_EQ(c.items[0], 0);
    EXPECT_EQ(c.items[1], 1);
    // Integer division: a maximum of 100 heals below 33.
    c.max_hit_points = 100;
    c.hit_points = 33;
    cpu_turn_start(c);
    EXPECT_EQ(c.state, &cpu_roll);
    EXPECT_EQ(c.items[1], 1);
    // Nothing to heal with: the turn goes on.
    for (int32_t& item : c.items) item = 0;
    c.hit_points = 1;
    cpu_turn_start(c);
    EXPECT_EQ(c.state, &cpu_roll);
}

TEST_F(CpuTurn, HealsAPointAFrameThenShowsTheBannerForSixtyFrames) {
    PlayerRecord& c = computer_at(1, 1);
    c.max_hit_points = 200;
    c.hit_points = 195;
    c.heal_left = 8;
    c.state = &cpu_heal;
    tick();
    EXPECT_EQ(c.hit_points, 196);
    EXPECT_EQ(c.heal_left, 7);
    ticks(7);
    EXPECT_EQ(c.hit_points, 200);  // capped at the maximum; the rest of the item is spent
    EXPECT_EQ(c.heal_left, 0);
    EXPECT_EQ(c.state, &cpu_heal);
    tick();
    EXPECT_EQ(c.state, &cpu_banner);
    EXPECT_EQ(c.banner_timer, kCpuBannerFrames);
    ticks(kCpuBannerFrames - 1);
    EXPECT_EQ(c.state, &cpu_banner);
    tick();
    EXPECT_EQ(c.state, &cpu_roll);
}

TEST_F(CpuTurn, RollDrawsTheBaseThenTheSpreadAndPicksTheDieSource) {
    PlayerRecord& c = computer_at(1, 1);
    const int32_t bases[] = {10, 20, 30, 10, 20, 30};
    for (uint32_t seed : {1u, 2u, 99u, 12345u}) {
        random_seed(seed);
        const int32_t k = random_below(6);
        const int32_t spread = random_below(10);
        random_seed(seed);
        c.team_number = seed % 2;
        cpu_roll(c);
        EXPECT_EQ(c.computer_wait, bases[k] + spread) << seed;
        EXPECT_EQ(c.state, c.team_number ? &route_die_spin : &cpu_die_spin);
    }
}

TEST_F(CpuTurn, DieSpinsForItsWaitThenChoosesADirection) {
    PlayerRecord& c = computer_at(1, 1);
    c.computer_wait = 9;
    c.steps_left = 1;
    c.history_count = 3;
    c.state = &cpu_die_spin;
    ticks(8);
    EXPECT_EQ(c.state, &cpu_die_spin);
    tick();
    // Nine frames from 1: 2, 3, 4, 5, 6, 1, 2, 3, 4.
    EXPECT_EQ(c.steps_left, 4);
    EXPECT_EQ(c.history_count, 0);
    EXPECT_EQ(c.state, &cpu_choose_direction);
}

TEST_F(CpuTurn, WalledInItRetriesWithAFreshRowNextFrame) {
    PlayerRecord& c = computer_at(1, 4);
    // Square 4 at the end of the corridor; close the way north.
    g_game.terrain_layer[cell_index_of(1, 3)] = kTerrainFill;
    c.facing = 270.0f;
    c.state = &cpu_choose_direction;
    ticks(5);
    EXPECT_EQ(c.state, &cpu_choose_direction);
    EXPECT_FLOAT_EQ(c.facing, 270.0f);
    g_game.terrain_layer[cell_index_of(1, 3)] = 0;
    tick();
    EXPECT_EQ(c.state, &cpu_walk);
    EXPECT_FLOAT_EQ(c.facing, 90.0f);
    EXPECT_EQ(c.step_frame, 0);
}

TEST_F(CpuTurn, AFacingOfNoDirectionStillLeavesTheSquare) {
    // Only a damaged save holds such a facing; it is read as east.
    PlayerRecord& c = computer_at(4, 1);
    c.facing = 45.0f;
    c.state = &cpu_choose_direction;
    tick();
    EXPECT_EQ(c.state, &cpu_walk);
    EXPECT_NE(c.facing, 180.0f);
}

TEST_F(CpuTurn, NeverTurnsBackWhileAnotherWayIsOpen) {
    // Square 2 heading west (it came from square 3): west, and south into the blind corridor
    // are open, and back east.
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        random_seed(seed);
        PlayerRecord& c = computer_at(4, 1);
        c.facing = 180.0f;
        c.state = &cpu_choose_direction;
        tick();
        EXPECT_EQ(c.state, &cpu_walk);
        EXPECT_NE(c.facing, 0.0f) << seed;
        task_pool()[kSlotPlayersFirst].in_use = 0;
    }
}

TEST_F(CpuTurn, SquaresSendItBackToChoosingAndWalkingBackRefundsBothSteps) {
    PlayerRecord& c = computer_at(1, 1);
    c.steps_left = 2;
    history_clear(c);
    history_set(c, player_cell(c));
    c.facing = 0.0f;
    c.state = &cpu_walk;
    // Three cells east to square 2.
    ticks(12);
    EXPECT_EQ(player_cell(c), cell_index_of(4, 1));
    EXPECT_EQ(c.state, &cpu_choose_direction);
    EXPECT_EQ(c.steps_left, 1);
    // And straight back onto square 1: both steps come back.
    c.facing = 180.0f;
    c.state = &cpu_walk;
    ticks(12);
    EXPECT_EQ(player_cell(c), cell_index_of(1, 1));
    EXPECT_EQ(c.steps_left, 2);
    EXPECT_EQ(c.history_count, 0);
    EXPECT_EQ(c.state, &cpu_choose_direction);
}

TEST_F(CpuTurn, AWholeTurnPlaysItselfOutAndHealsOnTheWay) {
    // A ring of six squares with a link across: the die's steps can always be spent. (On a
    // board without a loop, walking back is refunded and a long die would never run out.)
    test::lay_board(
        {"##########", "#o..o..o##", "#.##.##.##", "#o..o..o##", "##########", "##########"});
    PlayerRecord& c = computer_at(1, 1);
    c.hit_points = 10;
    c.state = &turn_start;
    int frames = 0;
    bool bannered = false, walked = false;
    while (c.state != &turn_waiting && frames < 3000) {
        tick();
        ++frames;
        bannered |= c.state == &cpu_banner;
        walked |= c.state == &cpu_walk;
    }
    EXPECT_EQ(c.state, &turn_waiting);
    EXPECT_TRUE(bannered);
    EXPECT_TRUE(walked);
    EXPECT_EQ(c.hit_points, 10 + g_game.items[2].heal);
    EXPECT_EQ(c.items[2], 0);
    EXPECT_GE(square_at(player_cell(c)), kSquareFirst);
}

}  // namespace
}  // namespace tessaly
