#include "event/event_actors.hpp"

#include <cstdio>
#include <string>

#include "app/debug_dump.hpp"
#include "app/task_pool.hpp"
#include "field/map.hpp"
#include "render/primitives.hpp"
#include "render/sprites.hpp"
#include "render/textures.hpp"
#include "render/transforms.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr float kActorStep = 0.5f;
// Every eighth frame of a walk the actor is put back on whole numbers.
constexpr int32_t kActorSnapFrames = 8;

// The actors' section of the dump: each live actor's id, model, map cell and heading.
void actors_dump(std::string& out) {
    const int r0 = (kGridSize - g_game.map_height) / 2;
    const int c0 = (kGridSize - g_game.map_width) / 2;
    char line[128];
    for (int s = kSlotEventActorsFirst; s < kSlotEventActorsEnd; ++s) {
        const EventActorRecord* a = actor_in_slot(s);
        if (!a) continue;
        const int cell = cell_index_at(a->x, a->z);
        std::snprintf(line, sizeof line, "actor %d id %d model %d cell %d %d angle %d\n", s, a->id,
                      a->model, cell % kGridSize - c0, cell / kGridSize - r0,
                      static_cast<int>(a->angle));
        out += line;
    }
}

}  // namespace

void actor_idle(EventActorRecord&) {}

EventActorRecord* actor_in_slot(int slot) {
    Task* pool = task_pool();
    if (!pool || slot < kSlotEventActorsFirst || slot >= kSlotEventActorsEnd) return nullptr;
    Task* t = &pool[slot];
    if (!t->in_use || t->kind != kKindEventActor) return nullptr;
    return &task_record<EventActorRecord>(t);
}

int actor_place(int32_t column, int32_t row, float angle, int32_t model, int32_t id) {
    float x = static_cast<float>(column);
    float z = static_cast<float>(row);
    map_to_world(x, z);
    Task* t = task_alloc_in_range(kSlotEventActorsFirst, kSlotEventActorsEnd);
    if (!t) return 0;
    task_start(t, kKindEventActor, &actor_update, &actor_draw);
    t->spare = id;
    EventActorRecord& a = task_record<EventActorRecord>(t);
    a.alive = 1;
    a.x = x;
    a.y = kActorHeight;
    a.z = z;
    a.angle = angle;
    a.model = model;
    a.id = id;
    a.behaviour = &actor_idle;
    debug_dump_add_section(&actors_dump);
    return 1;
}

void actors_step(int32_t id, int32_t direction, int32_t frames_left) {
    for (int s = kSlotEventActorsFirst; s < kSlotEventActorsEnd; ++s) {
        EventActorRecord* a = actor_in_slot(s);
        if (!a || a->id != id) continue;
        if (frames_left % kActorSnapFrames == 0) {
            a->x = round_half_away(a->x);
            a->z = round_half_away(a->z);
        }
        switch (direction) {
            case 0:
                a->x += kActorStep;
                a->angle = 0.0f;
                break;
            case 90:
                a->z += kActorStep;
                a->angle = 90.0f;
                break;
            case 180:
                a->x -= kActorStep;
                a->angle = 180.0f;
                break;
            case 270:
                a->z -= kActorStep;
                a->angle = 270.0f;
                break;
            default:
                break;
        }
    }
}

int actor_remove(int32_t id) {
    for (int s = kSlotEventActorsFirst; s < kSlotEventActorsEnd; ++s) {
        EventActorRecord* a = actor_in_slot(s);
        if (a && a->id == id) {
            a->alive = 0;
            return 1;
        }
    }
    return 0;
}

void actor_update(Task* t) {
    EventActorRecord& a = task_record<EventActorRecord>(t);
    if (a.behaviour) a.behaviour(a);
    if (a.alive == 0) t->in_use = 0;
}

void actor_draw(Task* t) {
    const EventActorRecord& a = task_record<EventActorRecord>(t);
    Matrix world;
    const Vec3 position{a.x, a.y, a.z};
    float angle = a.angle;
    world_yaw(world, position, angle);
    mesh_draw(mesh_record(a.model), world);
}

}  // namespace tessaly
