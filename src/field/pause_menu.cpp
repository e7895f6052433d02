#include "field/pause_menu.hpp"

#include "field/list_menu.hpp"
#include "scene/title.hpp"
#include "state/save_menu.hpp"

namespace tessaly {
namespace {

constexpr int32_t kMainList[] = {kPauseResume, kPauseLoad, kPauseQuit};
constexpr int32_t kConfirmList[] = {kPauseQuitNo, kPauseQuitYes};
constexpr int32_t kMainCount = 3;
constexpr int32_t kConfirmCount = 2;

// Entry sprites by entry id.
constexpr Rect kEntrySprites[] = {
    {127, 1101, 228, 1119},  // resume
    {23, 1078, 121, 1097},   // load
    {21, 1100, 122, 1120},   // quit to the title
    {127, 1058, 188, 1076},  // no: back to the main list
    {127, 1079, 167, 1097},  // yes: quit
};

constexpr Rect kMainPanel = {369, 514, 493, 637};
constexpr Rect kMainTitle = {1, 1034, 105, 1052};
constexpr Rect kConfirmPanel = {495, 514, 618, 610};
constexpr Rect kConfirmTitle = {1, 1100, 122, 1120};
constexpr float kPanelX = 0.0f;
constexpr float kPanelY = 100.0f;

// Where the load menu opened from here stands.
constexpr float kLoadPanelY = 120.0f;

void show_list(PauseMenuRecord& r, const int32_t* entries, int32_t count, const Rect& panel,
               const Rect& title) {
    r.entries = entries;
    r.count = count;
    r.cursor = 0;
    r.panel = panel;
    r.title = title;
}

}  // namespace

int menu_task_create(float x, float y, int32_t count, int32_t cursor, const int32_t* entries,
                     uint32_t tint, const Rect& panel, const Rect& title) {
    Task* t = task_alloc_at(kSlotPauseMenu);
    if (!t) return 0;
    task_start(t, kKindPauseMenu, &pause_menu_update, &pause_menu_draw);
    PauseMenuRecord& r = task_record<PauseMenuRecord>(t);
    r.alive = 1;
    r.x = x;
    r.y = y;
    r.count = count;
    r.cursor = cursor;
    r.entries = entries;
    r.panel = panel;
    r.title = title;
    r.tint = tint;
    r.state = &pause_menu_first_frame;
    return 1;
}

int pause_menu_open() {
    Task* pool = task_pool();
    if (!pool || task_kind_exists(kKindPauseMenu) || pool[kSlotPauseMenu].in_use) return 0;
    tasks_freeze();
    return menu_task_create(kPanelX, kPanelY, kMainCount, 0, kMainList, kColourTranslucent,
                            kMainPanel, kMainTitle);
}

void pause_menu_first_frame(PauseMenuRecord& r) {
    r.state = &pause_menu_input;
}

void pause_menu_input(PauseMenuRecord& r) {
    if (!list_cursor_update(r.cursor, r.count)) return;
    switch (r.entries[r.cursor]) {
        case kPauseResume:
            tasks_resume();
            r.alive = 0;
            break;
        case kPauseLoad:
            save_menu_open_frozen(kSaveMenuLoad, kSaveCallerPause, kLoadPanelY);
            r.alive = 0;
            break;
        case kPauseQuit:
            show_list(r, kConfirmList, kConfirmCount, kConfirmPanel, kConfirmTitle);
            break;
        case kPauseQuitNo:
            show_list(r, kMainList, kMainCount, kMainPanel, kMainTitle);
            break;
        case kPauseQuitYes:
            r.alive = 0;
            task_end_all();
            title_open();
            break;
        default:
            break;
    }
}

void pause_menu_update(Task* t) {
    PauseMenuRecord& r = task_record<PauseMenuRecord>(t);
    r.state(r);
    // Quitting has ended every task and may have laid another scene's record here.
    if (r.alive == 0 && t->kind == kKindPauseMenu) t->in_use = 0;
}

void pause_menu_draw(Task* t) {
    const PauseMenuRecord& r = task_record<PauseMenuRecord>(t);
    list_menu_draw(r.x, r.y, r.cursor, r.count, r.tint, r.panel, r.title, kEntrySprites, r.entries);
}

}  // namespace tessaly
