#include "field/terrain.hpp"

#include <array>
#include <cmath>

#include "app/task_pool.hpp"
#include "field/map.hpp"
#include "render/primitives.hpp"
#include "render/sprites.hpp"
#include "render/textures.hpp"
#include "render/transforms.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

// Each level is held for 4 frames: up from -2.0 to -1.0 in steps of 0.1 over 44 entries,
// then down again over 44 entries.
constexpr std::array<float, kWaterPhases> make_water_table() {
    std::array<float, kWaterPhases> t{};
    for (int i = 0; i < kWaterPhases / 2; ++i) t[i] = -2.0f + 0.1f * static_cast<float>(i / 4);
    for (int i = kWaterPhases / 2; i < kWaterPhases; ++i)
        t[i] = -1.0f - 0.1f * static_cast<float>((i - kWaterPhases / 2) / 4);
    return t;
}
constexpr std::array<float, kWaterPhases> kWaterTable = make_water_table();

constexpr int kTileWater = 7;
constexpr int kTileSide = 8;
constexpr int kTileBlocked = 5;
constexpr int kTileRaised = 6;
constexpr float kRaisedHeight = 3.0f;
constexpr float kSideDepth = 6.0f;
constexpr float kCullRadius = 4.0f;
constexpr float kCullDrop = 2.0f;
constexpr int kLandLast = 44;
// The stone plate on a square cell, a little above the floor so that it never fights it.
constexpr Rect kSquarePlate = {1968, 0, 2032, 64};
constexpr float kPlateLift = 0.03f;

// What a land cell looks like: its tile texture and the height of its surface.
struct LandLook {
    int tile;
    float height;
};
constexpr LandLook land_look(int value) {
    if (value == kTerrainRaised) return {kTileRaised, kRaisedHeight};
    if (value >= 0 && value <= kTerrainDestinationLast) return {value, 0.0f};
    return {kTileBlocked, 0.0f};
}

// The north-west corner of a grid cell in the world.
float cell_west_x(int column) {
    return 2.0f * static_cast<float>(column) - 300.0f;
}
float cell_north_z(int row) {
    return 300.0f - 2.0f * static_cast<float>(row);
}

void floor_draw(float x, float z, float h, Texture* texture) {
    QuadVertex v[4];
    quad_vertex_set(v[0], x, h, z, 0.0f, 0.0f);
    quad_vertex_set(v[1], x + kCellSize, h, z, 1.0f, 0.0f);
    quad_vertex_set(v[2], x + kCellSize, h, z - kCellSize, 1.0f, 1.0f);
    quad_vertex_set(v[3], x, h, z - kCellSize, 0.0f, 1.0f);
    quad_draw(v, kColourOpaque, texture);
}

// A vertical face on the edge from (x0, z0) to (x1, z1), from h down to h - 6.
void side_draw(float x0, float z0, float x1, float z1, float h, Texture* texture) {
    QuadVertex v[4];
    quad_vertex_set(v[0], x0, h, z0, 0.0f, 0.0f);
    quad_vertex_set(v[1], x1, h, z1, 1.0f, 0.0f);
    quad_vertex_set(v[2], x1, h - kSideDepth, z1, 1.0f, 1.0f);
    quad_vertex_set(v[3], x0, h - kSideDepth, z0, 0.0f, 1.0f);
    quad_draw(v, kColourOpaque, texture);
}

// The columns of a row whose cell centres at heights y_low..y_high may be in view: the
// cells the culling test is then asked about, in the same order as a test of every cell.
bool row_columns(int row, float y_low, float y_high, int& first, int& last) {
    float x_low = 0, x_high = 0;
    const float centre_z = cell_north_z(row) - 1.0f;
    if (!sphere_visible_x_range(y_low, y_high, centre_z, kCullRadius, x_low, x_high)) return false;
    // Cell c's centre is at x = 2c - 299.
    const float c_low = (x_low + 299.0f) / 2.0f, c_high = (x_high + 299.0f) / 2.0f;
    first = c_low <= 0.0f ? 0 : static_cast<int>(std::floor(c_low));
    last = c_high >= kGridSize - 1 ? kGridSize - 1 : static_cast<int>(std::ceil(c_high));
    return first <= last;
}

void water_pass(float level) {
    const int8_t* terrain = g_game.terrain_layer;
    Texture* texture = texture_slot(kTileWater);
    const float y = level - kCullDrop;
    for (int r = 0; r < kGridSize; ++r) {
        const float z = cell_north_z(r);
        int first = 0, last = -1;
        if (!row_columns(r, y, y, first, last)) continue;
        for (int c = first; c <= last; ++c) {
            if (terrain[r * kGridSize + c] != kTerrainWater) continue;
            const float x = cell_west_x(c);
            if (!sphere_visible(x + 1.0f, level - kCullDrop, z - 1.0f, kCullRadius)) continue;
            floor_draw(x, z, level, texture);
        }
    }
}

void land_pass() {
    const int8_t* terrain = g_game.terrain_layer;
    Texture* side = texture_slot(kTileSide);
    for (int r = 0; r < kGridSize; ++r) {
        const float z = cell_north_z(r);
        int first = 0, last = -1;
        if (!row_columns(r, -kCullDrop, kRaisedHeight - kCullDrop, first, last)) continue;
        for (int c = first; c <= last; ++c) {
            const int cell = r * kGridSize + c;
            const int value = terrain[cell];
            if (value < 0 || value > kLandLast) continue;
            const LandLook look = land_look(value);
            const float x = cell_west_x(c);
            const float h = look.height;
            if (!sphere_visible(x + 1.0f, h - kCullDrop, z - 1.0f, kCullRadius)) continue;
            floor_draw(x, z, h, texture_slot(look.tile));
            // Faces on every edge to a neighbour of another value: east, west, north, south.
            const float e = x + kCellSize, s = z - kCellSize;
            if (c + 1 < kGridSize && terrain[cell + 1] != value) side_draw(e, z, e, s, h, side);
            if (c > 0 && terrain[cell - 1] != value) side_draw(x, s, x, z, h, side);
            if (r > 0 && terrain[cell - kGridSize] != value) side_draw(x, z, e, z, h, side);
            if (r + 1 < kGridSize && terrain[cell + kGridSize] != value)
                side_draw(e, s, x, s, h, side);
        }
    }
}

// A plate on every square of the map block, so that a player sees where its steps count.
void square_pass() {
    const int w = g_game.map_width, h = g_game.map_height;
    if (!g_game.square_layer || !map_size_fits(w, h)) return;
    Texture* atlas = atlas_texture();
    const float u0 = kSquarePlate.left / kAtlasWidth, u1 = kSquarePlate.right / kAtlasWidth;
    const float v0 = kSquarePlate.top / kAtlasHeight, v1 = kSquarePlate.bottom / kAtlasHeight;
    const int r0 = (kGridSize - h) / 2, c0 = (kGridSize - w) / 2;
    for (int r = r0; r < r0 + h; ++r) {
        const float z = cell_north_z(r);
        for (int c = c0; c < c0 + w; ++c) {
            const int cell = r * kGridSize + c;
            const int value = g_game.terrain_layer[cell];
            if (g_game.square_layer[cell] < kSquareFirst || value < 0 || value > kLandLast)
                continue;
            const float x = cell_west_x(c);
            const float y = land_look(value).height + kPlateLift;
            if (!sphere_visible(x + 1.0f, y - kCullDrop, z - 1.0f, kCullRadius)) continue;
            QuadVertex v[4];
            quad_vertex_set(v[0], x, y, z, u0, v0);
            quad_vertex_set(v[1], x + kCellSize, y, z, u1, v0);
            quad_vertex_set(v[2], x + kCellSize, y, z - kCellSize, u1, v1);
            quad_vertex_set(v[3], x, y, z - kCellSize, u0, v1);
            quad_draw(v, kColourOpaque, atlas);
        }
    }
}

void water_advance(MapTaskRecord& r) {
    r.water_phase += 1;
    if (r.water_phase >= kWaterPhases) r.water_phase = 0;
    r.water_level = kWaterTable[r.water_phase];
}

}  // namespace

float water_level_at(int phase) {
    if (phase < 0 || phase >= kWaterPhases) return kWaterTable[0];
    return kWaterTable[phase];
}

int map_task_create() {
    Task* t = task_alloc_in_range(kSlotMap, kSlotMap + 1);
    if (!t) return 0;
    task_start(t, kKindMap, &map_task_update, &map_task_draw);
    MapTaskRecord& r = task_record<MapTaskRecord>(t);
    r.alive = 1;
    r.water_phase = 0;
    water_advance(r);
    return 1;
}

void map_task_update(Task* t) {
    MapTaskRecord& r = task_record<MapTaskRecord>(t);
    water_advance(r);
    if (r.alive == 0) t->in_use = 0;
}

void map_task_draw(Task* t) {
    if (!g_game.terrain_layer) return;
    const MapTaskRecord& r = task_record<MapTaskRecord>(t);
    world_transform_identity();
    water_pass(r.water_level);
    land_pass();
    square_pass();
}

}  // namespace tessaly
