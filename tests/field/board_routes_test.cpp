// Our board against the request routes: every route, walked from its giver's square by the
// game's own walking, leaves each square along a corridor, stops on the square that sells its
// request's item and ends on its giver; and the board's shape fits the screen and the start.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "board_helpers.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "field/routes.hpp"
#include "render/transforms.hpp"

namespace tessaly {
namespace {

const std::string kBuiltBoard = std::string(TESSALY_BINARY_DIR) + "/mappack.dat";

// The route tables the computer players follow, up to their end markers (route 7 has none:
// its eight values).
std::vector<int> route_dice(int route) {
    std::vector<int> out;
    for (int32_t v : kRouteDieLists[route]) {
        if (v <= 0) break;
        out.push_back(v);
    }
    return out;
}
std::vector<int> route_directions(int route) {
    std::vector<int> out;
    for (float d : kRouteDirectionLists[route]) {
        if (d < 0.0f) break;
        out.push_back(static_cast<int>(d));
    }
    return out;
}
const std::vector<std::vector<int>> kRouteDice = [] {
    std::vector<std::vector<int>> all;
    for (int r = 0; r < kRouteCount; ++r) all.push_back(route_dice(r));
    return all;
}();
const std::vector<std::vector<int>> kRouteDirections = [] {
    std::vector<std::vector<int>> all;
    for (int r = 0; r < kRouteCount; ++r) all.push_back(route_directions(r));
    return all;
}();

// What each request needs of the board: its giver's square, the square whose shop sells its
// item (content/board/README.md) and the routes its giver hands out.
struct RequestOnBoard {
    int request, giver, item, shop;
    std::vector<int> routes;
};
const RequestOnBoard kRequests[] = {
    {1, 8, 11, 16, {4, 5, 6, 7}},
    {2, 31, 5, 37, {0, 1, 2, 3}},
    {3, 35, 12, 7, {8, 9, 10, 11}},
};

struct RouteWalk {
    std::vector<int> stops;  // the square of each stop
    std::string fault;       // empty when the walk held
};

int cell_of_square(int number) {
    for (int r = 0; r < g_game.map_height; ++r) {
        for (int c = 0; c < g_game.map_width; ++c) {
            if (test::square_on(c, r) == number) return test::cell_index_of(c, r);
        }
    }
    return -1;
}

// One route from the giver's square: a stop after each die value; on every square the next
// direction is taken as it stands, between squares the walker follows the corridor.
RouteWalk walk_route(int start_cell, int route) {
    RouteWalk out;
    float x = 0, z = 0;
    test::cell_world(start_cell % kGridSize - (kGridSize - g_game.map_width) / 2,
                     start_cell / kGridSize - (kGridSize - g_game.map_height) / 2, x, z);
    size_t next_direction = 0;
    for (int die : kRouteDice[route]) {
        for (int step = 0; step < die; ++step) {
            const int from = square_at(cell_index_at(x, z));
            float facing = static_cast<float>(kRouteDirections[route][next_direction++]);
            if (!terrain_passable_toward(x, z, facing)) {
                char what[96];
                std::snprintf(what, sizeof what, "direction %d from square %d meets a wall",
                              static_cast<int>(facing), from);
                out.fault = what;
                return out;
            }
            // At most the whole map block between two squares.
            int cells = 0;
            for (;;) {
                for (int frame = 0; frame < kFramesPerCell; ++frame)
                    step_axis(x, z, facing, kWalkStep);
                snap_to_cell(x, z);
                const int cell = cell_index_at(x, z);
                if (!terrain_passable(terrain_at(cell))) {
                    out.fault = "walked into a wall after square " + std::to_string(from);
                    return out;
                }
                if (square_at(cell) >= kSquareFirst) break;
                if (++cells > g_game.map_width * g_game.map_height) {
                    out.fault = "a corridor from square " + std::to_string(from) + " never ends";
                    return out;
                }
                corridor_turn(x, z, facing);
            }
        }
        out.stops.push_back(square_at(cell_index_at(x, z)));
    }
    if (next_direction != kRouteDirections[route].size()) out.fault = "directions left over";
    return out;
}

using BoardRoutes = test::BoardFixture;

TEST_F(BoardRoutes, EveryRouteStopsAtItsShopAndEndsOnItsGiver) {
    ASSERT_EQ(map_pack_load(kBuiltBoard.c_str()), 1);
    std::set<int> handed_out;
    for (const RequestOnBoard& q : kRequests) {
        const int giver = cell_of_square(q.giver);
        ASSERT_GE(giver, 0) << "no square " << q.giver;
        ASSERT_GE(cell_of_square(q.shop), 0) << "no square " << q.shop;
        for (int route : q.routes) {
            SCOPED_TRACE("request " + std::to_string(q.request) + " route " +
                         std::to_string(route));
            handed_out.insert(route);
            const RouteWalk walk = walk_route(giver, route);
            ASSERT_EQ(walk.fault, "");
            ASSERT_FALSE(walk.stops.empty());
            EXPECT_EQ(walk.stops.back(), q.giver) << "the route ends on its giver";
            int at_shop = 0;
            for (int s : walk.stops) at_shop += s == q.shop;
            EXPECT_GE(at_shop, 1) << "the route stops on square " << q.shop << " (item " << q.item
                                  << ")";
        }
    }
    EXPECT_EQ(handed_out.size(), kRouteDice.size()) << "every route has a giver";
}

// The rockfall on the road from square 56 to destination 4 (map column 30, row 60) can be
// cleared by an event: the road then runs through without a fork, and no route changes.
TEST_F(BoardRoutes, ClearingTheRockfallOpensARoadAndKeepsEveryRoute) {
    ASSERT_EQ(map_pack_load(kBuiltBoard.c_str()), 1);
    const int gate = test::cell_index_of(30, 60);
    ASSERT_EQ(terrain_at(gate), kTerrainRaised);
    g_game.terrain_layer[gate] = 0;
    for (int step : {kCellNorth, kCellSouth}) {
        int ways = 0;
        for (int side : {kCellEast, kCellWest, kCellNorth, kCellSouth})
            ways += terrain_passable(terrain_at(gate + step + side));
        EXPECT_EQ(ways, 2);
    }
    // From square 56 westwards the road now leads to square 25.
    float x = 0, z = 0;
    test::cell_world(43, 67, x, z);
    ASSERT_EQ(square_at(cell_index_at(x, z)), 56);
    float facing = kDirectionWest;
    int cells = 0;
    do {
        for (int frame = 0; frame < kFramesPerCell; ++frame) step_axis(x, z, facing, kWalkStep);
        snap_to_cell(x, z);
        if (square_at(cell_index_at(x, z)) == 0) corridor_turn(x, z, facing);
    } while (square_at(cell_index_at(x, z)) == 0 && ++cells < 100);
    EXPECT_EQ(square_at(cell_index_at(x, z)), 25);
    for (const RequestOnBoard& q : kRequests) {
        for (int route : q.routes) {
            const RouteWalk walk = walk_route(cell_of_square(q.giver), route);
            EXPECT_EQ(walk.fault, "") << route;
            EXPECT_EQ(walk.stops.back(), q.giver) << route;
        }
    }
}

// Players start on squares, the opening square 41 under the human player; the minimap fits
// beside the board view and above the key help; all sixty squares are reached from the start.
TEST_F(BoardRoutes, BoardFitsTheScreenAndEverySquareIsReachedFromTheStart) {
    ASSERT_EQ(map_pack_load(kBuiltBoard.c_str()), 1);
    EXPECT_EQ(g_game.map_width % 2, 0);
    EXPECT_EQ(g_game.map_height % 2, 0);
    EXPECT_LE(380 + 4 * g_game.map_width, 640);
    EXPECT_LE(20 + 4 * g_game.map_height + 6, 464) << "clear of the key help";
    EXPECT_EQ(g_game.square_count, 60);
    EXPECT_EQ(test::square_on(59, 52), 41);
    EXPECT_GE(test::square_on(59, 45), 1);
    EXPECT_GE(test::square_on(59, 59), 1);

    const int start = test::cell_index_of(59, 52);
    std::vector<bool> seen(kGridSize * kGridSize, false);
    std::deque<int> todo{start};
    seen[start] = true;
    std::set<int> squares;
    while (!todo.empty()) {
        const int cell = todo.front();
        todo.pop_front();
        if (square_at(cell) >= kSquareFirst) squares.insert(square_at(cell));
        for (int step : {kCellEast, kCellWest, kCellNorth, kCellSouth}) {
            const int next = cell + step;
            if (seen[next] || !terrain_passable(terrain_at(next))) continue;
            seen[next] = true;
            todo.push_back(next);
        }
    }
    EXPECT_EQ(squares.size(), 60u);
    // The four destinations lie on the board.
    std::set<int> destinations;
    for (int r = 0; r < g_game.map_height; ++r) {
        for (int c = 0; c < g_game.map_width; ++c) {
            const int v = terrain_at(test::cell_index_of(c, r));
            if (v >= kTerrainDestinationFirst && v <= kTerrainDestinationLast) {
                destinations.insert(v);
                EXPECT_TRUE(seen[test::cell_index_of(c, r)]) << "destination " << v;
            }
        }
    }
    EXPECT_EQ(destinations.size(), 4u);
}

}  // namespace
}  // namespace tessaly
