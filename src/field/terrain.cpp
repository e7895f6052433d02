#include "field/terrain.hpp"

#include <array>

#include "app/task_pool.hpp"
#include "field/map.hpp"
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

void map_task_draw(Task*) {}

}  // namespace tessaly
