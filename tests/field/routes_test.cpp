// Request routes: the two lists of every route, stepping past their end markers, and a
// computer player following its route across turns.
#include "field/routes.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/task_pool.hpp"
#include "board_helpers.hpp"
#include "field/cpu_turn.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using test::BoardFixture;
using test::cell_index_of;
using test::cell_world;
using test::tick;

int marker_at(const int32_t* list, int n) {
    for (int i = 0; i < n; ++i) {
        if (list[i] == kRouteEndMarker) return i;
    }
    return -1;
}

TEST(RouteTables, DieValuesAddUpToTheDirectionsBeforeTheMarker) {
    for (int r = 0; r < kRouteCount; ++r) {
        int die_end = marker_at(kRouteDieLists[r], kRouteDieEntries);
        if (r == 7) {
            EXPECT_EQ(die_end, -1) << "route 7 has no end marker";
            die_end = 8;
        }
        ASSERT_GT(die_end, 0) << r;
        int sum = 0;
        for (int i = 0; i < die_end; ++i) {
            EXPECT_GE(kRouteDieLists[r][i], 1) << r;
            EXPECT_LE(kRouteDieLists[r][i], 6) << r;
            sum += kRouteDieLists[r][i];
        }
        for (int i = die_end + 1; i < kRouteDieEntries; ++i) EXPECT_EQ(kRouteDieLists[r][i], 0);
        int directions = -1;
        for (int i = 0; i < kRouteDirectionEntries; ++i) {
            const float d = kRouteDirectionLists[r][i];
            if (d < 0.0f) {
                directions = i;
                break;
            }
            EXPECT_TRUE(d == 0.0f || d == 90.0f || d == 180.0f || d == 270.0f) << r << " " << i;
        }
        EXPECT_EQ(sum, directions) << "route " << r;
        for (int i = directions + 1; i < kRouteDirectionEntries; ++i)
            EXPECT_EQ(kRouteDirectionLists[r][i], 0.0f);
    }
    // Routes come in pairs sharing one direction list (0 and 1, 6 and 7, 8 and 9, 10 and 11).
    for (int r : {0, 6, 8, 10}) {
        for (int i = 0; i < kRouteDirectionEntries; ++i)
            EXPECT_EQ(kRouteDirectionLists[r][i], kRouteDirectionLists[r + 1][i]) << r;
    }
}

TEST(RouteSteps, DieListPastItsMarkerGivesTheLastValueOnceThenZero) {
    PlayerRecord p{};
    p.route_number = 0;
    const int32_t expected[] = {3, 2, 4, 2, 4, 3, 3, 0, 0};
    for (int32_t e : expected) EXPECT_EQ(route_die_next(p), e);
    EXPECT_EQ(p.route_die_step, 9);
    // The step is held at the last entry.
    for (int i = 0; i < 30; ++i) EXPECT_EQ(route_die_next(p), 0);
    EXPECT_EQ(p.route_die_step, kRouteDieEntries - 1);
}

TEST(RouteSteps, RouteSevenWithoutAMarkerGivesZeroAfterItsEighthValue) {
    PlayerRecord p{};
    p.route_number = 7;
    const int32_t expected[] = {1, 3, 2, 1, 1, 1, 3, 2, 0, 0, 0};
    for (int32_t e : expected) EXPECT_EQ(route_die_next(p), e);
}

TEST(RouteSteps, DirectionListPastItsMarkerAndHeldAtItsEnd) {
    PlayerRecord p{};
    p.route_number = 6;
    for (int i = 0; i < 14; ++i) EXPECT_EQ(route_direction_next(p), kRouteDirectionLists[6][i]);
    EXPECT_EQ(route_direction_next(p), 180.0f);  // the marker: the value before it
    EXPECT_EQ(route_direction_next(p), 0.0f);
    for (int i = 0; i < 50; ++i) route_direction_next(p);
    EXPECT_EQ(p.route_direction_step, kRouteDirectionEntries - 1);
}

TEST(RouteSteps, NumbersOutsideTheTablesReadAsAnEmptyRoute) {
    PlayerRecord p{};
    p.route_number = 12;
    EXPECT_EQ(route_die_next(p), 0);
    EXPECT_EQ(route_direction_next(p), 0.0f);
    p.route_number = 0;
    p.route_die_step = -4;
    EXPECT_EQ(route_die_next(p), 0);
    EXPECT_EQ(p.route_die_step, 0);
    p.route_direction_step = 1000;
    EXPECT_EQ(route_direction_next(p), 0.0f);
    EXPECT_EQ(p.route_direction_step, kRouteDirectionEntries - 1);
}

// A lattice of squares two cells apart joined by corridors: every direction leaves every
// square except at the rim. Lattice point (i, j) is map cell (1 + 2i, 1 + 2j).
std::vector<std::string> lattice(int across, int down) {
    std::string squares = "#", between = "#";
    for (int i = 0; i < across; ++i) {
        squares += i + 1 < across ? "o." : "o";
        between += i + 1 < across ? ".#" : ".";
    }
    squares += "##";
    between += "##";
    std::vector<std::string> rows{std::string(squares.size(), '#')};
    for (int j = 0; j < down; ++j) {
        rows.push_back(squares);
        if (j + 1 < down) rows.push_back(between);
    }
    rows.push_back(std::string(squares.size(), '#'));
    if (rows.size() % 2) rows.push_back(std::string(squares.size(), '#'));
    return rows;
}

struct RouteTurns : BoardFixture {
    PlayerRecord* p = nullptr;
    void SetUp() override {
        BoardFixture::SetUp();
        test::lay_board(lattice(5, 4));
    }
    void place_at(int i, int j) {
        float x, z;
        cell_world(1 + 2 * i, 1 + 2 * j, x, z);
        p = player_create(x, kPlayerHeight, z, 1, 1);
        ASSERT_NE(p, nullptr);
        p->next_player = p;
    }
    int lattice_cell(int i, int j) { return cell_index_of(1 + 2 * i, 1 + 2 * j); }
    // One whole turn, from turn_start until the player waits again; false if it never ends.
    bool play_turn() {
        p->state = &turn_start;
        for (int i = 0; i < 2000; ++i) {
            tick();
            if (p->state == &turn_waiting) return true;
        }
        return false;
    }
};

TEST_F(RouteTurns, AComputerOnARouteFollowsItsDirectionsAcrossTurns) {
    // Route 6: dies 2, 2, 2, 1, 3, 1, 3; directions E S | S S | E E | N | S W W | W | N N W.
    place_at(1, 0);
    p->team_number = 1;
    p->route_number = 6;
    struct After {
        int i, j;
    };
    const After turns[] = {{2, 1}, {2, 3}, {4, 3}, {4, 2}, {2, 3}, {1, 3}, {0, 1}};
    int turn = 0;
    for (After a : turns) {
        ASSERT_TRUE(play_turn()) << "turn " << turn;
        EXPECT_EQ(player_cell(*p), lattice_cell(a.i, a.j)) << "turn " << turn;
        ++turn;
    }
    EXPECT_EQ(p->route_die_step, 7);
    EXPECT_EQ(p->route_direction_step, 14);
    // The used-up route: the last die value once more (3), heading as its last direction
    // (west) for the first square, then east on each square after.
    ASSERT_TRUE(play_turn());
    EXPECT_EQ(player_cell(*p), lattice_cell(0, 1) + 4);
    // Then dies of 0: one square a turn, east.
    ASSERT_TRUE(play_turn());
    EXPECT_EQ(player_cell(*p), lattice_cell(0, 1) + 6);
}

TEST_F(RouteTurns, ADieOfZeroStillWalksOneSquare) {
    place_at(0, 0);
    p->team_number = 1;
    p->route_number = 0;
    p->route_die_step = 7;         // past the marker: 0
    p->route_direction_step = 30;  // past the marker: east
    ASSERT_TRUE(play_turn());
    EXPECT_EQ(player_cell(*p), lattice_cell(1, 0));
    EXPECT_EQ(p->route_die_step, 8);
}

TEST_F(RouteTurns, WithoutARequestTheComputerChoosesItsOwnWay) {
    place_at(2, 2);
    p->route_number = 6;
    ASSERT_TRUE(play_turn());
    EXPECT_EQ(p->route_die_step, 0);
    EXPECT_EQ(p->route_direction_step, 0);
}

}  // namespace
}  // namespace tessaly
