#include "scene/item_scene.hpp"

#include "app/keys.hpp"
#include "field/list_menu.hpp"
#include "field/players.hpp"
#include "render/sprites.hpp"
#include "scene/item_list.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr float kListX = 80;
constexpr float kListY = 240;
constexpr float kConfirmX = 260;
constexpr float kConfirmY = 312;
constexpr Rect kConfirmPanel = {495, 514, 618, 610};
constexpr Rect kUseTitle = {139, 981, 197, 1001};
constexpr Rect kThrowAwayTitle = {139, 1010, 218, 1030};
constexpr Rect kAnswers[2] = {{127, 1057, 188, 1076}, {127, 1079, 167, 1097}};
constexpr int32_t kAnswerIds[2] = {0, 1};
constexpr Rect kHelp = {507, 696, 600, 715};
constexpr float kHelpX = 8;
constexpr float kHelpY = 246;

int32_t& slot_under_cursor(ItemSceneRecord& r) {
    return r.player->items[r.cursor];
}

bool in_confirmation(const ItemSceneRecord& r) {
    return r.step == &item_use_confirm || r.step == &item_drop_confirm;
}

}  // namespace

int item_scene_open(PlayerRecord& player, int32_t mode) {
    Task* t = task_alloc_at(kSlotItemScene);
    if (!t) return 0;
    task_start(t, kKindItemScene, &item_scene_update, &item_scene_draw);
    ItemSceneRecord& r = task_record<ItemSceneRecord>(t);
    r.alive = 1;
    r.mode = mode;
    r.cursor = 0;
    r.choice = 0;
    r.player = &player;
    r.step = &item_scene_first_frame;
    return 1;
}

void item_use(ItemSceneRecord& r) {
    int32_t& slot = slot_under_cursor(r);
    // An id outside the item table is no item anyone can use.
    if (slot <= 0 || slot >= kItemRows) return;
    const ItemRecord& item = g_game.items[slot];
    if (item.use != kItemUseHeal) return;
    PlayerRecord& p = *r.player;
    p.hit_points += item.heal;
    if (p.hit_points > p.max_hit_points) p.hit_points = p.max_hit_points;
    sound_request(kSoundHeal, 0);
    slot = 0;
}

void item_scene_first_frame(ItemSceneRecord& r) {
    r.step = &item_list_select;
}

void item_list_select(ItemSceneRecord& r) {
    if (key_pressed(kKeyEsc)) {
        r.alive = 0;
        sound_request(kSoundCursor, 0);
        return;
    }
    if (list_select_clamped(r.cursor, kItemSlots) != 1) return;
    // An empty slot has nothing to use or throw away.
    if (slot_under_cursor(r) <= 0) return;
    r.choice = 0;
    r.step = r.mode == kItemSceneUse ? &item_use_confirm : &item_drop_confirm;
}

void item_use_confirm(ItemSceneRecord& r) {
    if (list_cursor_update(r.choice, 2) != 1) return;
    if (r.choice == 1) {
        item_use(r);
        r.choice = 0;
    }
    r.step = &item_list_select;
}

void item_drop_confirm(ItemSceneRecord& r) {
    if (list_cursor_update(r.choice, 2) != 1) return;
    if (r.choice == 1) {
        slot_under_cursor(r) = 0;
        r.choice = 0;
    }
    r.step = &item_list_select;
}

void item_scene_update(Task* t) {
    ItemSceneRecord& r = task_record<ItemSceneRecord>(t);
    r.step(r);
    if (r.alive == 0) t->in_use = 0;
}

void item_scene_draw(Task* t) {
    const ItemSceneRecord& r = task_record<ItemSceneRecord>(t);
    item_list_draw(kListX, kListY, kItemSlots, r.cursor, r.player->items, 0);
    if (in_confirmation(r)) {
        list_menu_draw(kConfirmX, kConfirmY, r.choice, 2, kColourOpaque, kConfirmPanel,
                       r.mode == kItemSceneUse ? kUseTitle : kThrowAwayTitle, kAnswers, kAnswerIds);
    } else if (r.step == &item_list_select) {
        atlas_draw(kHelpX, kHelpY, kHelp);
    }
}

}  // namespace tessaly
