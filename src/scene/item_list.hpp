#pragma once
// The item list that the item scene and the shop share: a cursor that stops at both ends,
// and the list of item names with its heading, position and description line.
#include <cstdint>

namespace tessaly {

struct ItemRecord;

// The item table's row for id; ids outside the table give row 0, the empty slot.
const ItemRecord& item_of(int32_t id);

// Up moves the cursor up, not below 0; otherwise Down moves it down, not past count - 1;
// either sounds even when the cursor cannot move, and returns 0. Otherwise Enter or Z
// sound and return 1; no key returns 0.
int list_select_clamped(int32_t& cursor, int32_t count);

// The count lines of item ids from y + 40 on, 20 apart, with the cursor's line marked and
// its item's description at the bottom; the heading and position stay at height 246
// whatever y is. with_price 1 adds each item's price and the shop's heading. Ids outside
// the item table show as an empty slot.
void item_list_draw(float x, float y, int32_t count, int32_t cursor, const int32_t* ids,
                    int32_t with_price);

}  // namespace tessaly
