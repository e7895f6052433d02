#pragma once
// The save/load menu (kind 2050, slot 910): five slots with the date of their file and the
// crests of the game in it, a confirmation, and the notices that follow a save or a failed
// load. Opened from the title (load), the pause menu (load) and the field menu (both).
#include <cstdint>

#include "app/task_pool.hpp"
#include "state/save_file.hpp"

namespace tessaly {

constexpr int32_t kSaveMenuSave = 0;
constexpr int32_t kSaveMenuLoad = 1;

// Who opened the menu, and so where Esc goes back to.
constexpr int32_t kSaveCallerTitle = 0;
constexpr int32_t kSaveCallerPause = 1;
constexpr int32_t kSaveCallerFieldMenu = 2;

constexpr int32_t kSaveChoiceBack = 0;
constexpr int32_t kSaveChoiceGo = 1;

// What the menu shows of one slot: whether its file exists, the achievement summary in it
// and the file's last-write time in local calendar fields.
struct SaveSlotInfo {
    int32_t exists;
    int32_t summary;
    int32_t year, month, day, hour, minute;
};

struct SaveMenuRecord;
using SaveMenuStep = void (*)(SaveMenuRecord&);

struct SaveMenuRecord {
    int32_t alive;
    int32_t mode;    // kSaveMenuSave or kSaveMenuLoad
    int32_t cursor;  // slot 0..4
    int32_t choice;  // answer of the confirmation
    int32_t caller;
    float panel_y;  // top of the panels on screen
    float help_x, help_y;
    SaveMenuStep step;
    SaveSlotInfo slots[kSaveSlotCount];
};

// 0 without effect when a save menu exists or slot 910 is taken.
int save_menu_open(int32_t mode, int32_t caller, float panel_y, float help_x, float help_y);
// Freezes every task first (the board stays under the menu), help in the top-left corner.
int save_menu_open_frozen(int32_t mode, int32_t caller, float panel_y);
// Fills the five slot records from the files as they are now.
void save_slots_scan(SaveMenuRecord& r);
// The crests of bits 0..3 at (x + 22 k, y), then their count out of 4.
void achievement_badges_draw(float x, float y, int32_t bits);

// Steps; the first frame only installs slot_select.
void save_menu_first_frame(SaveMenuRecord& r);
void save_menu_slot_select(SaveMenuRecord& r);
void save_menu_slot_confirm(SaveMenuRecord& r);
void save_menu_saved_notice(SaveMenuRecord& r);
void save_menu_save_failed_notice(SaveMenuRecord& r);
void save_menu_load_failed_notice(SaveMenuRecord& r);

void save_menu_update(Task* t);
void save_menu_draw(Task* t);

}  // namespace tessaly
