// Which fans may be drawn with blending off: opaque texels under every sampled point and
// full alpha at every vertex; and the screen area they cover.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/texel_cover.hpp"

namespace tessaly::platform {
namespace {

constexpr uint32_t kOpaque = 0xFF336699u;
constexpr uint32_t kClear = 0x00000000u;

Image image_filled(int width, int height, uint32_t argb) {
    Image image;
    image.width = width;
    image.height = height;
    image.argb.assign(static_cast<size_t>(width) * height, argb);
    return image;
}

GpuTexture texture_of(const Image& image, bool keep_bits = true) {
    GpuTexture t{image.width, image.height, 0, {}, -1, true, {}};
    see_through_find(t, image, keep_bits);
    return t;
}

// A texture of size w x h read between texels [x0, x1) x [y0, y1).
bool rect_opaque(const GpuTexture& t, float x0, float y0, float x1, float y1) {
    const float w = static_cast<float>(t.width), h = static_cast<float>(t.height);
    return texels_opaque(t, x0 / w, y0 / h, x1 / w, y1 / h);
}

TEST(TexelCover, SeeThroughBitsAcrossWordBoundaries) {
    Image image = image_filled(130, 3, kOpaque);
    image.argb[1 * 130 + 129] = 0xFE000000u;  // alpha 254 still lets something through
    image.argb[2 * 130 + 64] = kClear;
    const GpuTexture t = texture_of(image);
    EXPECT_TRUE(t.any_see_through);
    ASSERT_EQ(t.see_through.size(), 9u);  // three words a row
    EXPECT_EQ(t.see_through[1 * 3 + 2], uint64_t{1} << 1);
    EXPECT_EQ(t.see_through[2 * 3 + 1], uint64_t{1});
    EXPECT_EQ(t.see_through[0] | t.see_through[1] | t.see_through[2], 0u);

    const GpuTexture summary = texture_of(image, false);
    EXPECT_TRUE(summary.any_see_through);
    EXPECT_TRUE(summary.see_through.empty());

    const GpuTexture solid = texture_of(image_filled(130, 3, kOpaque));
    EXPECT_FALSE(solid.any_see_through);
    EXPECT_TRUE(solid.see_through.empty());
}

TEST(TexelCover, ARectIsOpaqueOnlyIfEveryTexelItCoversIs) {
    // An opaque 8 x 8 block framed by clear texels, as a sprite sits in a sheet.
    Image image = image_filled(16, 16, kClear);
    for (int y = 4; y < 12; ++y) {
        for (int x = 4; x < 12; ++x) image.argb[y * 16 + x] = kOpaque;
    }
    const GpuTexture t = texture_of(image);
    EXPECT_TRUE(rect_opaque(t, 4, 4, 12, 12));
    EXPECT_TRUE(rect_opaque(t, 5, 6, 7, 8));
    EXPECT_FALSE(rect_opaque(t, 3, 4, 12, 12));
    EXPECT_FALSE(rect_opaque(t, 4, 4, 13, 12));
    EXPECT_FALSE(rect_opaque(t, 4, 4, 12, 12.5f));
    // A texel only touched at the fan's edge is never sampled; a sliver more of it is.
    EXPECT_TRUE(rect_opaque(t, 4.001f, 4, 11.999f, 12));
    EXPECT_FALSE(rect_opaque(t, 3.9f, 4, 12, 12));
    // Coordinates outside 0..1 wrap round to the clear frame.
    EXPECT_FALSE(texels_opaque(t, -0.5f, 0.25f, 0.5f, 0.5f));
    EXPECT_FALSE(texels_opaque(t, 0.25f, 0.25f, 0.5f, 1.5f));
    EXPECT_FALSE(texels_opaque(t, NAN, 0.25f, 0.5f, 0.5f));
}

TEST(TexelCover, WholeTexturesAnswerWithoutBits) {
    const GpuTexture solid = texture_of(image_filled(64, 64, kOpaque), false);
    EXPECT_TRUE(texels_opaque(solid, -3.0f, -1.0f, 7.5f, 2.0f));  // any wrap reads opaque texels
    Image image = image_filled(64, 64, kOpaque);
    image.argb[100] = kClear;
    const GpuTexture tile = texture_of(image, false);
    EXPECT_FALSE(texels_opaque(tile, 0.5f, 0.5f, 0.6f, 0.6f));  // no bits to tell where
}

TEST(TexelCover, WordBoundaryColumns) {
    Image image = image_filled(200, 2, kOpaque);
    image.argb[64] = kClear;
    image.argb[200 + 127] = kClear;
    const GpuTexture t = texture_of(image);
    EXPECT_TRUE(rect_opaque(t, 0, 0, 64, 2));
    EXPECT_FALSE(rect_opaque(t, 0, 0, 65, 1));
    EXPECT_TRUE(rect_opaque(t, 65, 0, 127, 2));
    EXPECT_FALSE(rect_opaque(t, 65, 1, 128, 2));
    EXPECT_TRUE(rect_opaque(t, 128, 0, 200, 2));
}

struct Quad {
    ScreenVertex v[4];
};

Quad screen_quad(float x, float y, float w, float h, uint32_t colour) {
    return {{{x, y, 0, 1, colour, 0.25f, 0.25f},
             {x + w, y, 0, 1, colour, 0.75f, 0.25f},
             {x + w, y + h, 0, 1, colour, 0.75f, 0.75f},
             {x, y + h, 0, 1, colour, 0.25f, 0.75f}}};
}

GpuDrawState state_with(GpuTexture* texture, uint32_t fvf = kFvfScreen) {
    GpuDrawState s{};
    s.fvf = fvf;
    s.texture = texture;
    s.alpha_blend = true;
    return s;
}

FanCover cover_of(const GpuDrawState& s, const Quad& q) {
    return fan_cover(s, q.v, 4, sizeof(ScreenVertex));
}

TEST(TexelCover, FansByAlphaAndTexels) {
    GpuTexture solid = texture_of(image_filled(16, 16, kOpaque));
    const GpuDrawState s = state_with(&solid);
    const FanCover whole = cover_of(s, screen_quad(0, 0, 640, 480, 0xFFFFFFFFu));
    EXPECT_TRUE(whole.opaque);
    EXPECT_FLOAT_EQ(whole.area, 640.0f * 480.0f);
    const FanCover tinted = cover_of(s, screen_quad(10, 10, 20, 30, 0xFF808080u));
    EXPECT_TRUE(tinted.opaque);
    EXPECT_FLOAT_EQ(tinted.area, 600.0f);
    Quad faded = screen_quad(0, 0, 640, 480, 0xFFFFFFFFu);
    faded.v[2].colour = 0xFEFFFFFFu;
    EXPECT_FALSE(cover_of(s, faded).opaque);
    Quad broken = screen_quad(0, 0, 640, 480, 0xFFFFFFFFu);
    broken.v[1].u = NAN;
    EXPECT_FALSE(cover_of(s, broken).opaque);
    // No texture: the colours alone decide.
    EXPECT_TRUE(cover_of(state_with(nullptr), screen_quad(0, 0, 300, 300, 0xFF000000u)).opaque);
    EXPECT_FALSE(cover_of(state_with(nullptr), screen_quad(0, 0, 300, 300, 0x80000000u)).opaque);
}

TEST(TexelCover, SeeThroughTexelsLitMaterialsAndWorldQuads) {
    Image image = image_filled(16, 16, kOpaque);
    image.argb[8 * 16 + 8] = kClear;  // inside the quads' texel rect (4..12)
    GpuTexture holed = texture_of(image);
    EXPECT_FALSE(cover_of(state_with(&holed), screen_quad(0, 0, 640, 480, 0xFFFFFFFFu)).opaque);

    GpuTexture solid = texture_of(image_filled(16, 16, kOpaque));
    GpuDrawState lit = state_with(&solid);
    lit.lighting = true;
    lit.material.diffuse.a = 0.5f;
    // A lit fan takes the material's alpha, whatever the vertices say.
    EXPECT_FALSE(cover_of(lit, screen_quad(0, 0, 640, 480, 0x00FFFFFFu)).opaque);
    lit.material.diffuse.a = 1.0f;
    EXPECT_TRUE(cover_of(lit, screen_quad(0, 0, 640, 480, 0x00FFFFFFu)).opaque);

    // Map quads come in world coordinates, many at a time: their area counts as unbounded.
    const WorldVertex world[4] = {{0, 0, 0, 0xFFFFFFFFu, 0.3f, 0.3f},
                                  {1, 0, 0, 0xFFFFFFFFu, 0.6f, 0.3f},
                                  {1, 0, 1, 0xFFFFFFFFu, 0.6f, 0.6f},
                                  {0, 0, 1, 0xFFFFFFFFu, 0.3f, 0.6f}};
    const FanCover map = fan_cover(state_with(&solid, kFvfTextured), world, 4, sizeof(WorldVertex));
    EXPECT_TRUE(map.opaque);
    EXPECT_TRUE(std::isinf(map.area));
}

}  // namespace
}  // namespace tessaly::platform
