#include "scene/instructions.hpp"

#include <gtest/gtest.h>

#include "app/keys.hpp"
#include "render/textures.hpp"
#include "scene/title.hpp"
#include "support/recording.hpp"
#include "support/ticks.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;

ManualRecord& manual() {
    return task_record<ManualRecord>(&task_pool()[kSlotInstructions]);
}

struct ManualFixture : test::TickFixture {
    void SetUp() override {
        test::TickFixture::SetUp();
        ASSERT_EQ(manual_open(), 1);
        tick();
    }
};

using Instructions = ManualFixture;

TEST_F(Instructions, ATakenSlotIsRefused) {
    EXPECT_EQ(manual_open(), 0);
}

TEST_F(Instructions, LeftOnPageZeroShowsPageOne) {
    EXPECT_EQ(manual().page, 0);
    tick_press({kKeyLeft});
    EXPECT_EQ(manual().page, 1);
    tick_press({kKeyRight});
    EXPECT_EQ(manual().page, 0);
    tick_press({kKeyRight});
    EXPECT_EQ(manual().page, 1);
}

TEST_F(Instructions, ConfirmReturnsToAFreshTitleFromEitherPage) {
    tick_press({kKeyRight});
    tick_press({kKeyEnter});
    EXPECT_EQ(task_pool()[kSlotInstructions].in_use, 0);
    ASSERT_EQ(task_kind_exists(kKindTitle), 1);
    EXPECT_EQ(task_record<TitleRecord>(task_find_kind(kKindTitle)).step, &title_first_frame);
}

TEST_F(Instructions, EscIsNotRead) {
    tick_press({kKeyEsc});
    EXPECT_EQ(task_pool()[kSlotInstructions].in_use, 1);
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

struct ManualDrawFixture : test::RecordingFixture {
    void SetUp() override {
        test::RecordingFixture::SetUp();
        ASSERT_EQ(manual_open(), 1);
        tick();
    }
};

using InstructionsDraw = ManualDrawFixture;

TEST_F(InstructionsDraw, PagesComeFromTheSecondSheet) {
    const Rect pages[] = {{0, 513, 640, 993}, {0, 995, 640, 1475}};
    for (int p = 0; p < 2; ++p) {
        test::recorded_reset();
        test::draw_frame();
        const auto& first = test::recorded().at(0);
        EXPECT_EQ(first.texture, second_texture());
        EXPECT_TRUE(test::draw_cuts(first, pages[p], kSecondWidth, kSecondHeight)) << p;
        EXPECT_EQ(test::recorded().size(), 3u);
        tick_press({kKeyLeft});
    }
}

}  // namespace
}  // namespace tessaly
