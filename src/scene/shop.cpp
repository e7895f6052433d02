#include "scene/shop.hpp"

#include <cstdio>
#include <string>

#include "app/debug_dump.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "field/list_menu.hpp"
#include "field/players.hpp"
#include "render/numbers.hpp"
#include "render/sprites.hpp"
#include "scene/item_list.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"
#include "state/progress.hpp"

namespace tessaly {
namespace {

constexpr int kMenuEntries = 3;
// The item a computer player without a request shops for when its hit points run low.
constexpr int32_t kHealingItem = 2;

constexpr Rect kUpperPanel = {1284, 0, 1924, 241};
constexpr Rect kLowerPanel = {1284, 243, 1924, 483};
constexpr Rect kShopSign = {1869, 503, 2046, 528};
constexpr Rect kShopkeeper = {1869, 530, 2046, 701};
constexpr Rect kEntryFrame = {620, 482, 940, 602};
constexpr Rect kMenuLabels[kMenuEntries] = {
    {620, 770, 657, 789}, {671, 769, 709, 789}, {734, 769, 814, 789}};
constexpr Rect kCursorArrow = {890, 604, 901, 625};
constexpr Rect kHelp = {507, 696, 600, 715};
constexpr Rect kOwnItemsHeading = {1023, 813, 1146, 834};
constexpr Rect kMoneyLabel = {682, 650, 721, 670};
constexpr Rect kConfirmPanel = {495, 514, 618, 610};
constexpr Rect kLeaveTitle = {620, 791, 715, 811};
constexpr Rect kBuyTitle = {783, 791, 843, 810};
constexpr Rect kSellTitle = {718, 791, 778, 811};
constexpr Rect kAnswers[2] = {{127, 1057, 188, 1076}, {127, 1079, 167, 1097}};
constexpr int32_t kAnswerIds[2] = {0, 1};
constexpr Rect kRefusedMoney = {319, 845, 492, 870};
constexpr Rect kRefusedFull = {364, 811, 538, 836};
constexpr float kListX = 80;
constexpr float kListY = 240;

int32_t item_on_sale(const ShopRecord& r) {
    return r.list_cursor >= 0 && r.list_cursor < r.count ? r.items[r.list_cursor] : 0;
}

int first_empty_slot(const PlayerRecord& p) {
    for (int i = 0; i < kItemSlots; ++i) {
        if (p.items[i] == 0) return i;
    }
    return -1;
}

// Esc in a list goes back to the menu and the next list starts at its top.
bool back_to_menu(ShopRecord& r) {
    if (!key_pressed(kKeyEsc)) return false;
    r.list_cursor = 0;
    r.step = &shop_menu;
    sound_request(kSoundCursor, 0);
    return true;
}

void draw_confirmation(const ShopRecord& r, const Rect& title) {
    list_menu_draw(260, 312, r.choice, 2, kColourOpaque, kConfirmPanel, title, kAnswers,
                   kAnswerIds);
}

void draw_money(const ShopRecord& r) {
    if (r.player->computer) return;
    number_draw_small(58, 453, r.player->money);
}

void draw_buy_list(const ShopRecord& r) {
    atlas_draw(8, 246, kHelp);
    item_list_draw(kListX, kListY, r.count, r.list_cursor, r.items, 1);
    atlas_draw(450, 246, kOwnItemsHeading);
    for (int i = 0; i < kItemSlots; ++i) {
        atlas_draw(450, 276 + 20.0f * static_cast<float>(i), item_of(r.player->items[i]).name_rect);
    }
    if (!r.player->computer) atlas_draw(8, 452, kMoneyLabel);
    draw_money(r);
}

void draw_sell_list(const ShopRecord& r) {
    atlas_draw(8, 246, kHelp);
    item_list_draw(kListX, kListY, kItemSlots, r.list_cursor, r.player->items, 0);
    atlas_draw(8, 452, kMoneyLabel);
    draw_money(r);
}

// The computer player has looked at its last line, or has what it came for.
void cpu_leave_after(ShopRecord& r, int sound) {
    r.countdown = kShopLeaveFrames;
    r.menu_cursor = kShopMenuLeave;
    r.step = &cpu_shop_leave;
    sound_request(sound, 0);
}

struct ShopStepName {
    ShopStep step;
    const char* name;
};

constexpr ShopStepName kShopStepNames[] = {
    {&shop_first_frame, "first_frame"},
    {&shop_menu, "menu"},
    {&buy_list, "buy_list"},
    {&buy_confirm, "buy_confirm"},
    {&buy_refused, "buy_refused"},
    {&sell_list, "sell_list"},
    {&sell_confirm, "sell_confirm"},
    {&leave_confirm, "leave_confirm"},
    {&cpu_shop_start, "cpu_start"},
    {&cpu_shop_scan, "cpu_scan"},
    {&cpu_shop_wait, "cpu_wait"},
    {&cpu_shop_leave, "cpu_leave"},
};

// The shop's section of the dump while it is open: its step and cursors.
void shop_dump(std::string& out) {
    Task* t = task_find_kind(kKindShop);
    if (!t) return;
    const ShopRecord& r = task_record<ShopRecord>(t);
    const char* name = "other";
    for (const ShopStepName& n : kShopStepNames) {
        if (n.step == r.step) name = n.name;
    }
    char line[128];
    std::snprintf(line, sizeof line, "shop step %s menu %d list %d choice %d refusal %d items %d\n",
                  name, r.menu_cursor, r.list_cursor, r.choice, r.refusal, r.count);
    out += line;
}

}  // namespace

int shop_open(PlayerRecord& player, const int32_t* items, int count) {
    Task* t = task_alloc_at(kSlotShop);
    if (!t) return 0;
    task_start(t, kKindShop, &shop_update, &shop_draw);
    ShopRecord& r = task_record<ShopRecord>(t);
    debug_dump_add_section(&shop_dump);
    r.alive = 1;
    r.countdown = kShopLineFrames;
    r.player = &player;
    r.step = player.computer != 0 ? &cpu_shop_start : &shop_first_frame;
    r.count = 0;
    for (int i = 0; i < count && r.count < kShopItemsMax; ++i) {
        // A script's id outside the item table would read past it.
        if (items[i] >= 0 && items[i] < kItemRows) r.items[r.count++] = items[i];
    }
    return 1;
}

int32_t buy_check(const ShopRecord& r) {
    if (r.player->money < item_of(item_on_sale(r)).price) return kRefusalMoney;
    if (first_empty_slot(*r.player) < 0) return kRefusalFull;
    return kRefusalNone;
}

void item_add(ShopRecord& r) {
    const int slot = first_empty_slot(*r.player);
    if (slot >= 0) r.player->items[slot] = item_on_sale(r);
}

void shop_first_frame(ShopRecord& r) {
    r.step = &shop_menu;
}

void shop_menu(ShopRecord& r) {
    if (key_pressed(kKeyUp)) {
        r.menu_cursor = (r.menu_cursor + kMenuEntries - 1) % kMenuEntries;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyDown)) {
        r.menu_cursor = (r.menu_cursor + 1) % kMenuEntries;
        sound_request(kSoundCursor, 0);
    } else if (key_confirm()) {
        sound_request(kSoundCursor, 0);
        static constexpr ShopStep kChosen[kMenuEntries] = {&buy_list, &sell_list, &leave_confirm};
        r.step = kChosen[r.menu_cursor];
    }
}

void buy_list(ShopRecord& r) {
    if (back_to_menu(r)) return;
    // An empty list has nothing to choose.
    if (list_select_clamped(r.list_cursor, r.count) != 1 || r.count <= 0) return;
    r.refusal = kRefusalNone;
    r.choice = 0;
    r.step = &buy_confirm;
}

void buy_confirm(ShopRecord& r) {
    if (list_cursor_update(r.choice, 2) != 1) return;
    if (r.choice == 0) {
        r.step = &buy_list;
        return;
    }
    r.choice = 0;
    const int32_t refusal = buy_check(r);
    if (refusal != kRefusalNone) {
        r.refusal = refusal;
        r.step = &buy_refused;
        sound_request(kSoundRefused, 0);
        return;
    }
    item_add(r);
    r.player->money -= item_of(item_on_sale(r)).price;
    r.step = &buy_list;
    sound_request(kSoundMoney, 0);
}

void buy_refused(ShopRecord& r) {
    if (key_confirm()) r.step = &buy_list;
}

void sell_list(ShopRecord& r) {
    if (back_to_menu(r)) return;
    if (list_select_clamped(r.list_cursor, kItemSlots) != 1) return;
    if (r.player->items[r.list_cursor] <= 0) return;
    r.choice = 0;
    r.refusal = kRefusalNone;
    r.step = &sell_confirm;
}

void sell_confirm(ShopRecord& r) {
    if (list_cursor_update(r.choice, 2) != 1) return;
    if (r.choice == 1) {
        int32_t& slot = r.player->items[r.list_cursor];
        gain_money(*r.player, item_of(slot).price / 2);
        sound_request(kSoundMoney, 0);
        slot = 0;
        r.choice = 0;
    }
    r.step = &sell_list;
}

void leave_confirm(ShopRecord& r) {
    if (list_cursor_update(r.choice, 2) != 1) return;
    if (r.choice == 0) {
        r.step = &shop_menu;
    } else {
        r.alive = 0;
    }
}

void cpu_shop_start(ShopRecord& r) {
    if (--r.countdown > 0) return;
    r.step = &cpu_shop_scan;
    r.countdown = kShopLineFrames;
    r.list_cursor = 0;
    PlayerRecord& p = *r.player;
    if (p.team_number == 0 && p.hit_points <= p.max_hit_points / 3) p.team_target = kHealingItem;
}

void cpu_shop_scan(ShopRecord& r) {
    PlayerRecord& p = *r.player;
    // A target of 0 wants nothing, and an empty list has nothing to match it.
    if (r.count > 0 && p.team_target > 0 && item_on_sale(r) == p.team_target) {
        if (first_empty_slot(p) >= 0) {
            item_add(r);
        } else {
            // Eight full slots: the new item takes the first slot and what it held is thrown
            // away; the other slots keep their items where they are.
            p.items[0] = item_on_sale(r);
        }
        p.team_target = 0;
        cpu_leave_after(r, kSoundMoney);
        return;
    }
    r.list_cursor += 1;
    if (r.list_cursor >= r.count) {
        r.list_cursor = r.count > 0 ? r.count - 1 : 0;
        cpu_leave_after(r, kSoundCursor);
        return;
    }
    sound_request(kSoundCursor, 0);
    r.countdown = kShopLineFrames;
    r.step = &cpu_shop_wait;
}

void cpu_shop_wait(ShopRecord& r) {
    if (--r.countdown <= 0) r.step = &cpu_shop_scan;
}

void cpu_shop_leave(ShopRecord& r) {
    if (--r.countdown <= 0) r.alive = 0;
}

void shop_update(Task* t) {
    ShopRecord& r = task_record<ShopRecord>(t);
    r.step(r);
    if (r.alive == 0) t->in_use = 0;
}

void shop_draw(Task* t) {
    const ShopRecord& r = task_record<ShopRecord>(t);
    atlas_draw(0, 0, kUpperPanel);
    atlas_draw(440, 25, kShopSign);
    atlas_draw(440, 60, kShopkeeper);
    atlas_draw(0, 120, kEntryFrame);
    for (int i = 0; i < kMenuEntries; ++i) {
        atlas_draw(32, 136 + 25.0f * static_cast<float>(i), kMenuLabels[i]);
    }
    atlas_draw(16, 137 + 25.0f * static_cast<float>(r.menu_cursor), kCursorArrow);
    atlas_draw(0, 240, kLowerPanel);
    if (r.player->computer != 0) {
        draw_buy_list(r);
        return;
    }
    if (r.step == &leave_confirm) {
        draw_confirmation(r, kLeaveTitle);
    } else if (r.step == &buy_list) {
        draw_buy_list(r);
    } else if (r.step == &buy_confirm) {
        draw_buy_list(r);
        draw_confirmation(r, kBuyTitle);
    } else if (r.step == &buy_refused) {
        draw_buy_list(r);
        atlas_draw_centered(r.refusal == kRefusalMoney ? kRefusedMoney : kRefusedFull, 100);
    } else if (r.step == &sell_list) {
        draw_sell_list(r);
    } else if (r.step == &sell_confirm) {
        draw_sell_list(r);
        draw_confirmation(r, kSellTitle);
    }
}

}  // namespace tessaly
