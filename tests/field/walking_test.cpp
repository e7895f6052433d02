#include "field/walking.hpp"

#include <gtest/gtest.h>

#include "board_helpers.hpp"
#include "field/map.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using test::BoardFixture;
using test::cell_index_of;
using test::cell_world;

struct Walking : BoardFixture {
    void SetUp() override {
        BoardFixture::SetUp();
        test::lay_board(test::kFourSquareBoard);
    }
};

TEST_F(Walking, TerrainPassableTowardLooksOneCellAway) {
    float x, z;
    cell_world(1, 1, x, z);
    EXPECT_EQ(terrain_passable_toward(x, z, 0.0f), 1);
    EXPECT_EQ(terrain_passable_toward(x, z, 270.0f), 1);
    EXPECT_EQ(terrain_passable_toward(x, z, 90.0f), 0);
    EXPECT_EQ(terrain_passable_toward(x, z, 180.0f), 0);
    // Negative terrain values are passable, 15 and up blocked.
    g_game.terrain_layer[cell_index_of(0, 1)] = -5;
    EXPECT_EQ(terrain_passable_toward(x, z, 180.0f), 1);
    g_game.terrain_layer[cell_index_of(2, 1)] = 14;
    EXPECT_EQ(terrain_passable_toward(x, z, 0.0f), 1);
    g_game.terrain_layer[cell_index_of(2, 1)] = 15;
    EXPECT_EQ(terrain_passable_toward(x, z, 0.0f), 0);
}

TEST_F(Walking, StepAxisMovesAlongOneAxisByTheRoundedFacing) {
    struct Case {
        float facing, dx, dz;
    };
    for (Case c : {Case{0, 0.5f, 0}, Case{90, 0, 0.5f}, Case{180, -0.5f, 0}, Case{270, 0, -0.5f},
                   Case{360, 0.5f, 0}, Case{-90, 0, -0.5f}, Case{89.6f, 0, 0.5f},
                   Case{270.4f, 0, -0.5f}, Case{45, 0, 0}, Case{89.4f, 0, 0}}) {
        float x = 10.0f, z = 20.0f;
        step_axis(x, z, c.facing, 0.5f);
        EXPECT_FLOAT_EQ(x, 10.0f + c.dx) << c.facing;
        EXPECT_FLOAT_EQ(z, 20.0f + c.dz) << c.facing;
    }
}

TEST_F(Walking, CorridorTurnGoesStraightThenSideThenBack) {
    float x, z;
    // In the corridor south of square 1, heading north: straight on.
    cell_world(1, 2, x, z);
    float facing = 90.0f;
    corridor_turn(x, z, facing);
    EXPECT_FLOAT_EQ(facing, 90.0f);
    // At the corner cell (1,3) heading south, south is passable: the corridor goes on.
    cell_world(1, 3, x, z);
    facing = 270.0f;
    corridor_turn(x, z, facing);
    EXPECT_FLOAT_EQ(facing, 270.0f);
    // At the blind end (4,3) heading south: east and west are blocked too, so back north.
    cell_world(4, 3, x, z);
    facing = 270.0f;
    corridor_turn(x, z, facing);
    EXPECT_FLOAT_EQ(facing, 90.0f);
    // Heading east into a cell open to north and south: 270 is tried before 90.
    test::lay_board({"#.##", "..##", "#.##", "####"});
    cell_world(1, 1, x, z);
    facing = 0.0f;
    corridor_turn(x, z, facing);
    EXPECT_FLOAT_EQ(facing, 270.0f);
    // Walled in: the facing stays.
    test::lay_board({"####", "#.##", "####", "####"});
    cell_world(1, 1, x, z);
    facing = 180.0f;
    corridor_turn(x, z, facing);
    EXPECT_FLOAT_EQ(facing, 180.0f);
}

TEST_F(Walking, CellStepCrossesACellInFourFramesAndSnaps) {
    float x, z;
    cell_world(1, 1, x, z);
    Vec3 at{x, 0.05f, z};
    int32_t frame = 0;
    for (int i = 1; i < kFramesPerCell; ++i) {
        EXPECT_FALSE(cell_step(at, kDirectionSouth, frame));
        EXPECT_EQ(frame, i);
        EXPECT_FLOAT_EQ(at.z, z - 0.5f * static_cast<float>(i));
    }
    EXPECT_TRUE(cell_step(at, kDirectionSouth, frame));
    EXPECT_EQ(frame, 0);
    EXPECT_FLOAT_EQ(at.x, x);
    EXPECT_FLOAT_EQ(at.z, z - kCellSize);
    EXPECT_EQ(cell_index_at(at.x, at.z), cell_index_of(1, 2));
}

}  // namespace
}  // namespace tessaly
