#include "scene/quit_confirm.hpp"

#include <gtest/gtest.h>

#include "app/app.hpp"
#include "app/keys.hpp"
#include "scene/backdrop.hpp"
#include "scene/title.hpp"
#include "support/recording.hpp"
#include "support/render_support.hpp"
#include "support/ticks.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;

Task* confirm_task() {
    return &task_pool()[kSlotQuitConfirm];
}
QuitConfirmRecord& confirm() {
    return task_record<QuitConfirmRecord>(confirm_task());
}

struct QuitFixture : test::TickFixture {
    void SetUp() override {
        test::TickFixture::SetUp();
        ASSERT_EQ(quit_confirm_open(), 1);
        tick();
    }
};

using QuitConfirm = QuitFixture;
using QuitConfirmOpen = test::TickFixture;

TEST_F(QuitConfirmOpen, ReadsNoKeysOnItsFirstFrame) {
    ASSERT_EQ(quit_confirm_open(), 1);
    tick_press({kKeyEnter});
    EXPECT_EQ(confirm_task()->in_use, 1);
    EXPECT_EQ(confirm_task()->update_fn, &quit_confirm_update);
}

TEST_F(QuitConfirm, ASecondConfirmationIsRefused) {
    EXPECT_EQ(quit_confirm_open(), 0);
}

TEST_F(QuitConfirm, ChoicesAreCentredOneBelowTheOther) {
    for (int i = 0; i < kQuitChoices; ++i) {
        const QuitChoice& c = confirm().choices[i];
        EXPECT_FLOAT_EQ(c.x + c.width / 2, 320.0f);
        EXPECT_FLOAT_EQ(c.width, c.source.right - c.source.left);
        EXPECT_FLOAT_EQ(c.height, c.source.bottom - c.source.top);
    }
    EXPECT_FLOAT_EQ(confirm().choices[1].y - confirm().choices[0].y, 30.0f);
}

TEST_F(QuitConfirm, UpAndDownWrapBetweenTheTwoChoices) {
    EXPECT_EQ(confirm().cursor, 0);
    tick_press({kKeyUp});
    EXPECT_EQ(confirm().cursor, 1);
    tick_press({kKeyDown});
    EXPECT_EQ(confirm().cursor, 0);
    tick_press({kKeyDown});
    EXPECT_EQ(confirm().cursor, 1);
}

TEST_F(QuitConfirm, FirstChoiceReturnsToAFreshTitle) {
    tick_press({kKeyZ});
    EXPECT_EQ(g_running, 1);
    EXPECT_EQ(confirm_task()->in_use, 0);
    ASSERT_EQ(task_kind_exists(kKindTitle), 1);
    const TitleRecord& t = task_record<TitleRecord>(task_find_kind(kKindTitle));
    EXPECT_EQ(t.selected, 0);
    EXPECT_EQ(t.step, &title_first_frame);
}

TEST_F(QuitConfirm, SecondChoiceEndsTheProgramAndEveryTask) {
    tick_press({kKeyDown});
    EXPECT_EQ(g_running, 1);
    tick_press({kKeyEnter});
    EXPECT_EQ(g_running, 0);
    for (int i = 0; i < kTaskSlots; ++i) EXPECT_EQ(task_pool()[i].in_use, 0) << "slot " << i;
}

TEST_F(QuitConfirm, EscDoesNothing) {
    tick_press({kKeyEsc});
    EXPECT_EQ(confirm_task()->in_use, 1);
    EXPECT_EQ(g_running, 1);
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

struct QuitDrawFixture : test::RecordingFixture {
    void SetUp() override {
        test::RecordingFixture::SetUp();
        ASSERT_EQ(quit_confirm_open(), 1);
        tick();
    }
};

using QuitConfirmDraw = QuitDrawFixture;

TEST_F(QuitConfirmDraw, BackdropThenWindowAndTheCursorBesideItsChoice) {
    const test::ReferenceDrawing reference;  // the backdrop a quad a cell
    const Rect cursor = {818, 883, 829, 904};
    tick_press({kKeyDown});
    test::draw_frame();
    const auto& draws = test::recorded();
    ASSERT_GT(draws.size(), 300u);
    EXPECT_TRUE(test::draw_cuts(draws[0], kBackdropCell, kAtlasWidth, kAtlasHeight));
    const int c = test::find_atlas_draw(cursor);
    ASSERT_GE(c, 0);
    EXPECT_FLOAT_EQ(test::recorded_dest(draws[c]).left, 270.0f);
    EXPECT_FLOAT_EQ(test::recorded_dest(draws[c]).top, confirm().choices[1].y);
    // Each choice is stretched onto its own box.
    for (const QuitChoice& q : confirm().choices) {
        const int i = test::find_atlas_draw(q.source);
        ASSERT_GE(i, 0);
        EXPECT_FLOAT_EQ(test::recorded_dest(draws[i]).left, q.x);
        EXPECT_FLOAT_EQ(test::recorded_dest(draws[i]).top, q.y);
    }
}

}  // namespace
}  // namespace tessaly
