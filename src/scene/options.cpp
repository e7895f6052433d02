#include "scene/options.hpp"

#include "app/keys.hpp"
#include "field/players.hpp"
#include "render/device.hpp"
#include "render/sprites.hpp"
#include "scene/backdrop.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"
#include "state/requests.hpp"

namespace tessaly {
namespace {

struct OptionRow {
    Rect label;
    Rect off;  // the picture for 0
    Rect on;   // the picture for any other value
};

// Row i edits setting i. Music and effects share their value pictures, and so do
// vertical sync and route hints.
constexpr OptionRow kRows[kOptionRows] = {
    {{0, 655, 100, 674}, {106, 656, 245, 675}, {0, 676, 99, 695}},
    {{1, 715, 137, 735}, {279, 691, 317, 710}, {331, 691, 368, 710}},
    {{105, 678, 195, 695}, {140, 713, 218, 732}, {222, 715, 301, 734}},
    {{87, 736, 127, 756}, {166, 736, 247, 756}, {255, 736, 290, 755}},
    {{1, 737, 62, 757}, {166, 736, 247, 756}, {255, 736, 290, 755}},
    {{527, 948, 686, 968}, {527, 977, 659, 997}, {527, 1004, 660, 1024}},
    {{697, 948, 779, 968}, {697, 970, 777, 989}, {779, 970, 818, 989}},
    {{697, 992, 778, 1012}, {279, 691, 317, 710}, {331, 691, 368, 710}},
};

constexpr Rect kPanel = {1284, 243, 1924, 483};
constexpr Rect kCursorArrow = {890, 604, 901, 625};
constexpr Rect kHeading = {1119, 1255, 1260, 1286};
constexpr Rect kHelpLine = {1, 759, 427, 779};
constexpr float kLabelX = 100;
constexpr float kCursorX = 80;
constexpr float kValueX = 400;
constexpr float kFirstRowOffset = 8;
constexpr float kRowSpacing = 25;
constexpr float kHeadingY = 50;
constexpr float kHelpOffset = 214;

bool display_changed() {
    const int32_t* s = g_game.settings;
    return s[kSettingWindowMode] != s[kSettingPrevWindowMode] ||
           s[kSettingVsync] != s[kSettingPrevVsync] || s[kSettingDepth24] != s[kSettingPrevDepth24];
}

void options_close(OptionsRecord& r) {
    for (int i = 0; i < kOptionRows; ++i) *r.settings[i] = r.values[i];
    settings_apply(r.caller);
    if (r.caller == kOptionsFromFieldMenu) {
        turn_ring_link();
        if (g_game.settings[kSettingRivals] == 0) rivals_drop_requests();
    }
    r.alive = 0;
}

}  // namespace

int options_open(float panel_y, int32_t caller) {
    if (task_kind_exists(kKindOptions)) return 0;
    Task* t = task_alloc_at(kSlotOptions);
    if (!t) return 0;
    task_start(t, kKindOptions, &options_update, &options_draw);
    OptionsRecord& r = task_record<OptionsRecord>(t);
    r.alive = 1;
    r.panel_y = panel_y;
    r.cursor = 0;
    r.caller = caller;
    r.step = &options_first_frame;
    for (int i = 0; i < kOptionRows; ++i) {
        r.settings[i] = &g_game.settings[i];
        r.values[i] = g_game.settings[i];
    }
    g_game.settings[kSettingPrevWindowMode] = g_game.settings[kSettingWindowMode];
    g_game.settings[kSettingPrevVsync] = g_game.settings[kSettingVsync];
    g_game.settings[kSettingPrevDepth24] = g_game.settings[kSettingDepth24];
    return 1;
}

void settings_apply(int32_t caller) {
    if (g_game.settings[kSettingMusic] != 0) {
        music_play(caller == kOptionsFromFieldMenu ? kTrackBoard : kTrackTitle);
    } else {
        music_stop();
    }
    // A failed re-creation is seen by the shell, which ends the run after this tick.
    if (display_changed()) graphics_recreate(display_settings());
}

DisplaySettings display_settings() {
    const int32_t* s = g_game.settings;
    return {s[kSettingWindowMode] != 0, s[kSettingVsync] != 0, s[kSettingDepth24] != 0};
}

void rivals_drop_requests() {
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        PlayerRecord* p = player_in_slot(s);
        if (p && p->computer == 1 && p->team_number > 0) request_end(*p);
    }
}

void options_first_frame(OptionsRecord& r) {
    r.step = &options_menu;
}

void options_menu(OptionsRecord& r) {
    if (key_pressed(kKeyUp)) {
        r.cursor = (r.cursor + kOptionRows - 1) % kOptionRows;
    } else if (key_pressed(kKeyDown)) {
        r.cursor = (r.cursor + 1) % kOptionRows;
    } else if (key_pressed(kKeyRight) || key_pressed(kKeyLeft)) {
        r.values[r.cursor] = 1 - r.values[r.cursor];
    } else if (key_confirm()) {
        options_close(r);
    } else {
        // Esc is not read: only confirming closes the scene, and it always applies.
        return;
    }
    sound_request(kSoundCursor, 0);
}

void options_update(Task* t) {
    OptionsRecord& r = task_record<OptionsRecord>(t);
    r.step(r);
    if (r.alive != 0) return;
    t->in_use = 0;
    if (r.caller == kOptionsFromTitle) title_open();
}

void options_draw(Task* t) {
    const OptionsRecord& r = task_record<OptionsRecord>(t);
    const bool from_title = r.caller == kOptionsFromTitle;
    if (from_title) backdrop_fill(kBackdropCell);
    atlas_draw_centered(kPanel, r.panel_y);
    for (int i = 0; i < kOptionRows; ++i) {
        const float y = r.panel_y + kFirstRowOffset + kRowSpacing * static_cast<float>(i);
        atlas_draw(kLabelX, y, kRows[i].label);
        if (i == r.cursor) atlas_draw(kCursorX, y, kCursorArrow);
        atlas_draw(kValueX, y, r.values[i] != 0 ? kRows[i].on : kRows[i].off);
    }
    if (from_title) atlas_draw_centered(kHeading, kHeadingY);
    atlas_draw_centered(kHelpLine, r.panel_y + kHelpOffset);
}

}  // namespace tessaly
