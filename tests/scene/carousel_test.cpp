#include "scene/carousel.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "app/keys.hpp"
#include "field/board_helpers.hpp"
#include "platform/audio.hpp"
#include "render/textures.hpp"
#include "scene/title.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;
using test::ticks;

Task* slot(int s) {
    return &task_pool()[s];
}
CarouselRecord& ring() {
    return task_record<CarouselRecord>(slot(kSlotCarousel));
}
int live_tasks() {
    int n = 0;
    for (int i = 0; i < kTaskSlots; ++i) n += task_pool()[i].in_use ? 1 : 0;
    return n;
}

struct CarouselFixture : test::TickFixture {
    void SetUp() override {
        test::TickFixture::SetUp();
        ASSERT_EQ(carousel_open(), 1);
        tick();  // the first frame only installs the selection
    }
    // Presses the key and lets the ring turn until it rests again.
    void turn(int key) {
        tick_press({key});
        for (int i = 0; i < 40 && ring().step != &carousel_select; ++i) tick();
        ASSERT_EQ(ring().step, &carousel_select);
    }
};

using Carousel = CarouselFixture;

TEST_F(Carousel, OpensWithModelOneInFrontAndTheOthersSpacedAroundTheRing) {
    EXPECT_EQ(ring().count, 24);
    EXPECT_EQ(ring().turn_speed, 1.0f);
    EXPECT_EQ(ring().spacing, 15.0f);
    EXPECT_EQ(ring().angles[0], 270.0f);
    EXPECT_EQ(ring().angles[5], 345.0f);
    EXPECT_EQ(ring().angles[6], 0.0f);  // 360 is brought back to 0
    EXPECT_EQ(ring().angles[23], 255.0f);
}

TEST_F(Carousel, ATurnTakesFifteenFramesAndBringsTheNextModelToTheFront) {
    tick_press({kKeyRight});
    EXPECT_EQ(ring().selected, 1);
    EXPECT_EQ(ring().step, &carousel_turn_down);
    ticks(14);
    EXPECT_EQ(ring().step, &carousel_turn_down);
    tick();
    EXPECT_EQ(ring().step, &carousel_select);
    EXPECT_EQ(ring().angles[1], 270.0f);
    EXPECT_EQ(ring().angles[0], 255.0f);
}

TEST_F(Carousel, RightFromTheLastModelShowsTheFirstAndLeftFromTheFirstTheLast) {
    turn(kKeyLeft);
    EXPECT_EQ(ring().selected, 23);
    EXPECT_EQ(ring().angles[23], 270.0f);
    EXPECT_EQ(ring().angles[0], 285.0f);
    turn(kKeyRight);
    EXPECT_EQ(ring().selected, 0);
    EXPECT_EQ(ring().angles[0], 270.0f);
}

TEST_F(Carousel, EscWinsOverLeftAndLeftOverRight) {
    tick_press({kKeyRight, kKeyLeft});
    EXPECT_EQ(ring().selected, 23);
    EXPECT_EQ(ring().step, &carousel_turn_up);
    ticks(15);
    tick_press({kKeyLeft, kKeyEsc});
    EXPECT_EQ(task_kind_exists(kKindCarousel), 0);
}

TEST_F(Carousel, KeysWhileTheRingTurnsAreIgnored) {
    tick_press({kKeyRight});
    tick_press({kKeyRight});
    tick_press({kKeyEsc});
    EXPECT_EQ(ring().selected, 1);
    EXPECT_EQ(slot(kSlotCarousel)->in_use, 1);
    ticks(15);
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(ring().angles[i], std::fmod(270.0f + 15.0f * static_cast<float>(i + 23), 360.0f));
    }
}

TEST_F(Carousel, LeftAloneTheFrontModelSpinsAfterItsIdleCountFillsUp) {
    // 18 at opening: 82 more frames fill the count, the next one turns the model.
    ticks(82);
    EXPECT_EQ(ring().idle_frames, 100);
    EXPECT_EQ(ring().spin, 270.0f);
    tick();
    EXPECT_EQ(ring().idle_frames, 100);
    EXPECT_EQ(ring().spin, 271.0f);
    ticks(89);
    EXPECT_EQ(ring().spin, 360.0f);
    tick();
    EXPECT_EQ(ring().spin, 1.0f);
}

TEST_F(Carousel, AfterATurnTheSpinWaitsAFullHundredFrames) {
    ticks(100);
    ASSERT_GT(ring().spin, 270.0f);
    turn(kKeyRight);
    EXPECT_EQ(ring().spin, 270.0f);
    EXPECT_EQ(ring().idle_frames, 0);
    ticks(100);
    EXPECT_EQ(ring().spin, 270.0f);
    tick();
    EXPECT_EQ(ring().spin, 271.0f);
}

TEST_F(Carousel, TheSelectedModelStepsOutOneUnitAFrameAndThePreviousOneBack) {
    ticks(20);
    EXPECT_EQ(ring().distances[0], 25.0f);
    EXPECT_EQ(ring().distances[1], 10.0f);
    tick_press({kKeyRight});
    EXPECT_EQ(ring().distances[0], 24.0f);
    EXPECT_EQ(ring().distances[1], 11.0f);
    ticks(14);
    EXPECT_EQ(ring().distances[0], 10.0f);
    EXPECT_EQ(ring().distances[1], 25.0f);
}

TEST_F(Carousel, EscEnterAndZEachGoBackToAFreshTitleAlone) {
    for (int key : {kKeyEsc, kKeyEnter, kKeyZ}) {
        tick_press({key});
        EXPECT_EQ(task_kind_exists(kKindCarousel), 0) << key;
        ASSERT_EQ(task_kind_exists(kKindTitle), 1) << key;
        EXPECT_EQ(live_tasks(), 1);
        task_end_all();
        ASSERT_EQ(carousel_open(), 1);
        tick();
    }
}

struct CarouselSounds : test::SoundedBoardFixture {};

TEST_F(CarouselSounds, TurnsAndLeavingPlayTheirEffect) {
    ASSERT_EQ(carousel_open(), 1);
    tick();
    platform::audio_record_clear();
    tick_press({kKeyLeft});
    EXPECT_EQ(test::sounds_played(), "play 6");
    ticks(15);
    platform::audio_record_clear();
    tick_press({kKeyEsc});
    EXPECT_EQ(test::sounds_played(), "play 6");
}

struct CarouselDraw : test::RecordingFixture {
    void SetUp() override {
        test::RecordingFixture::SetUp();
        ASSERT_EQ(carousel_open(), 1);
        tick();
    }
};

constexpr Rect kHeading = {722, 1014, 926, 1039};
constexpr Rect kSlash = {186, 481, 198, 503};

TEST_F(CarouselDraw, EveryModelIsDrawnOverAFlatBackdropWithTheNumberBelow) {
    test::ticks(20);
    test::recorded_reset();
    test::draw_frame();
    std::set<const platform::GpuMesh*> meshes;
    int front = -1;
    for (size_t i = 0; i < test::recorded().size(); ++i) {
        const auto& d = test::recorded()[i];
        if (!d.mesh) continue;
        meshes.insert(d.mesh);
        EXPECT_TRUE(d.depth_test);
        if (d.mesh == mesh_record(0).mesh && front < 0) front = static_cast<int>(i);
    }
    EXPECT_EQ(meshes.size(), 24u);
    EXPECT_EQ(meshes.count(mesh_record(24).mesh), 0u);
    // Model 1 stands in front, stepped out to 25 units towards the viewer (-z).
    ASSERT_GE(front, 0);
    const auto& d = test::recorded()[front];
    EXPECT_NEAR(d.world[12], 0.0f, 0.1f);  // angles turn with 3.14, not pi
    EXPECT_NEAR(d.world[14], -25.0f, 0.01f);
    EXPECT_FALSE(test::recorded().front().depth_test);  // the backdrop
    const int heading = test::find_atlas_draw(kHeading);
    ASSERT_GE(heading, 0);
    EXPECT_FLOAT_EQ(test::recorded_dest(test::recorded()[heading]).left, 0.0f);
    const int slash = test::find_atlas_draw(kSlash);
    ASSERT_GE(slash, 0);
    EXPECT_FLOAT_EQ(test::recorded_dest(test::recorded()[slash]).left, 310.0f);
    EXPECT_FLOAT_EQ(test::recorded_dest(test::recorded()[slash]).top, 459.0f);
}

}  // namespace
}  // namespace tessaly
