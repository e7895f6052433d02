#include "field/list_menu.hpp"

#include "app/keys.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

constexpr Rect kCursorArrow = {890, 604, 901, 625};
constexpr float kLinePitch = 27.0f;
constexpr float kTitleTop = 6.0f;
constexpr float kCursorLeft = 4.0f;
constexpr float kCursorTop = 32.0f;
constexpr float kEntryTop = 35.0f;

float width_of(const Rect& r) {
    return r.right - r.left;
}

}  // namespace

int list_cursor_update(int32_t& cursor, int32_t count) {
    if (key_pressed(kKeyDown)) {
        cursor = cursor >= count - 1 ? 0 : cursor + 1;
        sound_request(kSoundCursor, 0);
        return 0;
    }
    if (key_pressed(kKeyUp)) {
        cursor = cursor <= 0 ? count - 1 : cursor - 1;
        sound_request(kSoundCursor, 0);
        return 0;
    }
    if (key_confirm()) {
        sound_request(kSoundCursor, 0);
        return 1;
    }
    return 0;
}

void list_menu_draw(float x, float y, int32_t cursor, int32_t count, uint32_t tint,
                    const Rect& panel, const Rect& title, const Rect* entry_sprites,
                    const int32_t* entries) {
    const float pw = width_of(panel);
    panel_draw(x, y, panel, tint);
    atlas_draw(x + (pw - width_of(title)) / 2, y + kTitleTop, title);
    atlas_draw(x + kCursorLeft, y + kCursorTop + kLinePitch * static_cast<float>(cursor),
               kCursorArrow);
    for (int32_t i = 0; i < count; ++i) {
        const Rect& e = entry_sprites[entries[i]];
        const float c = round_half_away((pw - width_of(e)) / 2);
        atlas_draw(x + c, y + kEntryTop + kLinePitch * static_cast<float>(i), e);
    }
}

}  // namespace tessaly
