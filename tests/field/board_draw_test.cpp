// What the board's draw callbacks draw, read back from the recording device.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/asset_pack.hpp"
#include "app/task_pool.hpp"
#include "board_helpers.hpp"
#include "field/camera.hpp"
#include "field/cpu_turn.hpp"
#include "field/minimap.hpp"
#include "field/players.hpp"
#include "field/terrain.hpp"
#include "platform/gpu.hpp"
#include "render/device.hpp"
#include "render/sprites.hpp"
#include "render/textures.hpp"
#include "render/transforms.hpp"

namespace tessaly {
namespace {

using platform::RecordedDraw;

struct BoardDraw : test::BoardFixture {
    void SetUp() override {
        BoardFixture::SetUp();
        ASSERT_EQ(pack_load(), 1);
        graphics_backend_select(platform::GpuBackend::Recording);
        ASSERT_EQ(graphics_start(), 1);
        platform::gpu_recording_reset();
    }
    void TearDown() override {
        graphics_release();
        graphics_backend_select(platform::GpuBackend::OpenGL);
        pack_release();
        BoardFixture::TearDown();
    }
    // Looks at a world point from the board camera's place.
    static void look_at(float x, float z) {
        Vec3 target{x, 0.05f, z};
        Vec3 eye{0, 60.0f, 0};
        direction_offset(eye.x, eye.z, x, z, 270.0f, 20.0f);
        camera_set(target, eye);
        frustum_update();
    }
    static const std::vector<RecordedDraw>& draws() { return platform::gpu_recorded_draws(); }
    static std::vector<RecordedDraw> fans_with(const Texture* texture) {
        std::vector<RecordedDraw> out;
        for (const RecordedDraw& d : draws()) {
            if (!d.mesh && d.texture == texture) out.push_back(d);
        }
        return out;
    }
    // Sprites whose source rectangle starts at texel (left, top) of the atlas.
    static std::vector<RecordedDraw> sprites_from(float left, float top) {
        std::vector<RecordedDraw> out;
        for (const RecordedDraw& d : draws()) {
            if (d.mesh || d.fvf != platform::kFvfScreen || d.texture != atlas_texture()) continue;
            if (std::fabs(d.vertices[0].u - left / kAtlasWidth) < 1e-6f &&
                std::fabs(d.vertices[0].v - top / kAtlasHeight) < 1e-6f)
                out.push_back(d);
        }
        return out;
    }
    // The screen point where a sprite's top-left corner lies.
    static float sprite_x(const RecordedDraw& d) { return d.vertices[0].x + 0.5f; }
    static float sprite_y(const RecordedDraw& d) { return d.vertices[0].y + 0.5f; }
    static float sprite_w(const RecordedDraw& d) { return d.vertices[1].x - d.vertices[0].x; }
    static int mesh_draws(int mesh) {
        int n = 0;
        for (const RecordedDraw& d : draws()) n += d.mesh && d.mesh == mesh_record(mesh).mesh;
        return n;
    }
};

TEST_F(BoardDraw, WaterIsDrawnAtTheWaterLevelWithItsTile) {
    test::lay_board({"....", ".~~.", "....", "...."});
    ASSERT_EQ(map_task_create(), 1);
    Task* map = &task_pool()[kSlotMap];
    float x, z;
    test::cell_world(1, 1, x, z);
    look_at(x, z);
    map_task_draw(map);
    const std::vector<RecordedDraw> water = fans_with(texture_slot(7));
    ASSERT_EQ(water.size(), 2u);
    for (const RecordedDraw& d : water) {
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(d.vertices[i].y, -2.0f);
        EXPECT_FLOAT_EQ(d.vertices[0].u, 0.0f);
        EXPECT_FLOAT_EQ(d.vertices[2].u, 1.0f);
    }
    EXPECT_FLOAT_EQ(water[0].vertices[0].x, x - 1.0f);
    EXPECT_FLOAT_EQ(water[0].vertices[0].z, z + 1.0f);
}

TEST_F(BoardDraw, RaisedRockStandsThreeUnitsHighWithSideFacesDownToMinusThree) {
    test::lay_board({"....", ".^..", "....", "...."});
    ASSERT_EQ(map_task_create(), 1);
    float x, z;
    test::cell_world(1, 1, x, z);
    look_at(x, z);
    map_task_draw(&task_pool()[kSlotMap]);
    const std::vector<RecordedDraw> rock = fans_with(texture_slot(6));
    ASSERT_EQ(rock.size(), 1u);
    EXPECT_FLOAT_EQ(rock[0].vertices[0].y, 3.0f);
    // Four faces around the rock from 3 down to -3; its neighbours' faces toward it go from
    // 0 down to -6.
    int rock_faces = 0, ground_faces = 0;
    for (const RecordedDraw& d : fans_with(texture_slot(8))) {
        if (d.vertices[0].y == 3.0f && d.vertices[2].y == -3.0f) ++rock_faces;
        if (d.vertices[0].y == 0.0f && d.vertices[2].y == -6.0f) ++ground_faces;
    }
    EXPECT_EQ(rock_faces, 4);
    EXPECT_GE(ground_faces, 4);
}

TEST_F(BoardDraw, NeighboursThatDifferOnlyInValueGetAFaceBetweenThem) {
    test::lay_board({"####", "####", "####", "####"});
    float x, z;
    test::cell_world(1, 1, x, z);
    g_game.terrain_layer[test::cell_index_of(1, 1)] = 16;
    g_game.terrain_layer[test::cell_index_of(2, 1)] = 17;
    ASSERT_EQ(map_task_create(), 1);
    look_at(x, z);
    map_task_draw(&task_pool()[kSlotMap]);
    // Both look the same from above (tile 5) ...
    int plain_floors = 0;
    for (const RecordedDraw& d : fans_with(texture_slot(5)))
        plain_floors += d.vertices[0].y == 0.0f;
    EXPECT_GT(plain_floors, 2);
    // ... and the edge between them at x + 1 has a face from each side.
    int shared = 0;
    for (const RecordedDraw& d : fans_with(texture_slot(8))) {
        if (d.vertices[0].x == x + 1.0f && d.vertices[1].x == x + 1.0f) ++shared;
    }
    EXPECT_EQ(shared, 2);
}

TEST_F(BoardDraw, OnlyCellsNearTheCameraAreDrawn) {
    test::lay_board(std::vector<std::string>(64, std::string(64, '.')));
    ASSERT_EQ(map_task_create(), 1);
    look_at(0, 0);
    map_task_draw(&task_pool()[kSlotMap]);
    const size_t floors = fans_with(texture_slot(0)).size();
    EXPECT_GT(floors, 100u);
    EXPECT_LT(floors, 2000u);
}

// Every square cell carries the stone plate from the atlas, just above its floor; other cells
// do not.
TEST_F(BoardDraw, SquareCellsCarryAPlateJustAboveTheFloor) {
    test::lay_board({"o..o", ".##.", "o..o", "...."});
    ASSERT_EQ(map_task_create(), 1);
    float x, z;
    test::cell_world(1, 1, x, z);
    look_at(x, z);
    map_task_draw(&task_pool()[kSlotMap]);
    std::vector<RecordedDraw> plates;
    for (const RecordedDraw& d : fans_with(atlas_texture())) {
        if (d.fvf != platform::kFvfScreen) plates.push_back(d);
    }
    ASSERT_EQ(plates.size(), 4u);
    float sx, sz;
    test::cell_world(0, 0, sx, sz);
    const RecordedDraw& first = plates[0];
    EXPECT_FLOAT_EQ(first.vertices[0].x, sx - 1.0f);
    EXPECT_FLOAT_EQ(first.vertices[0].z, sz + 1.0f);
    EXPECT_FLOAT_EQ(first.vertices[2].x, sx + 1.0f);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(first.vertices[i].y, 0.03f, 1e-6f);
    EXPECT_FLOAT_EQ(first.vertices[0].u, 1968.0f / kAtlasWidth);
    EXPECT_FLOAT_EQ(first.vertices[2].v, 64.0f / kAtlasHeight);
    // The plates are drawn after the floors they lie on.
    size_t last_floor = 0, first_plate = draws().size();
    for (size_t i = 0; i < draws().size(); ++i) {
        if (draws()[i].texture == texture_slot(0)) last_floor = i;
        if (draws()[i].texture == atlas_texture() && i < first_plate) first_plate = i;
    }
    EXPECT_LT(last_floor, first_plate);
}

// Drawn a quad a cell (the reference drawing), square cells get a brighter, opaque dot over
// their road dot, under the destination markers.
TEST_F(BoardDraw, MinimapShowsSquaresBrighterThanRoads) {
    test::lay_board({"o.2o", "..#.", "####", "####"});
    platform::gpu_reference_drawing(true);
    minimap_draw();
    platform::gpu_reference_drawing(false);
    const std::vector<RecordedDraw> squares = sprites_from(320, 488);
    ASSERT_EQ(squares.size(), 2u);
    EXPECT_FLOAT_EQ(sprite_x(squares[0]), 380.0f);
    EXPECT_FLOAT_EQ(sprite_y(squares[0]), 20.0f);
    EXPECT_FLOAT_EQ(sprite_x(squares[1]), 380.0f + 12.0f);
    EXPECT_EQ(squares[0].vertices[0].colour, 0xFFFFFFFFu);
    EXPECT_EQ(sprites_from(320, 482).size(), 6u);
    const std::vector<RecordedDraw> marker = sprites_from(350, 482);
    ASSERT_EQ(marker.size(), 1u);
    size_t last_square = 0, marker_at = 0;
    for (size_t i = 0; i < draws().size(); ++i) {
        if (draws()[i].vertices[0].v == squares[1].vertices[0].v) last_square = i;
        if (draws()[i].vertices[0].u == marker[0].vertices[0].u) marker_at = i;
    }
    EXPECT_LT(last_square, marker_at);
}

TEST_F(BoardDraw, MinimapDrawsPlainCellsMarkersAndThePlayerOnTurnLast) {
    test::lay_board({"#.2#", "..#.", "####", "####"});
    float x, z;
    test::cell_world(1, 1, x, z);
    PlayerRecord* human = player_create(x, kPlayerHeight, z, 0, 1);
    test::cell_world(3, 1, x, z);
    player_create(x, kPlayerHeight, z, 1, 2);
    turn_ring_link();
    platform::gpu_reference_drawing(true);
    minimap_draw();
    platform::gpu_reference_drawing(false);
    const std::vector<RecordedDraw> plain = sprites_from(320, 482);
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_FLOAT_EQ(sprite_x(plain[0]), 380.0f + 4.0f);
    EXPECT_FLOAT_EQ(sprite_y(plain[0]), 20.0f);
    EXPECT_EQ(plain[0].vertices[0].colour, 0x96FFFFFFu);
    const std::vector<RecordedDraw> marker = sprites_from(350, 482);
    ASSERT_EQ(marker.size(), 1u);
    EXPECT_FLOAT_EQ(sprite_x(marker[0]), 380.0f + 8.0f - 2.0f);
    EXPECT_FLOAT_EQ(sprite_y(marker[0]), 20.0f - 2.0f);
    // The human (character 1) on cell (1, 1): centred on its minimap cell.
    const std::vector<RecordedDraw> me = sprites_from(221, 482);
    ASSERT_EQ(me.size(), 1u);
    EXPECT_FLOAT_EQ(sprite_x(me[0]), 380.0f + 4.0f + 2.0f - 8.0f);
    EXPECT_FLOAT_EQ(sprite_y(me[0]), 20.0f + 4.0f + 2.0f - 8.0f);
    EXPECT_EQ(me[0].vertices[0].colour, 0xFFFFFFFFu);
    // The waiting computer player is drawn before the human player, whose turn runs.
    const std::vector<RecordedDraw> rival = sprites_from(239, 482);
    ASSERT_EQ(rival.size(), 1u);
    EXPECT_EQ(human->state, &turn_start);
    int rival_at = -1, me_at = -1;
    for (size_t i = 0; i < draws().size(); ++i) {
        if (draws()[i].vertices[0].u == rival[0].vertices[0].u) rival_at = static_cast<int>(i);
        if (draws()[i].vertices[0].u == me[0].vertices[0].u) me_at = static_cast<int>(i);
    }
    EXPECT_LT(rival_at, me_at);
    // Without rivals the waiting player is not shown.
    platform::gpu_recording_reset();
    g_game.settings[kSettingRivals] = 0;
    minimap_draw();
    EXPECT_TRUE(sprites_from(239, 482).empty());
}

// Batched, the road and square cells are drawn from a picture made from their atlas texels,
// 4 a cell, a road's with the translucent colour's alpha, by quads that cover each shown cell
// once and no empty one; the picture is made again only when the cells change.
TEST_F(BoardDraw, MinimapCellsAreOnePictureMadeAgainWhenTheyChange) {
    test::lay_board({"o.2o", "..#.", "####", "####"});
    minimap_draw();
    Texture* picture = picture_texture(Picture::MinimapCells);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(platform::gpu_texture_width(picture), 16);
    ASSERT_EQ(platform::gpu_texture_height(picture), 16);
    EXPECT_TRUE(sprites_from(320, 482).empty());
    EXPECT_TRUE(sprites_from(320, 488).empty());
    // Row 0: square, road, destination, square; row 1: road, road, wall, road.
    const std::vector<RecordedDraw> quads = fans_with(picture);
    ASSERT_EQ(quads.size(), 2u);
    int covered[4][4] = {};
    for (const RecordedDraw& q : quads) {
        EXPECT_EQ(q.vertices[0].colour, 0xFFFFFFFFu);
        const float x = sprite_x(q), y = sprite_y(q);
        const float w = sprite_w(q), h = q.vertices[2].y - q.vertices[0].y;
        // Each quad shows the picture's texels under it, one a pixel.
        EXPECT_FLOAT_EQ(q.vertices[0].u * 16.0f, x - 380.0f);
        EXPECT_FLOAT_EQ(q.vertices[0].v * 16.0f, y - 20.0f);
        EXPECT_FLOAT_EQ((q.vertices[2].u - q.vertices[0].u) * 16.0f, w);
        EXPECT_FLOAT_EQ((q.vertices[2].v - q.vertices[0].v) * 16.0f, h);
        for (int row = static_cast<int>(y - 20.0f) / 4; row < static_cast<int>(y - 20.0f + h) / 4;
             ++row) {
            for (int col = static_cast<int>(x - 380.0f) / 4;
                 col < static_cast<int>(x - 380.0f + w) / 4; ++col) {
                ++covered[row][col];
            }
        }
    }
    const int expected[4][4] = {{1, 1, 0, 1}, {1, 1, 0, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}};
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            EXPECT_EQ(covered[row][col], expected[row][col]) << col << "," << row;
        }
    }
    EXPECT_EQ(draws().front().texture, picture);  // under the destination marker
    uint32_t road[16], square[16], cells[256];
    ASSERT_TRUE(platform::gpu_texture_read(atlas_texture(), 320, 482, 4, 4, road));
    ASSERT_TRUE(platform::gpu_texture_read(atlas_texture(), 320, 488, 4, 4, square));
    ASSERT_TRUE(platform::gpu_texture_read(picture, 0, 0, 16, 16, cells));
    const auto texel = [&cells](int col, int row, int x, int y) {
        return cells[(row * 4 + y) * 16 + col * 4 + x];
    };
    for (int i = 0; i < 16; ++i) {
        const int x = i % 4, y = i / 4;
        // Cell (0, 0) is a square, (1, 0) a road, (1, 1) the road beside a destination,
        // (0, 2) a wall.
        EXPECT_EQ(texel(0, 0, x, y), square[i]) << i;
        EXPECT_EQ(texel(1, 0, x, y), (road[i] & 0x00FFFFFFu) | 0x96000000u) << i;
        EXPECT_EQ(texel(1, 1, x, y), texel(1, 0, x, y)) << i;
        EXPECT_EQ(texel(0, 2, x, y), 0u) << i;
    }
    // Drawn again unchanged: the same picture.
    minimap_draw();
    EXPECT_EQ(picture_texture(Picture::MinimapCells), picture);
    const uint64_t key = picture_key(Picture::MinimapCells);
    // A wall becomes road: the picture is made again with it.
    test::lay_board({"o.2o", "..#.", "#.##", "####"});
    platform::gpu_recording_reset();
    minimap_draw();
    EXPECT_NE(picture_key(Picture::MinimapCells), key);
    // ... and its cell gets a quad of its own, as the ones above already make a block.
    const std::vector<RecordedDraw> now = fans_with(picture_texture(Picture::MinimapCells));
    ASSERT_EQ(now.size(), 3u);
    EXPECT_FLOAT_EQ(sprite_x(now[2]), 384.0f);
    EXPECT_FLOAT_EQ(sprite_y(now[2]), 28.0f);
    EXPECT_FLOAT_EQ(sprite_w(now[2]), 4.0f);
    ASSERT_TRUE(
        platform::gpu_texture_read(picture_texture(Picture::MinimapCells), 4, 8, 1, 1, cells));
    EXPECT_EQ(cells[0], (road[0] & 0x00FFFFFFu) | 0x96000000u);
}

struct PlayerDraw : BoardDraw {
    PlayerRecord* p = nullptr;
    void SetUp() override {
        BoardDraw::SetUp();
        test::lay_board(std::vector<std::string>(20, std::string(20, '.')));
        float x, z;
        test::cell_world(10, 10, x, z);
        p = player_create(x, kPlayerHeight, z, 0, 0);
        ASSERT_NE(p, nullptr);
        look_at(x, z);
    }
    void draw() {
        platform::gpu_recording_reset();
        player_draw(&task_pool()[kSlotPlayersFirst]);
    }
};

TEST_F(PlayerDraw, AtRestOnlyTheLeadingMemberIsDrawn) {
    p->state = &turn_waiting;
    draw();
    EXPECT_GT(mesh_draws(0), 0);
    for (int m = 1; m < 4; ++m) EXPECT_EQ(mesh_draws(m), 0) << m;
    // Strung out along a corridor, all four are.
    for (int i = 1; i < 4; ++i) p->members[i].position.x -= 2.0f * i;
    draw();
    for (int m = 0; m < 4; ++m) EXPECT_GT(mesh_draws(m), 0) << m;
}

TEST_F(PlayerDraw, TurnBannerShowsStepsAndTheCentredNamePlate) {
    p->state = &die_spin;
    p->steps_left = 4;
    draw();
    // The name plate of row 0 is 120 wide: (200 - 120) / 2 + 40.
    const std::vector<RecordedDraw> plate = sprites_from(855, 1246);
    ASSERT_EQ(plate.size(), 1u);
    EXPECT_FLOAT_EQ(sprite_x(plate[0]), 80.0f);
    EXPECT_FLOAT_EQ(sprite_y(plate[0]), 3.0f);
    // The large 4.
    EXPECT_EQ(sprites_from(69, 481).size(), 1u);
    p->state = &turn_waiting;
    draw();
    EXPECT_TRUE(sprites_from(855, 1246).empty());
    EXPECT_TRUE(sprites_from(69, 481).empty());
}

TEST_F(PlayerDraw, ComputerPlateMakesRoomForItsLabel) {
    p->computer = 1;
    p->state = &die_spin;
    draw();
    // t = 120 + 4 + 47 = 171, x0 = 14.5.
    const std::vector<RecordedDraw> plate = sprites_from(855, 1246);
    ASSERT_EQ(plate.size(), 1u);
    EXPECT_FLOAT_EQ(sprite_x(plate[0]), round_half_away(54.5f));
    const std::vector<RecordedDraw> label = sprites_from(958, 1384);
    ASSERT_EQ(label.size(), 1u);
    EXPECT_FLOAT_EQ(sprite_x(label[0]), round_half_away(178.5f));
    EXPECT_FALSE(sprites_from(502, 901).empty());
}

TEST_F(PlayerDraw, StatusBarFillIsProportionalToHitPoints) {
    p->hit_points = 100;
    draw();
    const std::vector<RecordedDraw> fill = sprites_from(498, 886);
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_FLOAT_EQ(sprite_w(fill[0]), 18.0f);
    const std::vector<RecordedDraw> back = sprites_from(496, 878);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_FLOAT_EQ(sprite_x(fill[0]) - sprite_x(back[0]), 2.0f);
    // The panel hangs down and to the right of the player on the screen.
    Vec3 screen{};
    world_to_screen(screen, p->position);
    EXPECT_GT(sprite_x(back[0]), screen.x);
    EXPECT_GT(sprite_y(back[0]), screen.y);
    EXPECT_TRUE(sprites_from(502, 890).empty());
    p->team_number = 2;
    draw();
    EXPECT_EQ(sprites_from(502, 890).size(), 1u);
}

TEST_F(PlayerDraw, HiddenOrRivalFreeComputerPlayersDrawNothing) {
    p->hidden = 1;
    draw();
    EXPECT_TRUE(draws().empty());
    p->hidden = 0;
    p->computer = 1;
    g_game.settings[kSettingRivals] = 0;
    draw();
    EXPECT_TRUE(draws().empty());
    g_game.settings[kSettingRivals] = 1;
    draw();
    EXPECT_FALSE(draws().empty());
}

TEST_F(PlayerDraw, ComputerHealingShowsTheItemBannerCentred) {
    p->computer = 1;
    p->state = &cpu_heal;
    draw();
    EXPECT_TRUE(sprites_from(722, 919).empty());
    p->state = &cpu_banner;
    draw();
    const std::vector<RecordedDraw> banner = sprites_from(722, 919);
    ASSERT_EQ(banner.size(), 1u);
    // 195 wide: (640 - 195) / 2.
    EXPECT_FLOAT_EQ(sprite_x(banner[0]), round_half_away(222.5f));
    EXPECT_FLOAT_EQ(sprite_y(banner[0]), 300.0f);
}

TEST_F(PlayerDraw, RouteHintsLieAroundTheHumanWhileItChoosesAWay) {
    p->route_hints[0] = 9;
    p->route_hints[1] = -1;
    p->route_hints[2] = 23;
    p->route_hints[3] = 24;
    p->state = &choose_direction;
    draw();
    const Texture* east = texture_slot(9);
    const Texture* south = texture_slot(24);
    ASSERT_NE(south, nullptr);
    ASSERT_EQ(fans_with(east).size(), 1u);
    ASSERT_EQ(fans_with(texture_slot(23)).size(), 1u);
    const std::vector<RecordedDraw> s = fans_with(south);
    ASSERT_EQ(s.size(), 1u);
    // Three units south of the player, 4 up, corners 1.4 away: north-west corner first.
    // (Angles turn with 3.14 for pi, so the corners sit a hair off the exact square.)
    const float r = 1.4f * std::cos(3.14159265f / 4.0f);
    EXPECT_NEAR(s[0].vertices[0].x, p->position.x - r, 0.03f);
    EXPECT_NEAR(s[0].vertices[0].z, p->position.z - 3.0f + r, 0.03f);
    EXPECT_NEAR(s[0].vertices[0].y, 4.0f, 1e-5f);
    EXPECT_NEAR(s[0].vertices[2].x, p->position.x + r, 0.03f);
    EXPECT_NEAR(s[0].vertices[2].z, p->position.z - 3.0f - r, 0.03f);
    EXPECT_FLOAT_EQ(s[0].vertices[2].u, 1.0f);
    EXPECT_FLOAT_EQ(s[0].vertices[2].v, 1.0f);
    const std::vector<RecordedDraw> e = fans_with(east);
    EXPECT_NEAR(e[0].vertices[0].x, p->position.x + 3.0f - r, 0.03f);
    // Not while the die spins, not with the setting off, never for a computer player.
    p->state = &die_spin;
    draw();
    EXPECT_TRUE(fans_with(east).empty());
    p->state = &choose_direction;
    g_game.settings[kSettingRouteHints] = 0;
    draw();
    EXPECT_TRUE(fans_with(east).empty());
    g_game.settings[kSettingRouteHints] = 1;
    p->computer = 1;
    p->state = &cpu_choose_direction;
    draw();
    EXPECT_TRUE(fans_with(east).empty());
}

TEST_F(PlayerDraw, PlayerOutOfSightDrawsNothing) {
    look_at(p->position.x + 40.0f, p->position.z);
    draw();
    EXPECT_TRUE(draws().empty());
}

TEST_F(PlayerDraw, CameraHelpBarNamesTheDieKeysWhileTheHumanSpins) {
    ASSERT_EQ(camera_create(p->position.x, 0.05f, p->position.z, 270, 60, p), 1);
    Task* cam = &task_pool()[kSlotCamera];
    p->state = &die_spin;
    platform::gpu_recording_reset();
    camera_draw(cam);
    EXPECT_EQ(sprites_from(527, 1046).size(), 1u);
    EXPECT_TRUE(sprites_from(527, 1027).empty());
    const std::vector<RecordedDraw> strip = sprites_from(0, 1246);
    ASSERT_EQ(strip.size(), 1u);
    EXPECT_EQ(strip[0].vertices[0].colour, 0x96FFFFFFu);
    EXPECT_FLOAT_EQ(sprite_y(strip[0]), 464.0f);
    p->state = &choose_direction;
    platform::gpu_recording_reset();
    camera_draw(cam);
    EXPECT_EQ(sprites_from(527, 1027).size(), 1u);
    // While an event runs there is no help bar; the skip banner shows while it waits.
    Task* runner = task_alloc_at(kSlotEventRunner);
    task_start(runner, kKindEventRunner, nullptr, nullptr);
    camera_find()->behaviour = &camera_skip_wait;
    platform::gpu_recording_reset();
    camera_draw(cam);
    EXPECT_TRUE(sprites_from(0, 1246).empty());
    const std::vector<RecordedDraw> banner = sprites_from(446, 781);
    ASSERT_EQ(banner.size(), 1u);
    EXPECT_FLOAT_EQ(sprite_y(banner[0]), 300.0f);
}

}  // namespace
}  // namespace tessaly
