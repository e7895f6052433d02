// Route hints: tracing corridors to the destinations, the four hints around a player and
// when they are computed.
#include "field/route_hints.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/keys.hpp"
#include "board_helpers.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using test::BoardFixture;
using test::cell_index_of;
using test::cell_world;
using test::tick;
using test::tick_press;

struct RouteHints : BoardFixture {
    PlayerRecord& human_at(int column, int row) {
        float x, z;
        cell_world(column, row, x, z);
        PlayerRecord* p = player_create(x, kPlayerHeight, z, 0, 0);
        EXPECT_NE(p, nullptr);
        p->next_player = p;
        return *p;
    }
};

TEST_F(RouteHints, TraceFollowsTheCorridorRoundItsCornersToADestination) {
    test::lay_board({
        "##########",
        "#o....####",
        "#.###.####",
        "#.###..3##",
        "#1########",
        "##########",
    });
    const int start = cell_index_of(1, 1);
    EXPECT_EQ(route_trace(start, 0), 3);    // east, south at the corner, east again
    EXPECT_EQ(route_trace(start, 270), 1);  // south
    // Straight on wins over a turn: from the corner cell heading south it keeps south
    // when it can.
    test::lay_board({"########", "#o...2##", "#..#####", "#4######", "########", "########"});
    EXPECT_EQ(route_trace(cell_index_of(1, 1), 0), 2);
    EXPECT_EQ(route_trace(cell_index_of(1, 1), 270), 4);
}

TEST_F(RouteHints, TraceOfABlindCorridorEndsAfterFourTurnsWithoutAStep) {
    test::lay_board({"########", "#o...###", "#.######", "#1######", "########", "########"});
    EXPECT_EQ(route_trace(cell_index_of(1, 1), 0), -1);
    // A dead end right at the start, and a start walled in on every side.
    test::lay_board({"####", "#o##", "####", "####"});
    for (int d : {0, 90, 180, 270}) EXPECT_EQ(route_trace(cell_index_of(1, 1), d), -1);
}

TEST_F(RouteHints, TraceRoundACorridorLoopWithoutADestinationEnds) {
    // A ring with squares on it and no destination: straight on and left turns go round
    // it for ever without the bound.
    test::lay_board({
        "##########",
        "#o.....###",
        "#.####.###",
        "#.####.###",
        "#.....o###",
        "##########",
    });
    EXPECT_EQ(route_trace(cell_index_of(1, 1), 0), -1);
    EXPECT_EQ(route_trace(cell_index_of(1, 1), 270), -1);
    // The whole grid open, no destination anywhere.
    g_game.map_width = g_game.map_height = 0;
    for (int i = 0; i < kGridCells; ++i) g_game.terrain_layer[i] = 0;
    EXPECT_EQ(route_trace(150 * kGridSize + 150, 90), -1);
}

TEST_F(RouteHints, HintsNameTheDestinationAndTheDirection) {
    test::lay_board({
        "##########",
        "#..o...4##",
        "#.#.######",
        "#.#2######",
        "#1########",
        "##########",
    });
    PlayerRecord& p = human_at(3, 1);
    // East to 4: 4 * 4 + 0 + 5 = 21; west, round the corner to 1: 4 * 1 + 2 + 5 = 11;
    // south to 2: 4 * 2 + 3 + 5 = 16; north blocked.
    EXPECT_EQ(p.route_hints[0], 21);
    EXPECT_EQ(p.route_hints[1], -1);
    EXPECT_EQ(p.route_hints[2], 11);
    EXPECT_EQ(p.route_hints[3], 16);
    // Blocking the first cell of a direction takes its hint away, even though the corridor
    // beyond still leads somewhere.
    g_game.terrain_layer[cell_index_of(4, 1)] = kTerrainFill;
    route_hints_compute(p);
    EXPECT_EQ(p.route_hints[0], -1);
    EXPECT_EQ(p.route_hints[2], 11);
    // Destination 4 lying south: hint 24, the one without a slot of its own in 0..23.
    g_game.terrain_layer[cell_index_of(3, 3)] = 4;
    route_hints_compute(p);
    EXPECT_EQ(p.route_hints[3], 24);
}

TEST_F(RouteHints, ComputedAtTheDieAndOnEverySquareReached) {
    test::lay_board({
        "##########",
        "#o..o..o2#",
        "#.##.#####",
        "#.##3#####",
        "#o########",
        "##########",
    });
    PlayerRecord& p = human_at(1, 1);
    EXPECT_EQ(p.route_hints[0], 13);  // created: east to 2 (4 * 2 + 5)
    // Hints are not recomputed by themselves: change the board, then stop the die.
    g_game.terrain_layer[cell_index_of(8, 1)] = 1;
    tick();  // turn_start -> die_spin
    EXPECT_EQ(p.route_hints[0], 13);
    tick_press({kKeyEnter});
    ASSERT_EQ(p.state, &choose_direction);
    EXPECT_EQ(p.route_hints[0], 9);
    // On square 2 (4,1): south now leads to 3.
    tick_press({kKeyRight});
    for (int i = 0; i < 40 && p.state == &walk; ++i) tick();
    ASSERT_EQ(player_cell(p), cell_index_of(4, 1));
    EXPECT_EQ(p.route_hints[3], 4 * 3 + 3 + 5);
    EXPECT_EQ(p.route_hints[0], 9);
}

}  // namespace
}  // namespace tessaly
