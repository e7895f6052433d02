#include "field/walking.hpp"

#include "field/map.hpp"
#include "render/sprites.hpp"
#include "render/transforms.hpp"

namespace tessaly {
namespace {

// Directions tried by corridor_turn for each facing: straight on, one side, the other, back.
struct CorridorOrder {
    int facing;
    float order[4];
};
constexpr CorridorOrder kCorridorOrders[] = {
    {0, {0.0f, 270.0f, 90.0f, 180.0f}},
    {180, {180.0f, 270.0f, 90.0f, 0.0f}},
    {270, {270.0f, 0.0f, 180.0f, 90.0f}},
    {90, {90.0f, 0.0f, 180.0f, 270.0f}},
};

}  // namespace

int terrain_passable_toward(float x, float z, float direction) {
    float tx = 0.0f, tz = 0.0f;
    direction_offset(tx, tz, x, z, direction, kCellSize);
    return terrain_passable(terrain_at(cell_index_at(tx, tz))) ? 1 : 0;
}

void step_axis(float& x, float& z, float facing, float distance) {
    int f = static_cast<int>(round_half_away(facing)) - 180;
    f %= 360;
    if (f < 0) f += 360;
    // f is the facing turned half around: 180 is east, 270 north, 0 west, 90 south.
    switch (f) {
        case 180:
            x += distance;
            break;
        case 270:
            z += distance;
            break;
        case 0:
            x -= distance;
            break;
        case 90:
            z -= distance;
            break;
        default:
            break;
    }
}

void corridor_turn(float x, float z, float& facing) {
    const int f = static_cast<int>(facing);
    for (const CorridorOrder& c : kCorridorOrders) {
        if (c.facing != f) continue;
        for (float d : c.order) {
            if (terrain_passable_toward(x, z, d)) {
                facing = d;
                return;
            }
        }
        return;
    }
}

bool cell_step(Vec3& position, float facing, int32_t& step_frame) {
    step_axis(position.x, position.z, facing, kWalkStep);
    step_frame += 1;
    if (step_frame < kFramesPerCell) return false;
    step_frame = 0;
    snap_to_cell(position.x, position.z);
    return true;
}

}  // namespace tessaly
