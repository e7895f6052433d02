// The board the build compiles (mappack.dat next to data.dat) and the board compiler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "board_helpers.hpp"
#include "field/map.hpp"
#include "field/players.hpp"

namespace tessaly {
namespace {

const std::string kBuiltBoard = std::string(TESSALY_BINARY_DIR) + "/mappack.dat";
const std::string kCompiler = std::string(TESSALY_BINARY_DIR) + "/tessaly-mapc";

int compile(const std::string& text, const std::string& out) {
    // Each test writes its own source, so tests running side by side do not share one file.
    const std::string in = ::testing::TempDir() + "/board-in-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    std::ofstream(in) << text;
    return std::system((kCompiler + " " + in + " " + out + " 2>/dev/null").c_str());
}

using BoardPack = test::BoardFixture;

TEST_F(BoardPack, BuiltBoardHasTheStartSquaresAndEveryKindOfCell) {
    ASSERT_EQ(map_pack_load(kBuiltBoard.c_str()), 1);
    EXPECT_GT(g_game.square_count, 41);
    EXPECT_LE(g_game.square_count, 60);
    // The opening square and the three start positions are squares on open cells.
    EXPECT_EQ(test::square_on(59, 52), 41);
    for (int row : {45, 52, 59}) {
        EXPECT_GE(test::square_on(59, row), 1) << row;
        EXPECT_TRUE(terrain_passable(terrain_at(test::cell_index_of(59, row))));
    }
    std::set<int> numbers, values;
    int dead_ends = 0;
    for (int r = 0; r < g_game.map_height; ++r) {
        for (int c = 0; c < g_game.map_width; ++c) {
            const int cell = test::cell_index_of(c, r);
            const int v = terrain_at(cell);
            values.insert(v);
            if (const int n = square_at(cell)) {
                EXPECT_TRUE(numbers.insert(n).second) << "square " << n << " twice";
            }
            if (!terrain_passable(v)) continue;
            int open = 0;
            for (int step : {kCellEast, kCellWest, kCellNorth, kCellSouth})
                open += terrain_passable(terrain_at(cell + step));
            if (open == 1 && square_at(cell) == 0) ++dead_ends;
        }
    }
    // Squares are numbered 1..count without gaps.
    EXPECT_EQ(static_cast<int>(numbers.size()), g_game.square_count);
    EXPECT_EQ(*numbers.rbegin(), g_game.square_count);
    for (int v : {0, 1, 2, 3, 4, kTerrainFill, kTerrainRaised, kTerrainWater})
        EXPECT_TRUE(values.count(v)) << v;
    EXPECT_GE(dead_ends, 1);
}

TEST_F(BoardPack, CompilerWritesTheLayersItWasGiven) {
    const std::string out = ::testing::TempDir() + "/board-out.dat";
    ASSERT_EQ(compile("# a test\nsize 4 2\nlegend . 0\nlegend # 15\nlegend ~ 45\n"
                      "map\n#..~\n~..#\nsquare 7 1 0\nsquare 60 2 1\n",
                      out),
              0);
    ASSERT_EQ(map_pack_load(out.c_str()), 1);
    EXPECT_EQ(g_game.map_width, 4);
    EXPECT_EQ(g_game.map_height, 2);
    EXPECT_EQ(g_game.square_count, 2);
    EXPECT_EQ(test::square_on(1, 0), 7);
    EXPECT_EQ(test::square_on(2, 1), 60);
    EXPECT_EQ(terrain_at(test::cell_index_of(3, 0)), kTerrainWater);
    EXPECT_EQ(terrain_at(test::cell_index_of(3, 1)), kTerrainFill);
}

TEST_F(BoardPack, CompilerRefusesBrokenBoards) {
    const std::string out = ::testing::TempDir() + "/board-bad.dat";
    const std::string head = "size 2 2\nlegend . 0\nlegend # 15\nmap\n";
    EXPECT_NE(compile(head + ".#\n##\nsquare 1 1 0\n", out), 0);   // square on a blocked cell
    EXPECT_NE(compile(head + "..\n##\nsquare 61 0 0\n", out), 0);  // square number past 60
    EXPECT_NE(compile(head + "..\n##\nsquare 1 2 0\n", out), 0);   // outside the map
    EXPECT_NE(compile(head + "..\n##\nsquare 1 0 0\nsquare 2 0 0\n", out), 0);  // two on a cell
    EXPECT_NE(compile(head + ".x\n##\n", out), 0);                              // no legend
    EXPECT_NE(compile(head + "...\n##\n", out), 0);                             // row too wide
    EXPECT_NE(compile(head + "..\n", out), 0);                                  // map ends early
    EXPECT_NE(compile("size 302 2\n", out), 0);                                 // cannot be centred
    EXPECT_EQ(compile(head + "..\n##\n", out), 0);
}

// Sizes whose cell centres would fall on the grid's cell corners, and corridors that would
// leave a walker choosing or walking forever.
TEST_F(BoardPack, CompilerRefusesOddSizesForksAndLoopsWithoutASquare) {
    const std::string out = ::testing::TempDir() + "/board-walk.dat";
    const std::string legend = "legend . 0\nlegend # 15\nmap\n";
    EXPECT_NE(compile("size 3 2\n" + legend + "...\n###\n", out), 0);
    EXPECT_NE(compile("size 2 3\n" + legend + "..\n##\n##\n", out), 0);
    // A fork on a corridor cell: the centre of a T.
    const std::string fork = "size 4 4\n" + legend + "....\n#.##\n#.##\n####\n";
    EXPECT_NE(compile(fork + "square 1 0 0\nsquare 2 3 0\nsquare 3 1 2\n", out), 0);
    // The same T with a square at the fork is fine.
    EXPECT_EQ(compile(fork + "square 1 0 0\nsquare 2 3 0\nsquare 3 1 0\n", out), 0);
    // A ring of corridor with no square, then with one.
    const std::string ring = "size 4 4\n" + legend + "####\n#...\n#.#.\n#...\n";
    EXPECT_NE(compile(ring, out), 0);
    EXPECT_EQ(compile(ring + "square 1 2 1\n", out), 0);
}

}  // namespace
}  // namespace tessaly
