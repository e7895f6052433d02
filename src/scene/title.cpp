#include "scene/title.hpp"

#include "app/task_pool.hpp"

namespace tessaly {
namespace {

void title_update(Task*) {}
void title_draw(Task*) {}

}  // namespace

int title_create() {
    if (task_kind_exists(kKindTitle)) return 0;
    Task* t = task_alloc_at(kSlotTitle);
    if (!t) return 0;
    task_start(t, kKindTitle, &title_update, &title_draw);
    return 1;
}

}  // namespace tessaly
