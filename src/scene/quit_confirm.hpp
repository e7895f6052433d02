#pragma once
// The quit confirmation: back to the title, or end the program.
#include <cstdint>

#include "app/task_pool.hpp"
#include "render/sprites.hpp"

namespace tessaly {

constexpr int kQuitBackToTitle = 0;
constexpr int kQuitEndProgram = 1;
constexpr int kQuitChoices = 2;

struct QuitChoice {
    float x;
    float y;
    float width;
    float height;
    Rect source;
};

// The task has no alive word: its update callback itself is its step.
struct QuitConfirmRecord {
    int32_t cursor;
    QuitChoice choices[kQuitChoices];
};

// Creates the confirmation in slot 902; 0 when one exists or the slot is taken.
int quit_confirm_open();

void quit_confirm_first_frame(Task* t);
void quit_confirm_update(Task* t);
void quit_confirm_draw(Task* t);

}  // namespace tessaly
