#pragma once
// The instructions: two full-screen pages, then back to the title.
#include <cstdint>

#include "app/task_pool.hpp"

namespace tessaly {

constexpr int kManualPages = 2;

struct ManualRecord;
using ManualStep = void (*)(ManualRecord&);

struct ManualRecord {
    int32_t alive;
    int32_t page;
    ManualStep step;
};

// Creates the instructions in slot 904 on page 0; 0 when the slot is taken.
int manual_open();

void manual_first_frame(ManualRecord& r);
void manual_page(ManualRecord& r);

void manual_update(Task* t);
void manual_draw(Task* t);

}  // namespace tessaly
