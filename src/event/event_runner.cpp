#include "event/event_runner.hpp"

#include <cstdint>

#include "app/task_pool.hpp"

namespace tessaly {
namespace {

struct EventRunnerRecord {
    int32_t alive;
    int32_t read_position;
    int32_t square_index;
    int32_t script_number;
    int32_t wait_frames;
    PlayerRecord* player;
};

// Until the interpreter exists every script is empty. As with an empty script, the
// runner's first update only gets it going and its second ends it, one frame after the
// update in which it was started.
void event_runner_update(Task* t) {
    EventRunnerRecord& r = task_record<EventRunnerRecord>(t);
    if (r.read_position == 0) {
        r.read_position = 1;
        return;
    }
    r.alive = 0;
    t->in_use = 0;
}

}  // namespace

int event_start(PlayerRecord* player, int square) {
    if (task_kind_exists(kKindEventRunner)) return 0;
    Task* t = task_alloc_at(kSlotEventRunner);
    if (!t) return 0;
    task_start(t, kKindEventRunner, &event_runner_update, nullptr);
    EventRunnerRecord& r = task_record<EventRunnerRecord>(t);
    r.alive = 1;
    r.square_index = square - 1;
    r.player = player;
    return 1;
}

}  // namespace tessaly
