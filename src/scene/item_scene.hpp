#pragma once
// The item scene: the human player's eight item slots, to use a healing item or to throw
// an item away, each after a yes-or-no confirmation.
#include <cstdint>

#include "app/task_pool.hpp"

namespace tessaly {

struct PlayerRecord;

constexpr int32_t kItemSceneUse = 0;
constexpr int32_t kItemSceneThrowAway = 1;

struct ItemSceneRecord;
using ItemSceneStep = void (*)(ItemSceneRecord&);

struct ItemSceneRecord {
    int32_t alive;
    int32_t mode;    // kItemSceneUse or kItemSceneThrowAway
    int32_t cursor;  // item slot 0..7
    int32_t choice;  // answer of the confirmation: 0 no, 1 yes
    ItemSceneStep step;
    PlayerRecord* player;  // whose items are shown
};

// Creates the scene in slot 913; 0 when the slot is taken.
int item_scene_open(PlayerRecord& player, int32_t mode);

// The healing item in the slot under the cursor restores hit points up to the maximum and
// is used up; any other item stays.
void item_use(ItemSceneRecord& r);

void item_scene_first_frame(ItemSceneRecord& r);
void item_list_select(ItemSceneRecord& r);
void item_use_confirm(ItemSceneRecord& r);
void item_drop_confirm(ItemSceneRecord& r);

void item_scene_update(Task* t);
void item_scene_draw(Task* t);

}  // namespace tessaly
