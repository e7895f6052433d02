#include "scene/backdrop.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gpu.hpp"
#include "render/textures.hpp"
#include "support/recording.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

using Backdrop = test::RecordingFixture;

TEST_F(Backdrop, FillCoversTheScreenRowByRow) {
    const test::ReferenceDrawing reference;
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

TEST_F(Backdrop, BatchedFillIsOneQuadRepeatingThePictureOfTheCell) {
    backdrop_fill(kBackdropCell);
    const auto& draws = test::recorded();
    ASSERT_EQ(draws.size(), 1u);
    Texture* picture = picture_texture(Picture::BackdropCell);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(draws[0].texture, picture);
    // The whole screen, the cell's 32 x 32 texels repeated 20 times across and 15 down.
    EXPECT_TRUE(test::draw_cuts(draws[0], Rect{0, 0, 640, 480}, 32, 32));
    const Rect dest = test::recorded_dest(draws[0]);
    EXPECT_FLOAT_EQ(dest.left, 0.0f);
    EXPECT_FLOAT_EQ(dest.top, 0.0f);
    EXPECT_FLOAT_EQ(dest.right, 640.0f);
    EXPECT_FLOAT_EQ(dest.bottom, 480.0f);
    // The picture holds the cell's texels, as the atlas has them.
    uint32_t cell[32 * 32], held[32 * 32];
    ASSERT_TRUE(platform::gpu_texture_read(atlas_texture(), static_cast<int>(kBackdropCell.left),
                                           static_cast<int>(kBackdropCell.top), 32, 32, cell));
    ASSERT_TRUE(platform::gpu_texture_read(picture, 0, 0, 32, 32, held));
    EXPECT_TRUE(std::equal(std::begin(cell), std::end(cell), std::begin(held)));
    // Made once: the next fill uses it again; another cell makes another.
    backdrop_fill(kBackdropCell);
    EXPECT_EQ(picture_texture(Picture::BackdropCell), picture);
    const Rect other = {0, 0, 32, 32};
    backdrop_fill(other);
    uint32_t other_cell[32 * 32];
    ASSERT_TRUE(platform::gpu_texture_read(atlas_texture(), 0, 0, 32, 32, other_cell));
    ASSERT_TRUE(
        platform::gpu_texture_read(picture_texture(Picture::BackdropCell), 0, 0, 32, 32, held));
    EXPECT_TRUE(std::equal(std::begin(other_cell), std::end(other_cell), std::begin(held)));
}

TEST_F(Backdrop, FlatFillDrawsWithoutDepthTestAndTurnsItBackOn) {
    for (const bool reference : {true, false}) {
        platform::gpu_reference_drawing(reference);
        test::recorded_reset();
        backdrop_fill_flat(kBackdropCell);
        sprite_draw(0, 0, kBackdropCell, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas_texture());
        const auto& draws = test::recorded();
        ASSERT_EQ(draws.size(), reference ? 301u : 2u);
        for (size_t k = 0; k + 1 < draws.size(); ++k) EXPECT_FALSE(draws[k].depth_test);
        EXPECT_TRUE(draws.back().depth_test);
    }
    platform::gpu_reference_drawing(false);
}

}  // namespace
}  // namespace tessaly
