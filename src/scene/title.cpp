#include "scene/title.hpp"

#include "app/keys.hpp"
#include "render/sprites.hpp"
#include "scene/carousel.hpp"
#include "scene/instructions.hpp"
#include "scene/options.hpp"
#include "scene/quit_confirm.hpp"
#include "sound/sound.hpp"
#include "state/character_select.hpp"
#include "state/save_menu.hpp"

namespace tessaly {
namespace {

constexpr Rect kTitlePicture = {642, 0, 1282, 480};
constexpr Rect kTitleLowerPicture = {942, 485, 1582, 716};
constexpr Rect kTitleLogo = {694, 1146, 1305, 1214};
constexpr Rect kTitleSubtitle = {694, 1216, 854, 1244};
constexpr Rect kTitleFootnote = {694, 1246, 825, 1259};
constexpr Rect kMenuFrame = {722, 1041, 1090, 1133};
constexpr Rect kHighlightBar = {0, 568, 181, 596};
// Labels are centred in a box this wide.
constexpr float kEntryBoxWidth = 184;

// The load menu standing alone on the screen.
int title_entry_load() {
    return save_menu_open(kSaveMenuLoad, kSaveCallerTitle, 120, 4, 4);
}

int title_entry_quit() {
    task_end_all();
    return quit_confirm_open();
}

int title_entry_options() {
    task_end_all();
    return options_open(kOptionsPanelYTitle, kOptionsFromTitle);
}

int title_entry_carousel() {
    task_end_all();
    return carousel_open();
}

struct TitleEntry {
    Rect label;
    float box_x;
    float box_y;
    int (*start)();
};

constexpr TitleEntry kEntries[kTitleEntries] = {
    {{1, 598, 136, 624}, 138, 132, &character_select_open},
    {{140, 598, 273, 624}, 321, 132, &title_entry_quit},
    {{1, 627, 136, 653}, 138, 162, &title_entry_options},
    {{139, 627, 269, 653}, 321, 162, &title_entry_load},
    {{1243, 1325, 1295, 1351}, 138, 192, &manual_open},
    {{1234, 1355, 1313, 1380}, 321, 192, &title_entry_carousel},
};

}  // namespace

int title_open() {
    if (task_kind_exists(kKindTitle)) return 0;
    Task* t = task_alloc_at(kSlotTitle);
    if (!t) return 0;
    task_start(t, kKindTitle, &title_update, &title_draw);
    TitleRecord& r = task_record<TitleRecord>(t);
    r.alive = 1;
    r.selected = 0;
    r.column = 0;
    r.row = 0;
    r.step = &title_first_frame;
    music_play(kTrackTitle);
    return 1;
}

void title_first_frame(TitleRecord& r) {
    r.step = &title_menu;
}

void title_menu(TitleRecord& r) {
    bool chosen = false;
    if (key_pressed(kKeyRight)) {
        r.column = (r.column + 1) % kTitleColumns;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyLeft)) {
        r.column = (r.column + kTitleColumns - 1) % kTitleColumns;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyDown)) {
        r.row = (r.row + 1) % kTitleRows;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyUp)) {
        r.row = (r.row + kTitleRows - 1) % kTitleRows;
        sound_request(kSoundCursor, 0);
    } else if (key_confirm()) {
        chosen = true;
    }
    r.selected = r.column + kTitleColumns * r.row;
    if (!chosen) return;
    r.alive = 0;
    sound_request(kSoundCursor, 0);
    const int entry = r.selected;
    task_end_all();
    kEntries[entry].start();
}

void title_update(Task* t) {
    // A choice that brings back a title has laid a fresh record with alive 1 in this
    // same slot, which then stays.
    task_step_update<TitleRecord>(t);
}

void title_draw(Task* t) {
    const TitleRecord& r = task_record<TitleRecord>(t);
    atlas_draw(0, 0, kTitlePicture);
    atlas_draw(0, 249, kTitleLowerPicture);
    atlas_draw_centered(kTitleLogo, 4);
    atlas_draw_centered(kTitleSubtitle, 76);
    atlas_draw(2, 465, kTitleFootnote);
    atlas_draw_centered(kMenuFrame, 130);
    for (int i = 0; i < kTitleEntries; ++i) {
        const TitleEntry& e = kEntries[i];
        if (i == r.selected) atlas_draw(e.box_x, e.box_y, kHighlightBar);
        const float label_width = e.label.right - e.label.left;
        atlas_draw(e.box_x + (kEntryBoxWidth - label_width) / 2, e.box_y, e.label);
    }
}

}  // namespace tessaly
