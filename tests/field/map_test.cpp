#include "field/map.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "board_helpers.hpp"
#include "platform/files.hpp"
#include "state/game_state.hpp"
#include "support/scratch_dir.hpp"

namespace tessaly {
namespace {

using test::BoardFixture;

void put_i32(std::vector<unsigned char>& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(u >> (8 * i)));
}

// A map pack: skip block, size, two unused words, then the given layer bytes.
std::vector<unsigned char> pack_bytes(int width, int height,
                                      const std::vector<unsigned char>& layers, int skip = 0) {
    std::vector<unsigned char> out;
    put_i32(out, skip);
    for (int i = 0; i < skip; ++i) out.push_back(0xEE);
    put_i32(out, width);
    put_i32(out, height);
    put_i32(out, 7);
    put_i32(out, 9);
    out.insert(out.end(), layers.begin(), layers.end());
    return out;
}

std::string write_temp(const std::string& name, const std::vector<unsigned char>& bytes) {
    const std::string path = ::testing::TempDir() + "/" + name;
    std::ofstream o(path, std::ios::binary | std::ios::trunc);
    o.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Terrain bytes k % 100 (kept below the fill value's neighbours) and squares k % 7.
std::vector<unsigned char> numbered_layers(int width, int height) {
    std::vector<unsigned char> v;
    const int n = width * height;
    for (int k = 0; k < n; ++k) v.push_back(static_cast<unsigned char>(k % 100));
    for (int k = 0; k < n; ++k) v.push_back(static_cast<unsigned char>(k % 7));
    return v;
}

using MapPack = BoardFixture;

TEST_F(MapPack, BlockOfHundredByEightyLandsAtRows110To189Columns100To199) {
    const std::string path =
        write_temp("m100x80.dat", pack_bytes(100, 80, numbered_layers(100, 80)));
    ASSERT_EQ(map_pack_load(path.c_str()), 1);
    EXPECT_EQ(g_game.map_width, 100);
    EXPECT_EQ(g_game.map_height, 80);
    for (int row = 0; row < 80; row += 79) {
        for (int col = 0; col < 100; col += 99) {
            const int k = row * 100 + col;
            const int cell = (row + 110) * 300 + col + 100;
            EXPECT_EQ(g_game.terrain_layer[cell], k % 100) << row << "," << col;
            EXPECT_EQ(g_game.square_layer[cell], k % 7) << row << "," << col;
        }
    }
    // The cells just outside the block keep the fill values.
    for (int cell : {109 * 300 + 100, 190 * 300 + 199, 110 * 300 + 99, 189 * 300 + 200}) {
        EXPECT_EQ(g_game.terrain_layer[cell], kTerrainFill);
        EXPECT_EQ(g_game.square_layer[cell], 0);
    }
}

TEST_F(MapPack, SkipBlockIsReadPast) {
    const std::string path = write_temp("skip.dat", pack_bytes(2, 2, {1, 2, 3, 4, 5, 6, 7, 8}, 13));
    ASSERT_EQ(map_pack_load(path.c_str()), 1);
    EXPECT_EQ(g_game.map_width, 2);
    EXPECT_EQ(g_game.terrain_layer[149 * 300 + 149], 1);
    EXPECT_EQ(g_game.terrain_layer[150 * 300 + 150], 4);
    EXPECT_EQ(g_game.square_layer[149 * 300 + 150], 6);
}

TEST_F(MapPack, EmptySizeKeepsTheFill) {
    const std::string path = write_temp("empty.dat", pack_bytes(0, 0, {}));
    ASSERT_EQ(map_pack_load(path.c_str()), 1);
    for (int i = 0; i < kGridCells; i += 997) {
        EXPECT_EQ(g_game.terrain_layer[i], kTerrainFill);
        EXPECT_EQ(g_game.square_layer[i], 0);
    }
    EXPECT_EQ(g_game.square_count, 0);
}

TEST_F(MapPack, SizeThatCannotBeCentredIsRefusedAndChangesNothing) {
    g_game.map_width = 10;
    g_game.map_height = 12;
    for (auto [w, h] : {std::pair{301, 10}, std::pair{10, 301}, std::pair{-2, 10},
                        std::pair{10, -1}, std::pair{11, 10}, std::pair{10, 7}}) {
        const std::string path =
            write_temp("wide.dat", pack_bytes(w, h, std::vector<unsigned char>(6020, 3)));
        EXPECT_EQ(map_pack_load(path.c_str()), 0) << w << "x" << h;
        EXPECT_EQ(g_game.map_width, 10);
        EXPECT_EQ(g_game.map_height, 12);
    }
    for (int i = 0; i < kGridCells; ++i) ASSERT_EQ(g_game.terrain_layer[i], kTerrainFill);
}

TEST_F(MapPack, FullGridSizeFillsEveryCell) {
    std::vector<unsigned char> layers(2 * kGridCells, 0);
    for (int i = 0; i < kGridCells; ++i) layers[i] = 2;
    const std::string path = write_temp("full.dat", pack_bytes(300, 300, layers));
    ASSERT_EQ(map_pack_load(path.c_str()), 1);
    EXPECT_EQ(g_game.terrain_layer[0], 2);
    EXPECT_EQ(g_game.terrain_layer[kGridCells - 1], 2);
}

TEST_F(MapPack, ShortFileLeavesTheRestOfTheBlockAsItWas) {
    std::vector<unsigned char> layers = {0, 0, 0, 0, 0, 0};  // 6 of the 8 terrain bytes, no squares
    const std::string path = write_temp("short.dat", pack_bytes(4, 2, layers));
    g_game.square_layer[149 * 300 + 148] = 9;
    ASSERT_EQ(map_pack_load(path.c_str()), 1);
    EXPECT_EQ(g_game.terrain_layer[149 * 300 + 148], 0);
    EXPECT_EQ(g_game.terrain_layer[150 * 300 + 149], 0);
    EXPECT_EQ(g_game.terrain_layer[150 * 300 + 150], kTerrainFill);
    EXPECT_EQ(g_game.terrain_layer[150 * 300 + 151], kTerrainFill);
    EXPECT_EQ(g_game.square_layer[149 * 300 + 148], 9);
}

TEST_F(MapPack, HeaderThatEndsEarlyIsRefused) {
    std::vector<unsigned char> bytes = pack_bytes(4, 2, {});
    bytes.resize(10);
    const std::string path = write_temp("header.dat", bytes);
    EXPECT_EQ(map_pack_load(path.c_str()), 0);
    EXPECT_EQ(g_game.map_width, 0);
    // A skip length past the end of the file as well.
    std::vector<unsigned char> skip;
    put_i32(skip, 0x7FFFFFFF);
    EXPECT_EQ(map_pack_load(write_temp("skiplong.dat", skip).c_str()), 0);
}

TEST_F(MapPack, MissingFileChangesNothing) {
    g_game.square_count = 5;
    EXPECT_EQ(map_pack_load((::testing::TempDir() + "/no-such-map.dat").c_str()), 0);
    EXPECT_EQ(g_game.square_count, 5);
    EXPECT_EQ(g_game.terrain_layer[150 * 300 + 150], kTerrainFill);
}

TEST_F(MapPack, SquareCountTakesOnlyOneToSixty) {
    // Values 0, 1, 60, 61, -3 (stored as 253) and 127 in the square layer.
    const std::string path = write_temp(
        "count.dat", pack_bytes(4, 2, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 60, 61, 253, 127, 0, 0}));
    ASSERT_EQ(map_pack_load(path.c_str()), 1);
    EXPECT_EQ(g_game.square_count, 2);
    EXPECT_EQ(map_count_squares(), 2);
}

TEST_F(MapPack, FieldDataLoadWithoutMapPackReadsNothing) {
    int result = 1;
    MapPackRead found = MapPackRead::Loaded;
    {
        test::ScratchDir empty("no-map", true);
        result = field_data_load(&found);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(found, MapPackRead::Missing);
    EXPECT_EQ(g_game.map_width, 0);
}

using MapBlock = BoardFixture;

TEST_F(MapBlock, WriteThenReadGivesTheSameBlock) {
    // (300 - 6) div 2 = 147 columns, (300 - 4) div 2 = 148 rows.
    const int w = 6, h = 4;
    for (int i = 0; i < w * h; ++i) {
        g_game.terrain_layer[(148 + i / w) * 300 + 147 + i % w] = static_cast<int8_t>(i - 7);
    }
    unsigned char out[64];
    ASSERT_EQ(map_block_write(out, sizeof out, g_game.terrain_layer, w, h), 24u);
    EXPECT_EQ(static_cast<int8_t>(out[0]), -7);
    EXPECT_EQ(static_cast<int8_t>(out[23]), 16);
    const std::string path = write_temp("block.dat", std::vector<unsigned char>(out, out + 24));
    platform::File* f = platform::file_open_read(path.c_str());
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(map_block_read(f, g_game.square_layer, w, h), 1);
    platform::file_close(f);
    for (int i = 0; i < w * h; ++i) {
        const int cell = (148 + i / w) * 300 + 147 + i % w;
        EXPECT_EQ(g_game.square_layer[cell], g_game.terrain_layer[cell]);
    }
    EXPECT_EQ(g_game.square_layer[148 * 300 + 146], 0);
    EXPECT_EQ(g_game.square_layer[148 * 300 + 153], 0);
}

TEST_F(MapBlock, WriteRefusesTooSmallABufferOrAnOversizedBlock) {
    unsigned char out[8];
    EXPECT_EQ(map_block_write(out, sizeof out, g_game.terrain_layer, 3, 3), 0u);
    EXPECT_EQ(map_block_write(out, sizeof out, g_game.terrain_layer, 301, 0), 0u);
    EXPECT_EQ(map_block_write(out, sizeof out, g_game.terrain_layer, 0, 0), 0u);
}

using MapCoordinates = BoardFixture;

TEST_F(MapCoordinates, CellIndexAtCellEdges) {
    // Column c covers x from 2c - 300 up to 2c - 298; row r covers z from 300 - 2r down.
    EXPECT_EQ(cell_index_at(-300.0f, 300.0f), 0);
    EXPECT_EQ(cell_index_at(-298.0f, 300.0f), 1);
    EXPECT_EQ(cell_index_at(-298.01f, 300.0f), 0);
    EXPECT_EQ(cell_index_at(-300.0f, 298.0f), 300);
    EXPECT_EQ(cell_index_at(-300.0f, 298.01f), 0);
    EXPECT_EQ(cell_index_at(0.0f, 0.0f), 150 * 300 + 150);
    EXPECT_EQ(cell_index_at(-0.01f, 0.01f), 149 * 300 + 149);
    EXPECT_EQ(cell_index_at(-1.0f, -1.0f), 150 * 300 + 149);
    EXPECT_EQ(cell_index_at(297.99f, -297.99f), 298 * 300 + 298);
}

TEST_F(MapCoordinates, CellIndexTruncatesTowardZeroWestOfTheGrid) {
    // x + 300 = -1 truncates to -1 and -1 div 2 is 0: still column 0.
    EXPECT_EQ(cell_index_at(-301.0f, 300.0f), 0);
    EXPECT_EQ(cell_index_at(-303.0f, 300.0f), -1);
    EXPECT_EQ(cell_index_at(-300.0f, 302.0f), -300);
}

TEST_F(MapCoordinates, MapToWorldGivesTheCellCentre) {
    g_game.map_width = 64;
    g_game.map_height = 40;
    float x = 0, z = 0;
    map_to_world(x, z);
    EXPECT_FLOAT_EQ(x, -63.0f);
    EXPECT_FLOAT_EQ(z, 39.0f);
    x = 59;
    z = 52;
    map_to_world(x, z);
    EXPECT_FLOAT_EQ(x, 55.0f);
    EXPECT_FLOAT_EQ(z, -65.0f);
    // With even sizes the centre lies in the grid cell that the block places there.
    for (int col : {0, 17, 63}) {
        for (int row : {0, 21, 39}) {
            float cx = static_cast<float>(col), cz = static_cast<float>(row);
            map_to_world(cx, cz);
            EXPECT_EQ(cell_index_at(cx, cz), (row + 130) * 300 + col + 118);
        }
    }
}

TEST_F(MapCoordinates, SnapToCellAtEdgesAndNegativeCoordinates) {
    g_game.map_width = 64;
    g_game.map_height = 64;
    struct Case {
        float in, out;
    };
    // x: cell 0 of the map covers -64..-62, its centre is -63.
    for (Case c : {Case{-63.9f, -63.0f}, Case{-62.1f, -63.0f}, Case{-62.0f, -61.0f},
                   Case{0.0f, 1.0f}, Case{-0.5f, -1.0f}, Case{63.9f, 63.0f},
                   // West of the map x + W is negative and truncates toward zero.
                   Case{-64.5f, -63.0f}, Case{-66.5f, -65.0f}}) {
        float x = c.in, z = 1.0f;
        snap_to_cell(x, z);
        EXPECT_FLOAT_EQ(x, c.out) << c.in;
    }
    // z: row 0 covers 64 down to 62, centre 63.
    for (Case c : {Case{63.9f, 63.0f}, Case{62.1f, 63.0f}, Case{62.0f, 61.0f}, Case{0.5f, 1.0f},
                   Case{-0.5f, -1.0f}, Case{64.5f, 63.0f}}) {
        float x = 1.0f, z = c.in;
        snap_to_cell(x, z);
        EXPECT_FLOAT_EQ(z, c.out) << c.in;
    }
}

TEST_F(MapCoordinates, LayersOutsideTheGridReadBlocked) {
    EXPECT_EQ(terrain_at(-1), kTerrainFill);
    EXPECT_EQ(terrain_at(kGridCells), kTerrainFill);
    EXPECT_EQ(square_at(-300), 0);
    g_game.terrain_layer[5] = 3;
    EXPECT_EQ(terrain_at(5), 3);
}

}  // namespace
}  // namespace tessaly
