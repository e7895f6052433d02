#pragma once
// Event actors: meshes an event places on the board (kind 1090, slots 51..56), moves cell by
// cell and removes again.
#include <cstdint>

namespace tessaly {

struct Task;
struct EventActorRecord;

using ActorBehaviour = void (*)(EventActorRecord&);

// Actors stand just above the ground.
constexpr float kActorHeight = 0.05f;

struct EventActorRecord {
    int32_t alive;  // 0 ends the actor at its next update
    float x, y, z;  // world position
    float angle;    // heading in degrees (0 east, 90 north, 180 west, 270 south)
    int32_t model;  // mesh number
    int32_t id;     // the id commands address it by
    ActorBehaviour behaviour;
};

// An actor's behaviour: it stands where it is.
void actor_idle(EventActorRecord& a);

// Places an actor on a map cell in the first free slot of 51..56; 0 when all are taken.
int actor_place(int32_t column, int32_t row, float angle, int32_t model, int32_t id);
// One step of a mover with frames_left frames to go: every live actor with the id moves half
// a unit in the direction (0, 90, 180 or 270; others do not move) and faces it; on every
// eighth frame left it is first put on whole numbers, so walkers stay on the grid.
void actors_step(int32_t id, int32_t direction, int32_t frames_left);
// Ends the live actor of the lowest slot with the id; 0 when none has it.
int actor_remove(int32_t id);
// The live actor of a slot of 51..56, or null.
EventActorRecord* actor_in_slot(int slot);

void actor_update(Task* t);
void actor_draw(Task* t);

}  // namespace tessaly
