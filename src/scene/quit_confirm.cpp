#include "scene/quit_confirm.hpp"

#include "app/app.hpp"
#include "app/keys.hpp"
#include "scene/backdrop.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

constexpr Rect kWindow = {495, 514, 618, 610};
constexpr Rect kQuestion = {838, 839, 940, 859};
constexpr Rect kCursor = {818, 883, 829, 904};
constexpr float kCursorX = 270;
constexpr float kFirstChoiceY = 220;
constexpr float kChoiceSpacing = 30;
constexpr Rect kChoiceSources[kQuitChoices] = {{818, 862, 876, 881}, {878, 862, 917, 881}};

}  // namespace

int quit_confirm_open() {
    if (task_kind_exists(kKindQuitConfirm)) return 0;
    Task* t = task_alloc_at(kSlotQuitConfirm);
    if (!t) return 0;
    task_start(t, kKindQuitConfirm, &quit_confirm_first_frame, &quit_confirm_draw);
    QuitConfirmRecord& r = task_record<QuitConfirmRecord>(t);
    r.cursor = 0;
    for (int i = 0; i < kQuitChoices; ++i) {
        QuitChoice& c = r.choices[i];
        c.source = kChoiceSources[i];
        c.width = c.source.right - c.source.left;
        c.height = c.source.bottom - c.source.top;
        c.x = (kScreenWidth - c.width) / 2;
        c.y = kFirstChoiceY + kChoiceSpacing * static_cast<float>(i);
    }
    return 1;
}

void quit_confirm_first_frame(Task* t) {
    t->update_fn = &quit_confirm_update;
}

void quit_confirm_update(Task* t) {
    QuitConfirmRecord& r = task_record<QuitConfirmRecord>(t);
    if (key_pressed(kKeyUp)) {
        r.cursor = (r.cursor + kQuitChoices - 1) % kQuitChoices;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyDown)) {
        r.cursor = (r.cursor + 1) % kQuitChoices;
        sound_request(kSoundCursor, 0);
    } else if (key_confirm()) {
        t->in_use = 0;
        sound_request(kSoundCursor, 0);
        task_end_all();
        if (r.cursor == kQuitBackToTitle) {
            title_open();
        } else {
            // The shell finishes this tick, then shuts down.
            g_running = 0;
        }
    }
}

void quit_confirm_draw(Task* t) {
    const QuitConfirmRecord& r = task_record<QuitConfirmRecord>(t);
    Texture* atlas = atlas_texture();
    backdrop_fill(kBackdropCell);
    atlas_draw_centered(kWindow, 180);
    atlas_draw_centered(kQuestion, 188);
    for (const QuitChoice& c : r.choices) {
        sprite_draw_rect(Rect{c.x, c.y, c.x + c.width, c.y + c.height}, c.source, kAtlasWidth,
                         kAtlasHeight, kColourOpaque, atlas);
    }
    const int cursor = r.cursor == kQuitEndProgram ? kQuitEndProgram : kQuitBackToTitle;
    atlas_draw(kCursorX, r.choices[cursor].y, kCursor);
}

}  // namespace tessaly
