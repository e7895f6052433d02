#include "app/task_pool.hpp"

#include <cstdlib>
#include <cstring>

namespace tessaly {
namespace {

Task* g_pool = nullptr;

void apply_signal(Task& t, int code) {
    switch (code) {
        case kSignalStopUpdate:
            t.update = 0;
            break;
        case kSignalStopDraw:
            t.draw = 0;
            break;
        case kSignalStopBoth:
            t.update = 0;
            t.draw = 0;
            break;
        case kSignalResume:
            t.update = 1;
            t.draw = 1;
            break;
        default:
            break;
    }
}

}  // namespace

Task* task_pool() {
    return g_pool;
}

bool pool_create() {
    if (g_pool) return true;
    g_pool = static_cast<Task*>(std::calloc(kTaskSlots, sizeof(Task)));
    return g_pool != nullptr;
}

void pool_reset() {
    if (!g_pool) return;
    std::memset(static_cast<void*>(g_pool), 0, sizeof(Task) * kTaskSlots);
}

void pool_destroy() {
    std::free(g_pool);
    g_pool = nullptr;
}

void task_end_all() {
    if (!g_pool) return;
    for (int i = 0; i < kTaskSlots; ++i) g_pool[i].in_use = 0;
}

Task* task_alloc_at(int slot) {
    if (!g_pool || slot < 0 || slot >= kTaskSlots) return nullptr;
    Task* t = &g_pool[slot];
    if (t->in_use) return nullptr;
    std::memset(static_cast<void*>(t), 0, sizeof(Task));
    return t;
}

Task* task_alloc_in_range(int first, int end) {
    if (!g_pool) return nullptr;
    if (first < 0) first = 0;
    if (end > kTaskSlots) end = kTaskSlots;
    for (int s = first; s < end; ++s) {
        if (!g_pool[s].in_use) return task_alloc_at(s);
    }
    return nullptr;
}

int task_kind_exists(int kind) {
    return task_find_kind(kind) ? 1 : 0;
}

Task* task_find_kind(int kind) {
    if (!g_pool) return nullptr;
    for (int i = 0; i < kTaskSlots; ++i) {
        if (g_pool[i].in_use && g_pool[i].kind == kind) return &g_pool[i];
    }
    return nullptr;
}

void task_end_kind(int kind) {
    if (!g_pool) return;
    for (int i = 0; i < kTaskSlots; ++i) {
        if (g_pool[i].in_use && g_pool[i].kind == kind) g_pool[i].in_use = 0;
    }
}

void task_signal_all(int code) {
    if (!g_pool) return;
    for (int i = 0; i < kTaskSlots; ++i) {
        if (g_pool[i].in_use) apply_signal(g_pool[i], code);
    }
}

bool event_running() {
    // The runner only ever lives in its own slot, so one look there answers.
    return g_pool && g_pool[kSlotEventRunner].in_use &&
           g_pool[kSlotEventRunner].kind == kKindEventRunner;
}

void tasks_freeze() {
    task_signal_all(kSignalStopUpdate);
}

void tasks_resume() {
    task_signal_all(kSignalResume);
}

void task_signal_kind(int kind, int code) {
    if (!g_pool) return;
    for (int i = 0; i < kTaskSlots; ++i) {
        if (g_pool[i].in_use && g_pool[i].kind == kind) apply_signal(g_pool[i], code);
    }
}

// Each slot is read afresh when its turn comes: tasks created or ended by a callback
// take effect for the higher slots of the same pass.
void task_update_pass() {
    for (int i = 0; i < kTaskSlots && g_pool; ++i) {
        Task* t = &g_pool[i];
        if (t->in_use && t->update && t->update_fn) t->update_fn(t);
    }
}

void task_draw_pass() {
    for (int i = 0; i < kTaskSlots && g_pool; ++i) {
        Task* t = &g_pool[i];
        if (t->in_use && t->draw && t->draw_fn) t->draw_fn(t);
    }
}

int task_slot(const Task* t) {
    return static_cast<int>(t - g_pool);
}

}  // namespace tessaly
