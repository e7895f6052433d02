#include "scene/field_menu.hpp"

#include <gtest/gtest.h>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "field/camera.hpp"
#include "platform/audio.hpp"
#include "render/numbers.hpp"
#include "scene/item_scene.hpp"
#include "scene/options.hpp"
#include "state/save_menu.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;

Task* slot(int s) {
    return &task_pool()[s];
}
FieldMenuRecord& menu() {
    return task_record<FieldMenuRecord>(slot(kSlotFieldMenu));
}

// Moves the menu's cursor to the entry from column 0, row 0.
void go_to(int entry) {
    if (entry % 2) tick_press({kKeyRight});
    for (int i = 0; i < entry / 2; ++i) tick_press({kKeyDown});
    ASSERT_EQ(menu().selected, entry);
}

// A board of three players, the human in slot 10, with the menu open over it.
struct FieldMenuFixture : test::SoundedBoardFixture {
    void SetUp() override {
        test::SoundedBoardFixture::SetUp();
        test::lay_board({"o.o.o"});
        for (int c = 0; c < 3; ++c) {
            float x = 0, z = 0;
            test::cell_world(2 * c, 0, x, z);
            ASSERT_NE(player_create(x, kPlayerHeight, z, c != 0 ? 1 : 0, c), nullptr);
        }
        turn_ring_link();
        ASSERT_EQ(field_menu_open(human()), 1);
        tick();
    }
    PlayerRecord& human() { return test::player_at_slot(10); }
    bool board_frozen() {
        for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
            if (slot(s)->update != 0 || slot(s)->draw == 0) return false;
        }
        return true;
    }
    bool board_running() {
        for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
            if (slot(s)->update == 0 || slot(s)->draw == 0) return false;
        }
        return true;
    }
};

using FieldMenu = FieldMenuFixture;

TEST_F(FieldMenu, OpeningFreezesTheBoardButNotTheMenu) {
    EXPECT_TRUE(board_frozen());
    EXPECT_EQ(slot(kSlotFieldMenu)->update, 1);
    EXPECT_EQ(menu().step, &field_menu_select);
    EXPECT_EQ(menu().player, &human());
}

TEST_F(FieldMenu, ASecondMenuIsRefusedWithoutTouchingTheBoard) {
    slot(kSlotPlayersFirst)->update = 1;
    EXPECT_EQ(field_menu_open(human()), 0);
    EXPECT_EQ(slot(kSlotPlayersFirst)->update, 1);
}

TEST_F(FieldMenu, ColumnsAndRowsWrap) {
    tick_press({kKeyRight});
    tick_press({kKeyRight});
    EXPECT_EQ(menu().column, 0);
    tick_press({kKeyLeft});
    EXPECT_EQ(menu().column, 1);
    tick_press({kKeyUp});
    EXPECT_EQ(menu().row, 3);
    EXPECT_EQ(menu().selected, 7);
    tick_press({kKeyDown});
    EXPECT_EQ(menu().row, 0);
    EXPECT_EQ(menu().selected, 1);
}

TEST_F(FieldMenu, DownWinsOverUpInTheSameFrame) {
    tick_press({kKeyUp, kKeyDown});
    EXPECT_EQ(menu().row, 1);
    EXPECT_EQ(menu().selected, 2);
}

TEST_F(FieldMenu, EscClosesFromTheGridAndResumesTheBoard) {
    platform::audio_record_clear();
    tick_press({kKeyEsc});
    EXPECT_EQ(slot(kSlotFieldMenu)->in_use, 0);
    EXPECT_TRUE(board_running());
    EXPECT_EQ(test::sounds_played(), "play 8");
}

TEST_F(FieldMenu, TheCloseEntryResumesTheBoard) {
    tick_press({kKeyZ});
    EXPECT_EQ(slot(kSlotFieldMenu)->in_use, 0);
    EXPECT_TRUE(board_running());
}

TEST_F(FieldMenu, EscIsNotReadInTheTitleConfirmation) {
    go_to(kFieldMenuTitle);
    tick_press({kKeyEnter});
    ASSERT_EQ(menu().step, &title_confirm);
    tick_press({kKeyEsc});
    EXPECT_EQ(slot(kSlotFieldMenu)->in_use, 1);
    EXPECT_EQ(menu().step, &title_confirm);
    EXPECT_TRUE(board_frozen());
    // No goes back to the grid with the entry still selected.
    tick_press({kKeyEnter});
    EXPECT_EQ(menu().step, &field_menu_select);
    EXPECT_EQ(menu().selected, kFieldMenuTitle);
}

TEST_F(FieldMenu, YesInTheTitleConfirmationLeavesOnlyTheTitle) {
    go_to(kFieldMenuTitle);
    tick_press({kKeyEnter});
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    int live = 0;
    for (int i = 0; i < kTaskSlots; ++i) live += slot(i)->in_use;
    EXPECT_EQ(live, 1);
    EXPECT_EQ(task_kind_exists(kKindTitle), 1);
}

TEST_F(FieldMenu, TheRequestEntryDoesNothing) {
    go_to(kFieldMenuRequest);
    tick_press({kKeyEnter});
    EXPECT_EQ(slot(kSlotFieldMenu)->in_use, 1);
    EXPECT_EQ(menu().step, &field_menu_select);
}

TEST_F(FieldMenu, OptionsOpenLowAndTheMenuWaitsForThemToClose) {
    go_to(kFieldMenuOptions);
    tick_press({kKeyEnter});
    ASSERT_EQ(task_kind_exists(kKindOptions), 1);
    const OptionsRecord& o = task_record<OptionsRecord>(slot(kSlotOptions));
    EXPECT_EQ(o.caller, kOptionsFromFieldMenu);
    EXPECT_EQ(o.panel_y, 240.0f);
    EXPECT_EQ(menu().step, &field_menu_wait);
    // Keys go to the options only: Esc there is not read and the menu stays.
    tick_press({kKeyEsc});
    tick_press({kKeyDown});
    EXPECT_EQ(slot(kSlotFieldMenu)->in_use, 1);
    EXPECT_EQ(menu().row, 2);
    tick_press({kKeyEnter});
    EXPECT_EQ(slot(kSlotOptions)->in_use, 0);
    EXPECT_TRUE(board_frozen());
    tick();
    EXPECT_EQ(menu().step, &field_menu_select);
    tick_press({kKeyEsc});
    EXPECT_TRUE(board_running());
}

TEST_F(FieldMenu, BothItemEntriesOpenTheItemSceneInTheirMode) {
    for (int entry : {kFieldMenuUseItem, kFieldMenuThrowAway}) {
        go_to(entry);
        tick_press({kKeyEnter});
        ASSERT_EQ(task_kind_exists(kKindItemScene), 1);
        const ItemSceneRecord& s = task_record<ItemSceneRecord>(slot(kSlotItemScene));
        EXPECT_EQ(s.mode, entry == kFieldMenuUseItem ? kItemSceneUse : kItemSceneThrowAway);
        EXPECT_EQ(s.player, &human());
        tick_press({kKeyEsc});  // closes the item scene, not the menu
        EXPECT_EQ(slot(kSlotItemScene)->in_use, 0);
        EXPECT_EQ(slot(kSlotFieldMenu)->in_use, 1);
        tick();
        EXPECT_EQ(menu().step, &field_menu_select);
        tick_press({kKeyUp});
        tick_press({kKeyUp});
        tick_press({kKeyUp});
        if (menu().column == 1) tick_press({kKeyLeft});
        ASSERT_EQ(menu().selected, 0);
    }
}

TEST_F(FieldMenu, SaveAndLoadOpenTheirMenuOverTheFieldMenu) {
    for (int entry : {kFieldMenuSave, kFieldMenuLoad}) {
        go_to(entry);
        tick_press({kKeyEnter});
        ASSERT_EQ(task_kind_exists(kKindSaveMenu), 1);
        const SaveMenuRecord& m = task_record<SaveMenuRecord>(slot(kSlotSaveMenu));
        EXPECT_EQ(m.mode, entry == kFieldMenuSave ? kSaveMenuSave : kSaveMenuLoad);
        EXPECT_EQ(m.caller, kSaveCallerFieldMenu);
        EXPECT_EQ(m.panel_y, 300.0f);
        EXPECT_EQ(menu().step, &field_menu_wait);
        // The menu waits, whatever is pressed, until the save menu is gone.
        slot(kSlotSaveMenu)->in_use = 0;
        tick();
        EXPECT_EQ(menu().step, &field_menu_select);
        tick_press({kKeyUp});
        if (menu().column == 1) tick_press({kKeyLeft});
        ASSERT_EQ(menu().selected, 0);
    }
}

TEST_F(FieldMenu, AHealingItemUsedFromTheMenuHealsTheHuman) {
    human().hit_points = 180;
    human().max_hit_points = 200;
    human().items[0] = 2;
    go_to(kFieldMenuUseItem);
    tick_press({kKeyEnter});
    tick();
    tick_press({kKeyEnter});
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    EXPECT_EQ(human().hit_points, 200);
    EXPECT_EQ(human().items[0], 0);
}

// Shift on the board, read by the camera, with a new game in play.
struct FieldMenuShift : test::GameFixture {
    void SetUp() override {
        test::GameFixture::SetUp();
        test::board_in_play(0);
    }
};

TEST_F(FieldMenuShift, ShiftDuringTheDieSpinOpensTheFieldMenuForTheHuman) {
    platform::audio_record_clear();
    tick_press({kKeyShift});
    EXPECT_EQ(test::sounds_played(), "play 8");
    ASSERT_EQ(slot(kSlotFieldMenu)->in_use, 1);
    EXPECT_EQ(task_kind_exists(kKindPauseMenu), 0);
    EXPECT_EQ(menu().player, &test::player_at_slot(10));
    for (int s : {kSlotMap, 10, 11, 12, kSlotCamera}) EXPECT_EQ(slot(s)->update, 0) << s;
    // The die does not stop under the menu; after Esc the board runs on.
    go_to(kFieldMenuRequest);
    tick_press({kKeyZ});
    ASSERT_EQ(slot(kSlotFieldMenu)->in_use, 1);
    EXPECT_EQ(test::player_at_slot(10).state, &die_spin);
    tick_press({kKeyEsc});
    EXPECT_EQ(slot(kSlotFieldMenu)->in_use, 0);
    tick_press({kKeyZ});
    EXPECT_NE(test::player_at_slot(10).state, &die_spin);
}

// Drawing.
struct FieldMenuDraw : test::RecordingFixture {
    PlayerRecord player{};
    void SetUp() override {
        test::RecordingFixture::SetUp();
        player.character_id = 1;
        player.level = 7;
        player.hit_points = 45;
        player.max_hit_points = 90;
        player.money = 1234;
        ASSERT_EQ(field_menu_open(player), 1);
        tick();
    }
};

constexpr Rect kStatusPanel = {1284, 0, 1924, 241};
constexpr Rect kRequestHeading = {1014, 721, 1134, 741};
constexpr Rect kArrow = {890, 604, 901, 625};
constexpr Rect kConfirmTitle = {21, 1100, 122, 1120};

Rect dest_of(const Rect& source) {
    const int i = test::find_atlas_draw(source);
    EXPECT_GE(i, 0);
    return i >= 0 ? test::recorded_dest(test::recorded()[i]) : Rect{-1, -1, -1, -1};
}

TEST_F(FieldMenuDraw, StatusShowsTheFourFacesOfThePlayersCharacter) {
    test::recorded_reset();
    test::draw_frame();
    EXPECT_FLOAT_EQ(dest_of(kStatusPanel).left, 0.0f);
    // Character 1: faces 4..7, lefts 1438 and 1316 of the upper band, then 1926 and 1804
    // of the lower one.
    const Rect faces[4] = {{1438, 1423, 1558, 1523},
                           {1316, 1423, 1436, 1523},
                           {1926, 1321, 2046, 1421},
                           {1804, 1321, 1924, 1421}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(dest_of(faces[i]).left, 4.0f + 120.0f * static_cast<float>(i)) << i;
        EXPECT_FLOAT_EQ(dest_of(faces[i]).top, 4.0f);
    }
    EXPECT_FLOAT_EQ(dest_of(kArrow).left, 16.0f);
    EXPECT_FLOAT_EQ(dest_of(kArrow).top, 135.0f);
    EXPECT_EQ(test::count_atlas_draws(kRequestHeading), 0);
}

TEST_F(FieldMenuDraw, TheRequestEntryShowsTheHeldRequestsName) {
    player.team_number = 2;
    go_to(kFieldMenuRequest);
    test::recorded_reset();
    test::draw_frame();
    EXPECT_FLOAT_EQ(dest_of(kRequestHeading).top, 256.0f);
    EXPECT_FLOAT_EQ(dest_of(g_game.requests[2].name_rect).top, 288.0f);
    player.team_number = 0;
    test::recorded_reset();
    test::draw_frame();
    EXPECT_FLOAT_EQ(dest_of(g_game.requests[0].name_rect).left, 32.0f);
}

TEST_F(FieldMenuDraw, TheBadgesCountWhatAllPlayersAchievedTogether) {
    PlayerRecord* a = player_create(0, 0, 0, 0, 0);
    PlayerRecord* b = player_create(0, 0, 0, 1, 1);
    PlayerRecord* c = player_create(0, 0, 0, 1, 2);
    ASSERT_TRUE(a && b && c);
    a->achievement_bits = 1;
    b->achievement_bits = 1 | 4;
    c->achievement_bits = 8;
    test::recorded_reset();
    test::draw_frame();
    // The count, three of four, right of the crests at (560, 211).
    const Rect three = digit_font_rects(DigitFont::Small)[3];
    int counted = 0;
    for (const auto& d : test::recorded()) {
        const Rect at = test::recorded_dest(d);
        if (test::draw_cuts(d, three, kAtlasWidth, kAtlasHeight) && at.left == 560.0f &&
            at.top == 211.0f) {
            ++counted;
        }
    }
    EXPECT_EQ(counted, 1);
}

TEST_F(FieldMenuDraw, TheTitleConfirmationShowsItsPanel) {
    go_to(kFieldMenuTitle);
    tick_press({kKeyEnter});
    test::recorded_reset();
    test::draw_frame();
    EXPECT_EQ(test::count_atlas_draws(kConfirmTitle), 1);
    // Both the grid's label of entry 1 and the answers are drawn.
    EXPECT_EQ(test::count_atlas_draws(Rect{127, 1079, 167, 1097}), 1);
}

}  // namespace
}  // namespace tessaly
