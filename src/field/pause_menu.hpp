#pragma once
// The pause menu (kind 1520, slot 998): resume, load, or quit to the title with a
// confirmation. Opened by Shift on the board when the human is not spinning its die; the
// board stays frozen (signal 10) while it is open.
#include <cstdint>

#include "app/task_pool.hpp"
#include "render/sprites.hpp"

namespace tessaly {

// Entry ids of the pause menu's two lists.
constexpr int32_t kPauseResume = 0;
constexpr int32_t kPauseLoad = 1;
constexpr int32_t kPauseQuit = 2;
constexpr int32_t kPauseQuitNo = 3;
constexpr int32_t kPauseQuitYes = 4;

struct PauseMenuRecord;
using PauseMenuStep = void (*)(PauseMenuRecord&);

struct PauseMenuRecord {
    int32_t alive;
    float x, y;              // top-left corner of the panel on screen
    int32_t count;           // entries shown
    int32_t cursor;          // 0..count - 1
    const int32_t* entries;  // entry ids, one per line
    Rect panel;              // panel frame on the atlas
    Rect title;              // title sprite on the atlas
    uint32_t tint;           // panel tint
    PauseMenuStep state;
};

// Freezes every task and opens the menu on its main list; 0 without effect when a pause
// menu exists or slot 998 is taken.
int pause_menu_open();
// The menu task itself; the first step only installs the input step.
int menu_task_create(float x, float y, int32_t count, int32_t cursor, const int32_t* entries,
                     uint32_t tint, const Rect& panel, const Rect& title);

void pause_menu_first_frame(PauseMenuRecord& r);
void pause_menu_input(PauseMenuRecord& r);

void pause_menu_update(Task* t);
void pause_menu_draw(Task* t);

}  // namespace tessaly
