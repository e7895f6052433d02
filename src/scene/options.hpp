#pragma once
// The options scene: the first eight settings switched on and off on copies, and applied
// all at once when the scene closes.
#include <cstdint>

#include "app/task_pool.hpp"
#include "render/device.hpp"

namespace tessaly {

constexpr int kOptionRows = 8;
// Who opened the scene: the title (which comes back when it closes) or the field menu.
constexpr int32_t kOptionsFromTitle = 0;
constexpr int32_t kOptionsFromFieldMenu = 2;
constexpr float kOptionsPanelYTitle = 100;
constexpr float kOptionsPanelYFieldMenu = 240;

struct OptionsRecord;
using OptionsStep = void (*)(OptionsRecord&);

struct OptionsRecord {
    int32_t alive;
    float panel_y;                   // top of the panel on the screen
    int32_t cursor;                  // row 0..7
    int32_t caller;                  // kOptionsFromTitle or kOptionsFromFieldMenu
    int32_t* settings[kOptionRows];  // settings 0..7 of the settings block, in order
    int32_t values[kOptionRows];     // the values being edited
    OptionsStep step;
};

// Creates the scene in slot 912 with the values copied from the settings, and notes the
// display settings as they were; 0 without effect when an options scene exists or the
// slot is taken.
int options_open(float panel_y, int32_t caller);

// What closing does once the edited values are in the settings: the current music
// restarted from its beginning (or stopped), and the device re-created when a display
// setting differs from what it was when the scene opened.
void settings_apply(int32_t caller);
// The window mode, vertical sync and depth buffer settings, as the device takes them.
DisplaySettings display_settings();
// Every computer player that holds a request gives it up.
void rivals_drop_requests();

void options_first_frame(OptionsRecord& r);
void options_menu(OptionsRecord& r);

void options_update(Task* t);
void options_draw(Task* t);

}  // namespace tessaly
