#include "scene/shop.hpp"

#include <gtest/gtest.h>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "platform/audio.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;
using test::ticks;

Task* slot(int s) {
    return &task_pool()[s];
}
ShopRecord& shop() {
    return task_record<ShopRecord>(slot(kSlotShop));
}

// On sale: item 1 (100), item 2 (200), item 5 (1500).
constexpr int32_t kOnSale[] = {1, 2, 5};

struct ShopFixture : test::SoundedBoardFixture {
    PlayerRecord player{};
    void SetUp() override {
        test::SoundedBoardFixture::SetUp();
        player.money = 1000;
        player.hit_points = 100;
        player.max_hit_points = 100;
    }
    void open() {
        ASSERT_EQ(shop_open(player, kOnSale, 3), 1);
        tick();
    }
    // From the menu: into the buy list, down to line, confirm and answer yes.
    void buy(int line) {
        tick_press({kKeyEnter});
        while (shop().list_cursor < line) tick_press({kKeyDown});
        tick_press({kKeyEnter});
        tick_press({kKeyDown});
        tick_press({kKeyEnter});
    }
    void fill_slots(int32_t id) {
        for (int32_t& s : player.items) s = id;
    }
};

using Shop = ShopFixture;

TEST_F(Shop, OpensOnTheMenuWithTheItemsOnSale) {
    ASSERT_EQ(shop_open(player, kOnSale, 3), 1);
    EXPECT_EQ(shop().countdown, 50);
    EXPECT_EQ(shop().count, 3);
    EXPECT_EQ(shop().items[2], 5);
    EXPECT_EQ(shop_open(player, kOnSale, 3), 0);
    tick_press({kKeyDown});
    EXPECT_EQ(shop().menu_cursor, 0);  // the first frame reads no keys
    EXPECT_EQ(shop().step, &shop_menu);
}

TEST_F(Shop, MenuCursorWrapsAndUpWinsOverDown) {
    open();
    tick_press({kKeyUp});
    EXPECT_EQ(shop().menu_cursor, kShopMenuLeave);
    tick_press({kKeyDown});
    EXPECT_EQ(shop().menu_cursor, kShopMenuBuy);
    tick_press({kKeyDown, kKeyUp});
    EXPECT_EQ(shop().menu_cursor, kShopMenuLeave);
}

TEST_F(Shop, EscInTheMenuDoesNothing) {
    open();
    tick_press({kKeyEsc});
    EXPECT_EQ(shop().step, &shop_menu);
    EXPECT_EQ(slot(kSlotShop)->in_use, 1);
}

TEST_F(Shop, MoneyExactlyThePriceBuysAndLeavesZero) {
    player.money = 200;
    open();
    platform::audio_record_clear();
    buy(1);
    EXPECT_EQ(player.money, 0);
    EXPECT_EQ(player.items[0], 2);
    EXPECT_EQ(shop().step, &buy_list);
    EXPECT_NE(platform::audio_record_text().find("play 13"), std::string::npos);
}

TEST_F(Shop, TheItemGoesIntoTheFirstEmptySlot) {
    player.items[0] = 9;
    player.items[1] = 9;
    player.items[3] = 9;
    open();
    buy(0);
    EXPECT_EQ(player.items[2], 1);
    EXPECT_EQ(player.items[3], 9);
    EXPECT_EQ(player.money, 900);
}

TEST_F(Shop, OneShortOfThePriceIsRefusedAndNothingChanges) {
    player.money = 1499;
    open();
    platform::audio_record_clear();
    buy(2);
    EXPECT_EQ(shop().step, &buy_refused);
    EXPECT_EQ(shop().refusal, kRefusalMoney);
    EXPECT_EQ(shop().choice, 0);
    EXPECT_EQ(player.money, 1499);
    EXPECT_EQ(player.items[0], 0);
    EXPECT_NE(platform::audio_record_text().find("play 4"), std::string::npos);
    // Only a confirm leaves the refusal.
    tick_press({kKeyEsc});
    tick_press({kKeyDown});
    EXPECT_EQ(shop().step, &buy_refused);
    tick_press({kKeyZ});
    EXPECT_EQ(shop().step, &buy_list);
    EXPECT_EQ(shop().list_cursor, 2);
}

TEST_F(Shop, EightFullSlotsAreRefusedButMoneyIsTestedFirst) {
    fill_slots(9);
    open();
    buy(0);
    EXPECT_EQ(shop().refusal, kRefusalFull);
    EXPECT_EQ(player.money, 1000);
    tick_press({kKeyEnter});
    player.money = 0;
    tick_press({kKeyEnter});
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    EXPECT_EQ(shop().refusal, kRefusalMoney);
}

TEST_F(Shop, AnsweringNoReturnsToTheListWithoutBuying) {
    open();
    tick_press({kKeyEnter});
    tick_press({kKeyEnter});
    ASSERT_EQ(shop().step, &buy_confirm);
    tick_press({kKeyEnter});
    EXPECT_EQ(shop().step, &buy_list);
    EXPECT_EQ(player.money, 1000);
    EXPECT_EQ(player.items[0], 0);
}

TEST_F(Shop, EscInTheBuyListResetsTheListCursor) {
    open();
    tick_press({kKeyEnter});
    tick_press({kKeyDown});
    tick_press({kKeyDown});
    tick_press({kKeyDown});
    EXPECT_EQ(shop().list_cursor, 2);  // clamped at the last line
    tick_press({kKeyEsc});
    EXPECT_EQ(shop().step, &shop_menu);
    EXPECT_EQ(shop().list_cursor, 0);
    tick_press({kKeyEnter});
    EXPECT_EQ(shop().step, &buy_list);
    EXPECT_EQ(shop().list_cursor, 0);
}

TEST_F(Shop, SellingGivesHalfThePriceAndEmptiesTheSlot) {
    player.items[1] = 11;  // price 500
    open();
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    ASSERT_EQ(shop().step, &sell_list);
    tick_press({kKeyEnter});  // slot 0 is empty: nothing
    EXPECT_EQ(shop().step, &sell_list);
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    ASSERT_EQ(shop().step, &sell_confirm);
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    EXPECT_EQ(player.money, 1250);
    EXPECT_EQ(player.items[1], 0);
    EXPECT_EQ(shop().step, &sell_list);
    tick_press({kKeyEsc});
    EXPECT_EQ(shop().step, &shop_menu);
    EXPECT_EQ(shop().list_cursor, 0);
}

TEST_F(Shop, ASaleAboveTheMostMoneyCapsIt) {
    player.money = 9999900;
    player.items[0] = 5;  // sells for 750
    open();
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    tick_press({kKeyEnter});
    tick_press({kKeyUp});
    tick_press({kKeyEnter});
    EXPECT_EQ(player.money, 9999999);
    EXPECT_EQ(player.items[0], 0);
}

TEST_F(Shop, LeavingAsksFirst) {
    open();
    tick_press({kKeyUp});
    tick_press({kKeyEnter});
    ASSERT_EQ(shop().step, &leave_confirm);
    tick_press({kKeyEnter});
    EXPECT_EQ(shop().step, &shop_menu);
    tick_press({kKeyEnter});
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    EXPECT_EQ(slot(kSlotShop)->in_use, 0);
}

TEST_F(Shop, IdsOutsideTheItemTableAreLeftOffTheList) {
    const int32_t items[] = {3, 200, -1, 4};
    ASSERT_EQ(shop_open(player, items, 4), 1);
    EXPECT_EQ(shop().count, 2);
    EXPECT_EQ(shop().items[0], 3);
    EXPECT_EQ(shop().items[1], 4);
}

TEST_F(Shop, AnEmptyListSellsNothing) {
    ASSERT_EQ(shop_open(player, kOnSale, 0), 1);
    tick();
    tick_press({kKeyEnter});
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    EXPECT_EQ(shop().step, &buy_list);
    EXPECT_EQ(shop().list_cursor, 0);
}

// A computer player.
struct CpuShop : ShopFixture {
    void SetUp() override {
        ShopFixture::SetUp();
        player.computer = 1;
    }
    void open_for_cpu() { ASSERT_EQ(shop_open(player, kOnSale, 3), 1); }
};

TEST_F(CpuShop, OneWhoWantsNothingWalksTheListAndLeaves) {
    open_for_cpu();
    EXPECT_EQ(shop().step, &cpu_shop_start);
    ticks(49);
    EXPECT_EQ(shop().step, &cpu_shop_start);
    tick();
    EXPECT_EQ(shop().step, &cpu_shop_scan);
    EXPECT_EQ(player.team_target, 0);
    // Line 0 is looked at; then a wait of 50 frames before each next line.
    tick();
    EXPECT_EQ(shop().list_cursor, 1);
    EXPECT_EQ(shop().step, &cpu_shop_wait);
    ticks(50);
    EXPECT_EQ(shop().step, &cpu_shop_scan);
    tick();
    EXPECT_EQ(shop().list_cursor, 2);
    ticks(51);
    EXPECT_EQ(shop().step, &cpu_shop_leave);
    EXPECT_EQ(shop().list_cursor, 2);
    EXPECT_EQ(shop().menu_cursor, kShopMenuLeave);
    ticks(59);
    EXPECT_EQ(slot(kSlotShop)->in_use, 1);
    tick();
    EXPECT_EQ(slot(kSlotShop)->in_use, 0);
    EXPECT_EQ(player.money, 1000);
    for (int32_t s : player.items) EXPECT_EQ(s, 0);
}

TEST_F(CpuShop, LowHitPointsWithoutARequestTakeItemTwoFree) {
    player.hit_points = 33;  // at most a third of 100
    open_for_cpu();
    ticks(50);
    EXPECT_EQ(player.team_target, 2);
    tick();  // line 0 holds item 1
    ticks(51);
    EXPECT_EQ(shop().step, &cpu_shop_leave);
    EXPECT_EQ(player.items[0], 2);
    EXPECT_EQ(player.money, 1000);
    EXPECT_EQ(player.team_target, 0);
    EXPECT_EQ(shop().list_cursor, 1);
}

TEST_F(CpuShop, AThirdAndOneMoreWantsNothing) {
    player.hit_points = 34;
    open_for_cpu();
    ticks(50);
    EXPECT_EQ(player.team_target, 0);
}

TEST_F(CpuShop, ARequestsItemIsTakenWhateverTheHitPoints) {
    player.team_number = 2;
    player.team_target = 5;
    player.hit_points = 1;
    open_for_cpu();
    ticks(50 + 1 + 51 + 51);
    EXPECT_EQ(shop().step, &cpu_shop_leave);
    EXPECT_EQ(player.items[0], 5);
    EXPECT_EQ(player.team_target, 0);
}

TEST_F(CpuShop, ATargetNotOnSaleLeavesAfterTheLastLine) {
    player.team_number = 1;
    player.team_target = 11;
    open_for_cpu();
    ticks(50 + 1 + 51 + 51);
    EXPECT_EQ(shop().step, &cpu_shop_leave);
    EXPECT_EQ(player.team_target, 11);
    for (int32_t s : player.items) EXPECT_EQ(s, 0);
}

TEST_F(CpuShop, WithEightFullSlotsTheFirstSlotsItemMakesRoom) {
    fill_slots(9);
    player.items[0] = 3;
    player.team_number = 2;
    player.team_target = 1;
    open_for_cpu();
    ticks(51);
    EXPECT_EQ(player.items[0], 1);
    for (int i = 1; i < kItemSlots; ++i) EXPECT_EQ(player.items[i], 9);
}

TEST_F(CpuShop, KeysAreNotRead) {
    open_for_cpu();
    tick_press({kKeyEsc});
    tick_press({kKeyEnter});
    EXPECT_EQ(shop().step, &cpu_shop_start);
    EXPECT_EQ(shop().countdown, 48);
}

// Drawing.
struct ShopDraw : test::RecordingFixture {
    PlayerRecord player{};
};

constexpr Rect kRefusedMoney = {319, 845, 492, 870};
constexpr Rect kRefusedFull = {364, 811, 538, 836};
constexpr Rect kMoneyLabel = {682, 650, 721, 670};
constexpr Rect kPriceHeading = {817, 813, 908, 834};
constexpr Rect kShopkeeper = {1869, 530, 2046, 701};
constexpr Rect kArrow = {890, 604, 901, 625};

Rect dest_of(const Rect& source) {
    const int i = test::find_atlas_draw(source);
    EXPECT_GE(i, 0);
    return i >= 0 ? test::recorded_dest(test::recorded()[i]) : Rect{-1, -1, -1, -1};
}

TEST_F(ShopDraw, TheMenuAloneShowsNoList) {
    ASSERT_EQ(shop_open(player, kOnSale, 3), 1);
    tick();
    tick_press({kKeyDown});
    test::recorded_reset();
    test::draw_frame();
    EXPECT_FLOAT_EQ(dest_of(kShopkeeper).left, 440.0f);
    EXPECT_EQ(test::count_atlas_draws(kPriceHeading), 0);
    EXPECT_FLOAT_EQ(dest_of(kArrow).top, 162.0f);
    EXPECT_FLOAT_EQ(dest_of(kArrow).left, 16.0f);
}

TEST_F(ShopDraw, ARefusalShowsOverTheBuyListWithItsReason) {
    player.money = 10;
    ASSERT_EQ(shop_open(player, kOnSale, 3), 1);
    tick();
    tick_press({kKeyEnter});
    tick_press({kKeyEnter});
    tick_press({kKeyUp});
    tick_press({kKeyEnter});
    ASSERT_EQ(shop().step, &buy_refused);
    test::recorded_reset();
    test::draw_frame();
    EXPECT_FLOAT_EQ(dest_of(kRefusedMoney).top, 100.0f);
    EXPECT_EQ(test::count_atlas_draws(kRefusedFull), 0);
    EXPECT_EQ(test::count_atlas_draws(kPriceHeading), 1);
    EXPECT_FLOAT_EQ(dest_of(kMoneyLabel).left, 8.0f);
    // The player's own eight slots, all empty, in the right-hand column.
    EXPECT_EQ(test::count_atlas_draws(g_game.items[0].name_rect), 8);
}

TEST_F(ShopDraw, AComputerPlayersShopShowsTheBuyListWithoutMoney) {
    player.computer = 1;
    ASSERT_EQ(shop_open(player, kOnSale, 3), 1);
    tick();
    test::recorded_reset();
    test::draw_frame();
    EXPECT_EQ(test::count_atlas_draws(kPriceHeading), 1);
    EXPECT_EQ(test::count_atlas_draws(kMoneyLabel), 0);
}

}  // namespace
}  // namespace tessaly
