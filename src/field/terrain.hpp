#pragma once
// The map task (kind 1020, slot 2): animates the water and draws the terrain in 3D.
#include <cstdint>

namespace tessaly {

struct Task;

constexpr int kWaterPhases = 88;

struct MapTaskRecord {
    int32_t alive;
    int32_t water_phase;  // 0..87
    float water_level;
};

// The water level of a phase: a triangle wave from -2.0 up to -1.0 and back.
float water_level_at(int phase);
// 0 if slot 2 is taken.
int map_task_create();
void map_task_update(Task* t);
void map_task_draw(Task* t);

}  // namespace tessaly
