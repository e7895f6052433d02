#pragma once
// The list widget the menus share: a panel with a title sprite, one sprite per entry and a
// cursor, moved with Up and Down and confirmed with Enter or Z.
#include <cstdint>

#include "render/sprites.hpp"

namespace tessaly {

// Down moves the cursor down (wrapping from count - 1 to 0), otherwise Up moves it up
// (wrapping from 0 to count - 1); a move sounds and returns 0. Otherwise Enter or Z sound
// and return 1. Keys are the just-pressed tests; only the first that fires counts.
int list_cursor_update(int32_t& cursor, int32_t count);

// The panel at (x, y) tinted inside, its title centred 6 below its top, the cursor arrow
// and the sprite of each of the count entries (entry_sprites[entries[i]]) centred on its
// line; lines are 27 apart. Every sprite comes from the atlas.
void list_menu_draw(float x, float y, int32_t cursor, int32_t count, uint32_t tint,
                    const Rect& panel, const Rect& title, const Rect* entry_sprites,
                    const int32_t* entries);

}  // namespace tessaly
