#include "scene/title.hpp"

#include <gtest/gtest.h>

#include "app/app.hpp"
#include "app/keys.hpp"
#include "scene/carousel.hpp"
#include "scene/instructions.hpp"
#include "scene/options.hpp"
#include "scene/quit_confirm.hpp"
#include "state/save_menu.hpp"
#include "support/recording.hpp"
#include "support/ticks.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;

Task* slot(int s) {
    return &task_pool()[s];
}
TitleRecord& title() {
    return task_record<TitleRecord>(slot(kSlotTitle));
}
int live_tasks() {
    int n = 0;
    for (int i = 0; i < kTaskSlots; ++i) n += task_pool()[i].in_use ? 1 : 0;
    return n;
}

struct TitleFixture : test::TickFixture {
    void SetUp() override {
        test::TickFixture::SetUp();
        ASSERT_EQ(title_open(), 1);
        tick();  // the first frame only installs the menu
    }
};

using TitleMenu = TitleFixture;

using TitleOpen = test::TickFixture;

TEST_F(TitleOpen, ReadsNoKeysOnItsFirstFrame) {
    ASSERT_EQ(title_open(), 1);
    tick_press({kKeyRight});
    EXPECT_EQ(title().column, 0);
    tick_press({kKeyRight});
    EXPECT_EQ(title().column, 1);
}

TEST_F(TitleMenu, ASecondTitleIsRefused) {
    EXPECT_EQ(title_open(), 0);
    EXPECT_EQ(title().step, &title_menu);
}

TEST_F(TitleMenu, TakenSlotRefusesTheTitle) {
    slot(kSlotTitle)->kind = 0;  // some other task holds the slot
    EXPECT_EQ(title_open(), 0);
}

TEST_F(TitleMenu, ColumnsAndRowsWrapAround) {
    tick_press({kKeyRight});
    EXPECT_EQ(title().column, 1);
    tick_press({kKeyRight});
    EXPECT_EQ(title().column, 0);
    tick_press({kKeyLeft});
    EXPECT_EQ(title().column, 1);
    tick_press({kKeyUp});
    EXPECT_EQ(title().row, 2);
    tick_press({kKeyDown});
    EXPECT_EQ(title().row, 0);
}

TEST_F(TitleMenu, SelectedIsAlwaysColumnPlusTwiceRow) {
    const int moves[] = {kKeyDown, kKeyRight, kKeyDown, kKeyLeft, kKeyUp,  kKeyUp,
                         kKeyUp,   kKeyRight, kKeyDown, kKeyDown, kKeyLeft};
    for (int k : moves) {
        tick_press({k});
        EXPECT_EQ(title().selected, title().column + 2 * title().row);
        EXPECT_GE(title().selected, 0);
        EXPECT_LT(title().selected, kTitleEntries);
    }
}

TEST_F(TitleMenu, OnlyTheFirstKeyInOrderCounts) {
    // Right comes before Down and confirm: the row stays and nothing is chosen.
    tick_press({kKeyDown, kKeyRight, kKeyEnter});
    EXPECT_EQ(title().column, 1);
    EXPECT_EQ(title().row, 0);
    EXPECT_EQ(slot(kSlotTitle)->in_use, 1);
    // Down comes before Up.
    tick_press({kKeyUp, kKeyDown});
    EXPECT_EQ(title().row, 1);
}

TEST_F(TitleMenu, ZWithEnterInOneFrameChoosesOnce) {
    tick_press({kKeyZ, kKeyEnter});
    EXPECT_EQ(slot(kSlotTitle)->in_use, 0);
    EXPECT_EQ(slot(kSlotSelectWheel)->in_use, 1);
    EXPECT_EQ(live_tasks(), 1);
}

TEST_F(TitleMenu, QuitEntryLeavesOnlyTheConfirmation) {
    tick_press({kKeyRight});
    tick_press({kKeyEnter});
    EXPECT_EQ(task_kind_exists(kKindTitle), 0);
    EXPECT_EQ(task_kind_exists(kKindQuitConfirm), 1);
    EXPECT_EQ(live_tasks(), 1);
}

TEST_F(TitleMenu, InstructionsEntryOpensPageZero) {
    tick_press({kKeyDown});
    tick_press({kKeyDown});
    tick_press({kKeyZ});
    ASSERT_EQ(task_kind_exists(kKindInstructions), 1);
    EXPECT_EQ(task_record<ManualRecord>(slot(kSlotInstructions)).page, 0);
    EXPECT_EQ(live_tasks(), 1);
}

TEST_F(TitleMenu, OptionsEntryOpensTheOptionsAlone) {
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    ASSERT_EQ(task_kind_exists(kKindOptions), 1);
    const OptionsRecord& o = task_record<OptionsRecord>(slot(kSlotOptions));
    EXPECT_EQ(o.caller, kOptionsFromTitle);
    EXPECT_EQ(o.panel_y, 100.0f);
    EXPECT_EQ(live_tasks(), 1);
}

TEST_F(TitleMenu, ModelViewerEntryOpensTheCarouselAlone) {
    tick_press({kKeyRight});
    tick_press({kKeyUp});
    tick_press({kKeyZ});
    ASSERT_EQ(task_kind_exists(kKindCarousel), 1);
    EXPECT_EQ(task_record<CarouselRecord>(slot(kSlotCarousel)).selected, 0);
    EXPECT_EQ(live_tasks(), 1);
}

TEST_F(TitleMenu, LoadEntryOpensTheLoadMenuAlone) {
    tick_press({kKeyRight});
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    ASSERT_EQ(task_kind_exists(kKindSaveMenu), 1);
    const SaveMenuRecord& m = task_record<SaveMenuRecord>(slot(kSlotSaveMenu));
    EXPECT_EQ(m.mode, kSaveMenuLoad);
    EXPECT_EQ(m.caller, kSaveCallerTitle);
    EXPECT_EQ(m.panel_y, 120.0f);
    EXPECT_EQ(live_tasks(), 1);
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

constexpr Rect kHighlight = {0, 568, 181, 596};
constexpr Rect kLoadLabel = {139, 627, 269, 653};

struct TitleDrawFixture : test::RecordingFixture {
    void SetUp() override {
        test::RecordingFixture::SetUp();
        ASSERT_EQ(title_open(), 1);
        tick();
    }
};

using TitleDraw = TitleDrawFixture;

TEST_F(TitleDraw, FullScreenPictureComesFirst) {
    test::draw_frame();
    ASSERT_FALSE(test::recorded().empty());
    const auto& first = test::recorded().front();
    EXPECT_TRUE(test::draw_cuts(first, Rect{642, 0, 1282, 480}, kAtlasWidth, kAtlasHeight));
    EXPECT_FLOAT_EQ(test::recorded_dest(first).left, 0.0f);
    EXPECT_FLOAT_EQ(test::recorded_dest(first).top, 0.0f);
}

TEST_F(TitleDraw, HighlightBarSitsUnderTheSelectedEntrysCentredLabel) {
    tick_press({kKeyRight});
    tick_press({kKeyDown});
    test::recorded_reset();
    test::draw_frame();
    EXPECT_EQ(test::count_atlas_draws(kHighlight), 1);
    const int bar = test::find_atlas_draw(kHighlight);
    const int label = test::find_atlas_draw(kLoadLabel);
    ASSERT_GE(bar, 0);
    ASSERT_GT(label, bar);
    const auto& b = test::recorded()[bar];
    EXPECT_FLOAT_EQ(test::recorded_dest(b).left, 321.0f);
    EXPECT_FLOAT_EQ(test::recorded_dest(b).top, 162.0f);
    // A 130-wide label centred in the 184-wide box.
    EXPECT_FLOAT_EQ(test::recorded_dest(test::recorded()[label]).left, 321.0f + 27.0f);
}

TEST_F(TitleDraw, EverySixLabelsAreDrawnWhateverIsSelected) {
    const Rect labels[] = {{1, 598, 136, 624},       {140, 598, 273, 624},
                           {1, 627, 136, 653},       {139, 627, 269, 653},
                           {1243, 1325, 1295, 1351}, {1234, 1355, 1313, 1380}};
    test::draw_frame();
    for (const Rect& l : labels) EXPECT_EQ(test::count_atlas_draws(l), 1);
}

}  // namespace
}  // namespace tessaly
