#include "scene/backdrop.hpp"

#include <gtest/gtest.h>

#include "render/textures.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

using Backdrop = test::RecordingFixture;

TEST_F(Backdrop, FillCoversTheScreenRowByRow) {
    backdrop_fill(kBackdropCell);
    const auto& draws = test::recorded();
    ASSERT_EQ(draws.size(), 300u);
    for (size_t k = 0; k < draws.size(); ++k) {
        EXPECT_TRUE(test::draw_cuts(draws[k], kBackdropCell, kAtlasWidth, kAtlasHeight));
        EXPECT_EQ(draws[k].texture, atlas_texture());
        EXPECT_FLOAT_EQ(test::recorded_dest(draws[k]).left, 32.0f * static_cast<float>(k % 20));
        EXPECT_FLOAT_EQ(test::recorded_dest(draws[k]).top, 32.0f * static_cast<float>(k / 20));
        EXPECT_TRUE(draws[k].depth_test);
    }
    // The last cell ends at the screen's bottom-right corner.
    EXPECT_FLOAT_EQ(draws.back().vertices[2].x + 0.5f, 640.0f);
    EXPECT_FLOAT_EQ(draws.back().vertices[2].y + 0.5f, 480.0f);
}

TEST_F(Backdrop, FlatFillDrawsWithoutDepthTestAndTurnsItBackOn) {
    backdrop_fill_flat(kBackdropCell);
    sprite_draw(0, 0, kBackdropCell, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas_texture());
    const auto& draws = test::recorded();
    ASSERT_EQ(draws.size(), 301u);
    for (size_t k = 0; k < 300; ++k) EXPECT_FALSE(draws[k].depth_test);
    EXPECT_TRUE(draws.back().depth_test);
}

}  // namespace
}  // namespace tessaly
