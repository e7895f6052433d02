#include "scene/item_list.hpp"

#include "app/keys.hpp"
#include "render/numbers.hpp"
#include "render/sprites.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr Rect kPriceHeading = {817, 813, 908, 834};
constexpr Rect kItemsHeading = {1023, 813, 1146, 834};
constexpr Rect kSlash = {607, 612, 618, 632};
constexpr Rect kCursorArrow = {890, 604, 901, 625};
// The heading, the position and the description line keep these heights.
constexpr float kHeadingY = 246;
constexpr float kSlashY = 244;
constexpr float kInfoY = 452;
constexpr float kLineSpacing = 20;

}  // namespace

const ItemRecord& item_of(int32_t id) {
    return g_game.items[id >= 0 && id < kItemRows ? id : 0];
}

int list_select_clamped(int32_t& cursor, int32_t count) {
    if (key_pressed(kKeyUp)) {
        sound_request(kSoundCursor, 0);
        if (cursor > 0) --cursor;
        return 0;
    }
    if (key_pressed(kKeyDown)) {
        sound_request(kSoundCursor, 0);
        if (cursor < count - 1) ++cursor;
        return 0;
    }
    if (key_confirm()) {
        sound_request(kSoundCursor, 0);
        return 1;
    }
    return 0;
}

void item_list_draw(float x, float y, int32_t count, int32_t cursor, const int32_t* ids,
                    int32_t with_price) {
    atlas_draw(x + 64, kHeadingY, with_price == 1 ? kPriceHeading : kItemsHeading);
    number_draw_small(x + 214, kHeadingY, cursor + 1);
    atlas_draw(x + 234, kSlashY, kSlash);
    number_draw_small(x + 254, kHeadingY, count);
    for (int i = 0; i < count; ++i) {
        const float yi = y + 40 + kLineSpacing * static_cast<float>(i);
        const ItemRecord& item = item_of(ids[i]);
        if (i == cursor) {
            atlas_draw(x + 32, yi + 1, kCursorArrow);
            // Items without a description line have an all-zero rectangle.
            if (ids[i] > 0 && item.info_rect.right > item.info_rect.left) {
                atlas_draw(x + 96, kInfoY, item.info_rect);
            }
        }
        number_draw_small(x + 64, yi + 1, i + 1);
        atlas_draw(x + 96, yi, item.name_rect);
        if (with_price == 1) number_draw_small(x + 270, yi + 1, item.price);
    }
}

}  // namespace tessaly
