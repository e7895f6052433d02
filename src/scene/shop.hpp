#pragma once
// The shop an event opens: the human player buys from the shop's list, sells its own items
// for half their price or leaves; a computer player walks the list by itself and takes the
// item it wants without paying.
#include <cstdint>

#include "app/task_pool.hpp"

namespace tessaly {

struct PlayerRecord;

// Items a shop lists at most.
constexpr int kShopItemsMax = 16;
// Frames a computer player spends on each line, and before it leaves.
constexpr int32_t kShopLineFrames = 50;
constexpr int32_t kShopLeaveFrames = 60;

constexpr int32_t kShopMenuBuy = 0;
constexpr int32_t kShopMenuSell = 1;
constexpr int32_t kShopMenuLeave = 2;

// Why a purchase was refused.
constexpr int32_t kRefusalNone = 0;
constexpr int32_t kRefusalMoney = 1;
constexpr int32_t kRefusalFull = 2;

struct ShopRecord;
using ShopStep = void (*)(ShopRecord&);

struct ShopRecord {
    int32_t alive;
    int32_t list_cursor;  // line of the buy or sell list
    int32_t choice;       // answer of a confirmation: 0 no, 1 yes
    int32_t menu_cursor;  // kShopMenuBuy, kShopMenuSell or kShopMenuLeave
    int32_t countdown;    // frames left in a computer player's step
    ShopStep step;
    PlayerRecord* player;  // the customer
    int32_t refusal;       // kRefusalMoney or kRefusalFull while a refusal shows
    int32_t count;         // items on sale
    int32_t items[kShopItemsMax];
};

// Creates the shop in slot 911 for the player with the items on sale; ids outside the item
// table are left off the list and lists longer than kShopItemsMax are cut. 0 without effect
// when the slot is taken.
int shop_open(PlayerRecord& player, const int32_t* items, int count);

// kRefusalMoney when the item under the list cursor costs more than the player has, else
// kRefusalFull when none of its eight slots is empty, else kRefusalNone.
int32_t buy_check(const ShopRecord& r);
// The item under the list cursor into the player's first empty slot; nothing if none is.
void item_add(ShopRecord& r);

// The human player's steps; the first frame only installs the menu.
void shop_first_frame(ShopRecord& r);
void shop_menu(ShopRecord& r);
void buy_list(ShopRecord& r);
void buy_confirm(ShopRecord& r);
void buy_refused(ShopRecord& r);
void sell_list(ShopRecord& r);
void sell_confirm(ShopRecord& r);
void leave_confirm(ShopRecord& r);

// A computer player's steps.
void cpu_shop_start(ShopRecord& r);
void cpu_shop_scan(ShopRecord& r);
void cpu_shop_wait(ShopRecord& r);
void cpu_shop_leave(ShopRecord& r);

void shop_update(Task* t);
void shop_draw(Task* t);

}  // namespace tessaly
