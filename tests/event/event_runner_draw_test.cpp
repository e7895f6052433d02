#include <gtest/gtest.h>

#include "app/task_pool.hpp"
#include "event/ending.hpp"
#include "event/event_runner.hpp"
#include "event/glyph_table.hpp"
#include "render/textures.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

using platform::RecordedDraw;
using test::draw_frame;
using test::find_atlas_draw;
using test::recorded;
using test::recorded_reset;

constexpr Rect kWindowInside = {2, 1150, 510, 1242};
constexpr Rect kHighlight = {1538, 1299, 2046, 1319};

float sprite_x(const RecordedDraw& d) {
    return d.vertices[0].x + 0.5f;
}
float sprite_y(const RecordedDraw& d) {
    return d.vertices[0].y + 0.5f;
}

// The runner's drawing from a record set by hand; no script runs.
class EventRunnerDraw : public test::RecordingFixture {
  protected:
    void SetUp() override {
        RecordingFixture::SetUp();
        ASSERT_EQ(event_start(nullptr, 1), 1);
        r_ = event_runner_find();
        recorded_reset();
    }
    int second_draws() const {
        int n = 0;
        for (const RecordedDraw& d : recorded()) n += d.texture == second_texture() ? 1 : 0;
        return n;
    }
    EventRunnerRecord* r_ = nullptr;
};

TEST_F(EventRunnerDraw, FreshEventDrawsNothing) {
    draw_frame();
    EXPECT_TRUE(recorded().empty());
}

TEST_F(EventRunnerDraw, PortraitStandsOnTheBottomEdge) {
    r_->portrait = 3;
    draw_frame();
    const int i = find_atlas_draw(kPortraits[3]);
    ASSERT_GE(i, 0);
    EXPECT_FLOAT_EQ(sprite_x(recorded()[i]), -4.0f);
    EXPECT_FLOAT_EQ(sprite_y(recorded()[i]), 480.0f - (1101.0f - 936.0f));
    recorded_reset();
    r_->portrait = 25;
    draw_frame();
    EXPECT_TRUE(recorded().empty());
}

TEST_F(EventRunnerDraw, WindowIsATranslucentPanel) {
    r_->window_shown = 1;
    draw_frame();
    const int i = find_atlas_draw(kWindowInside);
    ASSERT_GE(i, 0);
    EXPECT_EQ(recorded()[i].vertices[0].colour, kColourTranslucent);
    EXPECT_FLOAT_EQ(sprite_x(recorded()[i]), 126.0f);
    EXPECT_FLOAT_EQ(sprite_y(recorded()[i]), 386.0f);
}

TEST_F(EventRunnerDraw, TextShowsOnlyInTheMessageAndChoiceStates) {
    r_->window_shown = 1;
    r_->shown_lines[0][0] = 1;
    r_->shown_lines[0][1] = 2;
    r_->shown_lines[2][0] = 336;
    r_->state = &runner_run;
    draw_frame();
    EXPECT_EQ(second_draws(), 0);
    recorded_reset();
    r_->state = &runner_message;
    draw_frame();
    ASSERT_EQ(second_draws(), 3);
    EXPECT_EQ(find_atlas_draw(kHighlight), -1);
    // Glyph 1 is 17 wide and 17 high: it stands at 140, centred in its 20-pixel band.
    const RecordedDraw* glyphs[3] = {};
    int n = 0;
    for (const RecordedDraw& d : recorded()) {
        if (d.texture == second_texture()) glyphs[n++] = &d;
    }
    EXPECT_FLOAT_EQ(sprite_x(*glyphs[0]), 140.0f);
    EXPECT_FLOAT_EQ(sprite_y(*glyphs[0]), 392.0f + 2.0f);
    EXPECT_FLOAT_EQ(sprite_x(*glyphs[1]), 140.0f + 17.0f + 4.0f);
    EXPECT_FLOAT_EQ(sprite_y(*glyphs[2]), 392.0f + 56.0f + 1.0f);
}

TEST_F(EventRunnerDraw, ChoiceHighlightFollowsTheOption) {
    r_->window_shown = 1;
    r_->state = &runner_choice;
    draw_frame();
    int i = find_atlas_draw(kHighlight);
    ASSERT_GE(i, 0);
    EXPECT_FLOAT_EQ(sprite_x(recorded()[i]), 126.0f);
    EXPECT_FLOAT_EQ(sprite_y(recorded()[i]), 420.0f);
    EXPECT_EQ(recorded()[i].vertices[0].colour, 0x64FFFFFFu);
    recorded_reset();
    r_->choice = 1;
    draw_frame();
    i = find_atlas_draw(kHighlight);
    ASSERT_GE(i, 0);
    EXPECT_FLOAT_EQ(sprite_y(recorded()[i]), 448.0f);
}

TEST_F(EventRunnerDraw, EndPictureFadesWithItsAlpha) {
    ASSERT_EQ(end_picture_start(), 1);
    task_record<EndPictureRecord>(&task_pool()[kSlotEndPicture]).alpha = 100;
    draw_frame();
    ASSERT_FALSE(recorded().empty());
    const RecordedDraw& d = recorded().back();
    EXPECT_EQ(d.texture, second_texture());
    EXPECT_EQ(d.vertices[0].colour, 0x64FFFFFFu);
    EXPECT_FLOAT_EQ(sprite_x(d), 0.0f);
}

TEST_F(EventRunnerDraw, CreditsCentreTheirSpritesAndShowThePromptAtTheEnd) {
    ASSERT_EQ(credits_start(), 1);
    CreditsRecord& c = task_record<CreditsRecord>(&task_pool()[kSlotCredits]);
    c.sprites[2].active = 1;
    c.sprites[2].y = 300.0f;
    c.sprites[2].source = kCredits[8];
    task_pool()[kSlotEventRunner].in_use = 0;
    draw_frame();
    ASSERT_EQ(recorded().size(), 2u);
    const RecordedDraw& credit = recorded()[1];
    const float w = kCredits[8].right - kCredits[8].left;
    EXPECT_NEAR(sprite_x(credit), (640.0f - w) / 2.0f, 0.5f);
    EXPECT_FLOAT_EQ(sprite_y(credit), 300.0f);
    recorded_reset();
    c.step = &credits_prompt;
    draw_frame();
    ASSERT_EQ(recorded().size(), 3u);
    EXPECT_FLOAT_EQ(sprite_x(recorded()[2]), 560.0f);
    EXPECT_FLOAT_EQ(sprite_y(recorded()[2]), 450.0f);
}

}  // namespace
}  // namespace tessaly
