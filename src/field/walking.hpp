#pragma once
// The walking rules every walker on the board shares (players of both kinds and their
// members): directions, the quantised cell step, passability and the corridor rule.
#include <cstdint>

#include "render/matrix.hpp"

namespace tessaly {

constexpr float kDirectionEast = 0.0f;
constexpr float kDirectionNorth = 90.0f;
constexpr float kDirectionWest = 180.0f;
constexpr float kDirectionSouth = 270.0f;

// Walkers move 0.5 a frame and a full cell (2 units) in 4 frames.
constexpr float kWalkStep = 0.5f;
constexpr int kFramesPerCell = 4;

// 1 when the cell 2 units from (x, z) in the direction may be entered.
int terrain_passable_toward(float x, float z, float direction);
// Moves exactly along one axis by the facing (0, 90, 180, 270; others do not move).
void step_axis(float& x, float& z, float facing, float distance);
// Between squares: straight on, else to one side, else the other, else back; with no
// passable direction at all the facing stays.
void corridor_turn(float x, float z, float& facing);
// One frame of a cell step: 0.5 in the facing. On the fourth frame the walker has crossed
// a whole cell: its step frame goes back to 0, it is snapped to the cell centre and true
// is returned.
bool cell_step(Vec3& position, float facing, int32_t& step_frame);

}  // namespace tessaly
