#include "field/route_hints.hpp"

#include "field/map.hpp"
#include "field/players.hpp"
#include "render/primitives.hpp"
#include "render/sprites.hpp"
#include "render/textures.hpp"
#include "render/transforms.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr int kDirections = 4;
constexpr int kTurnsWithoutStepLimit = 3;
constexpr float kHintDistance = 3.0f;
constexpr float kHintHeight = 4.0f;
constexpr float kHintCornerDistance = 1.4f;
// Corners from the north-west round to the south-west, with their texture coordinates:
// the picture's top lies north.
struct HintCorner {
    float angle, u, v;
};
constexpr HintCorner kHintCorners[4] = {
    {135.0f, 0.0f, 0.0f}, {45.0f, 1.0f, 0.0f}, {315.0f, 1.0f, 1.0f}, {225.0f, 0.0f, 1.0f}};

// The neighbour of a cell in a direction; a step off the grid's edge lands on no cell (-1),
// which reads as blocked, rather than wrapping round to the other side of the grid.
int neighbour(int cell, int direction) {
    const int row = cell / kGridSize, column = cell % kGridSize;
    switch (direction) {
        case 0:
            return column + 1 < kGridSize ? cell + kCellEast : -1;
        case 90:
            return row > 0 ? cell + kCellNorth : -1;
        case 180:
            return column > 0 ? cell + kCellWest : -1;
        case 270:
            return row + 1 < kGridSize ? cell + kCellSouth : -1;
        default:
            return -1;
    }
}

// After a step the trace depends only on its cell and heading, so a trace that has taken
// more steps than there are cells and headings in the map goes round a loop for ever.
int trace_step_limit() {
    int w = g_game.map_width, h = g_game.map_height;
    if (w <= 0 || h <= 0 || w > kGridSize || h > kGridSize) w = h = kGridSize;
    return kDirections * w * h;
}

}  // namespace

int route_trace(int start, int direction) {
    if (start < 0 || start >= kGridCells) return -1;
    int d = direction;
    // Before the first step there is no way back yet: for east and north this is no
    // direction at all.
    int back = d - 180;
    int turns = 0;
    int cur = start;
    const int step_limit = trace_step_limit();
    for (int steps = 0; steps <= step_limit;) {
        const int prev = cur;
        cur = neighbour(cur, d);
        const int value = cur >= 0 ? terrain_at(cur) : kTerrainFill;
        if (terrain_passable(value)) {
            turns = 0;
            steps += 1;
            back = (d + 180) % 360;
            if (value >= kTerrainDestinationFirst && value <= kTerrainDestinationLast) return value;
        } else {
            // Blocked: back to where it stood, and a left turn.
            turns += 1;
            cur = prev;
            d = (d + 90) % 360;
        }
        // The trace never turns round into the cell it came from.
        if (d == back) {
            turns += 1;
            d = (d + 90) % 360;
        }
        if (turns > kTurnsWithoutStepLimit) return -1;
    }
    return -1;
}

void route_hints_compute(PlayerRecord& p) {
    for (int32_t& h : p.route_hints) h = kHintNone;
    const int s = cell_index_at(p.position.x, p.position.z);
    if (s < 0 || s >= kGridCells) return;
    for (int q = 0; q < kDirections; ++q) {
        const int d = q * 90;
        const int first = neighbour(s, d);
        if (first < 0 || !terrain_passable(terrain_at(first))) continue;
        const int v = route_trace(s, d);
        if (v >= kTerrainDestinationFirst && v <= kTerrainDestinationLast) {
            p.route_hints[q] = 4 * v + q + 5;
        }
    }
}

void route_hints_draw(const PlayerRecord& p) {
    world_transform_identity();
    for (int q = 0; q < kDirections; ++q) {
        const int hint = p.route_hints[q];
        if (hint < kHintFirst || hint > kHintLast) continue;
        float cx = 0.0f, cz = 0.0f;
        direction_offset(cx, cz, p.position.x, p.position.z, static_cast<float>(q * 90),
                         kHintDistance);
        QuadVertex v[4];
        for (int i = 0; i < 4; ++i) {
            float x = 0.0f, z = 0.0f;
            direction_offset(x, z, cx, cz, kHintCorners[i].angle, kHintCornerDistance);
            quad_vertex_set(v[i], x, kHintHeight, z, kHintCorners[i].u, kHintCorners[i].v);
        }
        quad_draw(v, kColourOpaque, texture_slot(hint));
    }
}

}  // namespace tessaly
