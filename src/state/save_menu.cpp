#include "state/save_menu.hpp"

#include "app/keys.hpp"
#include "field/list_menu.hpp"
#include "platform/files.hpp"
#include "render/numbers.hpp"
#include "render/sprites.hpp"
#include "scene/backdrop.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

constexpr float kPanelX = 60.0f;
constexpr Rect kSlotPanel = {235, 946, 525, 1117};
constexpr Rect kBadgePanel = {527, 1073, 692, 1244};
constexpr float kBadgePanelOffset = 320.0f;
constexpr Rect kCursorArrow = {890, 604, 901, 625};
constexpr float kRowPitch = 28.0f;

constexpr float kConfirmX = 247.0f;
constexpr float kConfirmOffset = 40.0f;
constexpr Rect kConfirmPanel = {495, 514, 618, 610};
constexpr Rect kConfirmTitleLoad = {1, 1078, 121, 1097};
constexpr Rect kConfirmTitleSave = {1, 1055, 121, 1075};
constexpr Rect kConfirmEntries[] = {
    {127, 1058, 188, 1076},  // back
    {127, 1079, 167, 1097},  // go ahead
};
constexpr int32_t kConfirmList[] = {kSaveChoiceBack, kSaveChoiceGo};
constexpr int32_t kConfirmCount = 2;

constexpr Rect kCaptionSave = {0, 980, 134, 1005};
constexpr Rect kCaptionLoad = {0, 1007, 134, 1032};
constexpr Rect kSavedNotice = {289, 781, 443, 809};
constexpr Rect kSaveFailedNotice = {604, 674, 881, 702};
constexpr Rect kLoadFailedNotice = {312, 661, 589, 689};
constexpr Rect kHelpFieldMenu = {507, 696, 600, 715};
constexpr Rect kHelpOther = {305, 721, 479, 746};

constexpr Rect kSlotEmpty = {282, 638, 528, 659};
constexpr Rect kUnitYear = {262, 924, 282, 944};
constexpr Rect kUnitMonth = {284, 924, 300, 943};
constexpr Rect kUnitDay = {303, 924, 317, 943};
constexpr Rect kUnitHour = {320, 924, 340, 944};
constexpr Rect kUnitMinute = {344, 924, 364, 944};

constexpr Rect kBadges[] = {
    {1076, 744, 1095, 764},
    {1076, 767, 1095, 787},
    {1014, 789, 1033, 809},
    {1014, 744, 1034, 764},
};
constexpr int kBadgeCount = 4;
constexpr float kBadgePitch = 22.0f;
constexpr Rect kSlash = {607, 612, 618, 632};

// The date of a slot's file, or the empty-slot picture.
void slot_time_draw(float x, float y, const SaveSlotInfo& s) {
    x += 8.0f;
    if (!s.exists) {
        atlas_draw(x, y, kSlotEmpty);
        return;
    }
    const struct {
        int32_t value;
        const Rect& unit;
    } groups[] = {{s.year, kUnitYear},
                  {s.month, kUnitMonth},
                  {s.day, kUnitDay},
                  {s.hour, kUnitHour},
                  {s.minute, kUnitMinute}};
    for (const auto& g : groups) {
        x += number_draw_small(x, y, g.value);
        x += sprite_draw_unrounded(x, y, g.unit, kAtlasWidth, kAtlasHeight, kColourOpaque,
                                   atlas_texture());
    }
}

void back_to_caller(const SaveMenuRecord& r) {
    switch (r.caller) {
        case kSaveCallerTitle:
            title_open();
            break;
        case kSaveCallerPause:
            tasks_resume();
            break;
        default:
            // The field menu waits underneath until this menu is gone.
            break;
    }
}

}  // namespace

int save_menu_open(int32_t mode, int32_t caller, float panel_y, float help_x, float help_y) {
    if (task_kind_exists(kKindSaveMenu)) return 0;
    Task* t = task_alloc_at(kSlotSaveMenu);
    if (!t) return 0;
    task_start(t, kKindSaveMenu, &save_menu_update, &save_menu_draw);
    SaveMenuRecord& r = task_record<SaveMenuRecord>(t);
    r.alive = 1;
    r.step = &save_menu_first_frame;
    r.cursor = 0;
    r.choice = 0;
    r.mode = mode;
    r.caller = caller;
    r.panel_y = panel_y;
    r.help_x = help_x;
    r.help_y = help_y;
    save_slots_scan(r);
    return 1;
}

int save_menu_open_frozen(int32_t mode, int32_t caller, float panel_y) {
    tasks_freeze();
    return save_menu_open(mode, caller, panel_y, 4.0f, 4.0f);
}

void save_slots_scan(SaveMenuRecord& r) {
    char path[600];
    for (int i = 0; i < kSaveSlotCount; ++i) {
        SaveSlotInfo& s = r.slots[i];
        s = SaveSlotInfo{};
        if (!save_slot_exists(i)) continue;
        s.exists = 1;
        s.summary = save_slot_summary(i);
        platform::CalendarFields when{};
        if (save_file_path(i, path, sizeof path) && platform::file_last_write_local(path, when)) {
            s.year = when.year;
            s.month = when.month;
            s.day = when.day;
            s.hour = when.hour;
            s.minute = when.minute;
        }
    }
}

void achievement_badges_draw(float x, float y, int32_t bits) {
    int32_t count = 0;
    for (int k = 0; k < kBadgeCount; ++k) {
        if ((bits & (1 << k)) == 0) continue;
        atlas_draw(x + kBadgePitch * static_cast<float>(k), y, kBadges[k]);
        ++count;
    }
    number_draw_small(x + 100.0f, y + 2.0f, count);
    atlas_draw(x + 115.0f, y + 2.0f, kSlash);
    number_draw_small(x + 130.0f, y + 2.0f, kBadgeCount);
}

void save_menu_first_frame(SaveMenuRecord& r) {
    r.step = &save_menu_slot_select;
}

void save_menu_slot_select(SaveMenuRecord& r) {
    if (key_pressed(kKeyUp)) {
        r.cursor = r.cursor == 0 ? kSaveSlotCount - 1 : r.cursor - 1;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyDown)) {
        r.cursor = r.cursor == kSaveSlotCount - 1 ? 0 : r.cursor + 1;
        sound_request(kSoundCursor, 0);
    } else if (key_confirm()) {
        r.choice = kSaveChoiceBack;
        r.step = &save_menu_slot_confirm;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyEsc)) {
        r.alive = 0;
        sound_request(kSoundCursor, 0);
        back_to_caller(r);
    }
}

void save_menu_slot_confirm(SaveMenuRecord& r) {
    if (key_pressed(kKeyUp)) {
        r.choice = r.choice == 0 ? kConfirmCount - 1 : r.choice - 1;
        sound_request(kSoundCursor, 0);
        return;
    }
    if (key_pressed(kKeyDown)) {
        r.choice = r.choice == kConfirmCount - 1 ? 0 : r.choice + 1;
        sound_request(kSoundCursor, 0);
        return;
    }
    if (!key_confirm()) return;
    if (r.choice == kSaveChoiceBack) {
        r.step = &save_menu_slot_select;
        sound_request(kSoundCursor, 0);
        return;
    }
    if (r.mode == kSaveMenuSave) {
        const int saved = save_game(r.cursor);
        save_slots_scan(r);
        // A failed save says so, and the old file has stayed as it was.
        r.step = saved ? &save_menu_saved_notice : &save_menu_save_failed_notice;
        sound_request(saved ? kSoundSaved : kSoundRefused, 0);
        return;
    }
    // A successful load has ended every task, this menu with them.
    if (save_slot_exists(r.cursor) && load_game(r.cursor)) return;
    r.step = &save_menu_load_failed_notice;
    sound_request(kSoundRefused, 0);
}

void save_menu_saved_notice(SaveMenuRecord& r) {
    if (!key_confirm()) return;
    r.step = &save_menu_slot_select;
    sound_request(kSoundCursor, 0);
}

void save_menu_save_failed_notice(SaveMenuRecord& r) {
    if (!key_confirm()) return;
    r.step = &save_menu_slot_select;
    sound_request(kSoundCursor, 0);
}

void save_menu_load_failed_notice(SaveMenuRecord& r) {
    if (key_confirm()) r.step = &save_menu_slot_select;
}

void save_menu_update(Task* t) {
    SaveMenuRecord& r = task_record<SaveMenuRecord>(t);
    r.step(r);
    // After a load the pool holds only the board: this slot is free and stays so.
    if (t->kind != kKindSaveMenu) return;
    if (r.alive == 0) t->in_use = 0;
}

void save_menu_draw(Task* t) {
    const SaveMenuRecord& r = task_record<SaveMenuRecord>(t);
    const float x0 = kPanelX;
    const float y0 = r.panel_y;
    if (r.caller == kSaveCallerTitle) backdrop_fill(kBackdropCell);
    atlas_draw(x0, y0, kSlotPanel);
    atlas_draw(x0 + kBadgePanelOffset, y0, kBadgePanel);
    atlas_draw(x0 + 4.0f, y0 + 21.0f + kRowPitch * static_cast<float>(r.cursor), kCursorArrow);
    for (int i = 0; i < kSaveSlotCount; ++i) {
        const float yi = y0 + 23.0f + kRowPitch * static_cast<float>(i);
        slot_time_draw(x0 + 16.0f, yi, r.slots[i]);
        if (r.slots[i].exists) achievement_badges_draw(x0 + 328.0f, yi + 2.0f, r.slots[i].summary);
    }
    if (r.step == &save_menu_slot_confirm) {
        list_menu_draw(kConfirmX, y0 + kConfirmOffset, r.choice, kConfirmCount, kColourOpaque,
                       kConfirmPanel,
                       r.mode == kSaveMenuLoad ? kConfirmTitleLoad : kConfirmTitleSave,
                       kConfirmEntries, kConfirmList);
    }
    atlas_draw_centered(r.mode == kSaveMenuSave ? kCaptionSave : kCaptionLoad, y0 - 30.0f);
    if (r.step == &save_menu_saved_notice) atlas_draw_centered(kSavedNotice, y0 + 60.0f);
    if (r.step == &save_menu_save_failed_notice) atlas_draw_centered(kSaveFailedNotice, y0 + 60.0f);
    if (r.step == &save_menu_load_failed_notice) atlas_draw_centered(kLoadFailedNotice, y0 + 60.0f);
    atlas_draw(r.help_x, r.help_y, r.caller == kSaveCallerFieldMenu ? kHelpFieldMenu : kHelpOther);
}

}  // namespace tessaly
