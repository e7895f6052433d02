#pragma once
// The field menu: the human player's menu on the board while its die spins. It freezes the
// game, shows the player's status and eight entries, and waits underneath the save, load,
// options and item scenes it opens.
#include <cstdint>

#include "app/task_pool.hpp"

namespace tessaly {

struct PlayerRecord;

constexpr int kFieldMenuColumns = 2;
constexpr int kFieldMenuRows = 4;

constexpr int32_t kFieldMenuClose = 0;
constexpr int32_t kFieldMenuTitle = 1;
constexpr int32_t kFieldMenuSave = 2;
constexpr int32_t kFieldMenuLoad = 3;
constexpr int32_t kFieldMenuRequest = 4;
constexpr int32_t kFieldMenuOptions = 5;
constexpr int32_t kFieldMenuUseItem = 6;
constexpr int32_t kFieldMenuThrowAway = 7;

struct FieldMenuRecord;
using FieldMenuStep = void (*)(FieldMenuRecord&);

struct FieldMenuRecord {
    int32_t alive;         // 0 ends the menu and resumes the game
    int32_t column;        // 0..1
    int32_t row;           // 0..3
    int32_t selected;      // column + 2 x row
    int32_t title_choice;  // answer of the back-to-title confirmation
    PlayerRecord* player;  // the human player
    FieldMenuStep step;
};

// Freezes every task, then creates the menu; when the menu cannot be created nothing is
// frozen and 0 is returned.
int field_menu_open(PlayerRecord& player);
// The menu in slot 909 without freezing anything; 0 when the slot is taken.
int field_menu_create(PlayerRecord& player);

void field_menu_first_frame(FieldMenuRecord& r);
void field_menu_select(FieldMenuRecord& r);
// Waits until the save/load menu, the options and the item scene are all gone.
void field_menu_wait(FieldMenuRecord& r);
void title_confirm(FieldMenuRecord& r);

void field_menu_update(Task* t);
void field_menu_draw(Task* t);

}  // namespace tessaly
