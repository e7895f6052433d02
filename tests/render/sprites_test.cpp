#include "render/sprites.hpp"

#include <gtest/gtest.h>

#include "platform/gpu.hpp"
#include "render/device.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

using test::recorded;
using test::recorded_dest;
using test::recorded_source;

struct Sprites : test::RecordingDevice {};

TEST_F(Sprites, DrawRoundsThePlaceAndMapsTheSourceToTexels) {
    sprite_draw(10.5f, 20.49f, Rect{0, 0, 32, 32}, kAtlasWidth, kAtlasHeight, kColourOpaque,
                atlas_texture());
    ASSERT_EQ(recorded().size(), 1u);
    const platform::RecordedDraw& d = recorded()[0];
    EXPECT_EQ(d.fvf, platform::kFvfScreen);
    EXPECT_EQ(d.texture, atlas_texture());
    EXPECT_EQ(d.triangles, 2);
    // Corners in fan order, half a pixel up and left of the whole-pixel destination.
    const float xs[4] = {10.5f, 42.5f, 42.5f, 10.5f}, ys[4] = {19.5f, 19.5f, 51.5f, 51.5f};
    const float us[4] = {0, 0.015625f, 0.015625f, 0}, vs[4] = {0, 0, 0.015625f, 0.015625f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(d.vertices[i].x, xs[i]) << i;
        EXPECT_FLOAT_EQ(d.vertices[i].y, ys[i]) << i;
        EXPECT_FLOAT_EQ(d.vertices[i].z, 0.0f);
        EXPECT_FLOAT_EQ(d.vertices[i].rhw, 1.0f);
        EXPECT_EQ(d.vertices[i].colour, kColourOpaque);
        EXPECT_FLOAT_EQ(d.vertices[i].u, us[i]) << i;
        EXPECT_FLOAT_EQ(d.vertices[i].v, vs[i]) << i;
    }
}

TEST_F(Sprites, EachSheetHasItsOwnCallWithItsSizeAndTexture) {
    const Rect source{100, 200, 132, 216};
    atlas_draw(3.5f, 4.0f, source);
    second_draw(3.5f, 4.0f, source, kColourTranslucent);
    const float x = atlas_draw_centered(source, 9.0f, 0xFF00FF00);
    ASSERT_EQ(recorded().size(), 3u);
    EXPECT_EQ(recorded()[0].texture, atlas_texture());
    EXPECT_EQ(recorded()[1].texture, second_texture());
    EXPECT_EQ(recorded()[2].texture, atlas_texture());
    // The same source cuts different texture coordinates from sheets of different sizes.
    const Rect a = recorded_source(recorded()[0], kAtlasWidth, kAtlasHeight);
    const Rect s = recorded_source(recorded()[1], kSecondWidth, kSecondHeight);
    EXPECT_FLOAT_EQ(a.left, 100.0f);
    EXPECT_FLOAT_EQ(s.left, 100.0f);
    EXPECT_FLOAT_EQ(a.bottom, 216.0f);
    EXPECT_FLOAT_EQ(s.bottom, 216.0f);
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[0]).left, 4.0f);
    EXPECT_EQ(recorded()[0].vertices[0].colour, kColourOpaque);
    EXPECT_EQ(recorded()[1].vertices[0].colour, kColourTranslucent);
    EXPECT_FLOAT_EQ(x, 304.0f);
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[2]).left, 304.0f);
    EXPECT_EQ(recorded()[2].vertices[0].colour, 0xFF00FF00u);
}

TEST_F(Sprites, RoundingIsHalfAwayFromZero) {
    EXPECT_EQ(round_half_away(2.5f), 3.0f);
    EXPECT_EQ(round_half_away(-2.5f), -3.0f);
    EXPECT_EQ(round_half_away(-0.4f), 0.0f);
    EXPECT_EQ(round_half_away(2.49f), 2.0f);
    sprite_draw(-2.5f, 0.0f, Rect{0, 0, 4, 4}, kAtlasWidth, kAtlasHeight, kColourOpaque, nullptr);
    EXPECT_FLOAT_EQ(recorded_dest(recorded().back()).left, -3.0f);
}

TEST_F(Sprites, UnroundedDrawKeepsTheFractionAndReturnsTheWidth) {
    const float w = sprite_draw_unrounded(10.25f, 3.75f, Rect{5, 5, 17, 9}, kSecondWidth,
                                          kSecondHeight, kColourOpaque, second_texture());
    EXPECT_FLOAT_EQ(w, 12.0f);
    const Rect dest = recorded_dest(recorded().back());
    EXPECT_FLOAT_EQ(dest.left, 10.25f);
    EXPECT_FLOAT_EQ(dest.top, 3.75f);
    EXPECT_FLOAT_EQ(dest.right, 22.25f);
    const Rect src = recorded_source(recorded().back(), kSecondWidth, kSecondHeight);
    EXPECT_FLOAT_EQ(src.left, 5.0f);
    EXPECT_FLOAT_EQ(src.bottom, 9.0f);
    EXPECT_EQ(recorded().back().texture, second_texture());
}

TEST_F(Sprites, CenteredDrawReturnsTheRoundedX) {
    // (640 - 141) / 2 = 249.5 rounds to 250.
    const float x = sprite_draw_centered(Rect{446, 781, 587, 808}, 300.0f, kAtlasWidth,
                                         kAtlasHeight, kColourOpaque, atlas_texture());
    EXPECT_EQ(x, 250.0f);
    EXPECT_FLOAT_EQ(center_x(141.0f), 249.5f);
    const Rect dest = recorded_dest(recorded().back());
    EXPECT_FLOAT_EQ(dest.left, 250.0f);
    EXPECT_FLOAT_EQ(dest.top, 300.0f);
}

TEST_F(Sprites, LargerDestinationStretchesAndReversedOneMirrors) {
    const Rect src{64, 32, 96, 48};
    sprite_draw_rect(Rect{0, 0, 64, 32}, src, kAtlasWidth, kAtlasHeight, kColourOpaque,
                     atlas_texture());
    sprite_draw_rect(Rect{100, 0, 68, 16}, src, kAtlasWidth, kAtlasHeight, kColourOpaque,
                     atlas_texture());
    ASSERT_EQ(recorded().size(), 2u);
    const Rect stretched = recorded_dest(recorded()[0]);
    EXPECT_FLOAT_EQ(stretched.right - stretched.left, 64.0f);
    EXPECT_FLOAT_EQ(stretched.bottom - stretched.top, 32.0f);
    // Mirrored: the source's left edge lies on the right of the screen.
    const platform::RecordedDraw& m = recorded()[1];
    EXPECT_GT(m.vertices[0].x, m.vertices[1].x);
    EXPECT_FLOAT_EQ(m.vertices[0].u, 64.0f / kAtlasWidth);
    EXPECT_FLOAT_EQ(m.vertices[1].u, 96.0f / kAtlasWidth);
}

TEST_F(Sprites, ColourGoesToEveryCorner) {
    sprite_draw(0, 0, Rect{0, 0, 8, 8}, kAtlasWidth, kAtlasHeight, 0x80FFFFFF, atlas_texture());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(recorded().back().vertices[i].colour, 0x80FFFFFFu);
}

TEST_F(Sprites, SpritesAreDepthTestedBlendedAndUnlit) {
    sprite_draw(0, 0, Rect{0, 0, 8, 8}, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas_texture());
    const platform::RecordedDraw& d = recorded().back();
    EXPECT_TRUE(d.depth_test);
    EXPECT_TRUE(d.alpha_blend);
    EXPECT_FALSE(d.lighting);
}

TEST_F(Sprites, PanelIsFivePiecesWithATintedInside) {
    panel_draw(40.0f, 0.0f, Rect{1060, 1226, 1260, 1253}, kColourTranslucent);
    ASSERT_EQ(recorded().size(), 5u);
    struct Piece {
        Rect dest, src;
        uint32_t colour;
    };
    const Piece want[5] = {
        {{40, 0, 240, 2}, {1060, 1226, 1260, 1228}, kColourOpaque},
        {{40, 25, 240, 27}, {1060, 1251, 1260, 1253}, kColourOpaque},
        {{40, 0, 42, 27}, {1060, 1226, 1062, 1253}, kColourOpaque},
        {{238, 0, 240, 27}, {1258, 1226, 1260, 1253}, kColourOpaque},
        {{42, 2, 238, 25}, {1062, 1228, 1258, 1251}, kColourTranslucent},
    };
    for (int i = 0; i < 5; ++i) {
        const Rect d = recorded_dest(recorded()[i]);
        const Rect s = recorded_source(recorded()[i], kAtlasWidth, kAtlasHeight);
        EXPECT_FLOAT_EQ(d.left, want[i].dest.left) << i;
        EXPECT_FLOAT_EQ(d.top, want[i].dest.top) << i;
        EXPECT_FLOAT_EQ(d.right, want[i].dest.right) << i;
        EXPECT_FLOAT_EQ(d.bottom, want[i].dest.bottom) << i;
        EXPECT_NEAR(s.left, want[i].src.left, 1e-3) << i;
        EXPECT_NEAR(s.top, want[i].src.top, 1e-3) << i;
        EXPECT_NEAR(s.right, want[i].src.right, 1e-3) << i;
        EXPECT_NEAR(s.bottom, want[i].src.bottom, 1e-3) << i;
        EXPECT_EQ(recorded()[i].vertices[0].colour, want[i].colour) << i;
        EXPECT_EQ(recorded()[i].texture, atlas_texture());
    }
}

TEST(SpritesWithoutDevice, DrawNothingAndDoNotFail) {
    ASSERT_FALSE(graphics_ready());
    Rect r;
    rect_set(r, 1, 2, 3, 4);
    EXPECT_EQ(r.left, 1.0f);
    EXPECT_EQ(r.bottom, 4.0f);
    sprite_draw(0, 0, r, kAtlasWidth, kAtlasHeight, kColourOpaque, nullptr);
    EXPECT_EQ(sprite_draw_centered(r, 0, kAtlasWidth, kAtlasHeight, kColourOpaque, nullptr),
              319.0f);
    panel_draw(0, 0, Rect{0, 0, 10, 10}, kColourOpaque);
}

}  // namespace
}  // namespace tessaly
