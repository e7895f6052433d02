#include "render/glyph_line.hpp"

#include <gtest/gtest.h>

#include "event/glyph_table.hpp"
#include "render/sprites.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

using test::recorded;
using test::recorded_dest;
using test::recorded_source;

struct GlyphLine : test::RecordingDevice {};

Rect glyph_rect(int g) {
    const GlyphEntry& e = kGlyphTable[g];
    return Rect{e.left, e.top, e.right, e.bottom};
}

float glyph_width(int g) {
    return kGlyphTable[g].right - kGlyphTable[g].left;
}

float glyph_height(int g) {
    return kGlyphTable[g].bottom - kGlyphTable[g].top;
}

float band_offset(int g) {
    return round_half_away((20.0f - glyph_height(g)) / 2.0f);
}

TEST_F(GlyphLine, GlyphsAdvanceByTheirWidthAndFourAndSitCentredInTheBand) {
    const int32_t line[3] = {1, 2, kGlyphLast};
    const float end = glyph_line_draw(140.0f, 392.0f, line, 3);
    ASSERT_EQ(recorded().size(), 3u);
    float x = 140.0f;
    for (int i = 0; i < 3; ++i) {
        const platform::RecordedDraw& d = recorded()[i];
        EXPECT_EQ(d.texture, second_texture()) << i;
        const Rect src = recorded_source(d, kSecondWidth, kSecondHeight);
        const Rect want = glyph_rect(line[i]);
        EXPECT_FLOAT_EQ(src.left, want.left) << i;
        EXPECT_FLOAT_EQ(src.bottom, want.bottom) << i;
        const Rect dest = recorded_dest(d);
        EXPECT_FLOAT_EQ(dest.left, x) << i;
        EXPECT_FLOAT_EQ(dest.top, 392.0f + band_offset(line[i])) << i;
        EXPECT_EQ(d.vertices[0].colour, kColourOpaque);
        x += glyph_width(line[i]) + 4.0f;
    }
    EXPECT_FLOAT_EQ(end, x);
}

TEST_F(GlyphLine, OddHeightsRoundTheirHalfPixelAwayFromZero) {
    // A glyph of odd height leaves half a pixel over, which goes down, never up.
    int odd = -1;
    for (int g = 1; g <= kGlyphLast && odd < 0; ++g) {
        if (static_cast<int>(glyph_height(g)) % 2 == 1 && glyph_height(g) < 20.0f) odd = g;
    }
    ASSERT_GT(odd, 0) << "the table holds a glyph of odd height";
    const int32_t line[1] = {odd};
    glyph_line_draw(0.0f, 100.0f, line, 1);
    ASSERT_EQ(recorded().size(), 1u);
    const float expected = 100.0f + (20.0f - glyph_height(odd) + 1.0f) / 2.0f;
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[0]).top, expected);
}

TEST_F(GlyphLine, FractionalStartIsRoundedEachTimeButAdvancesUnrounded) {
    const int32_t line[2] = {1, 1};
    glyph_line_draw(-0.5f, 0.0f, line, 2);
    ASSERT_EQ(recorded().size(), 2u);
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[0]).left, -1.0f);
    // The second glyph starts from the unrounded x: -0.5 + w + 4, rounded away from zero.
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[1]).left,
                    round_half_away(-0.5f + glyph_width(1) + 4.0f));
}

TEST_F(GlyphLine, NumbersOutsideTheTableAreSkippedWithoutMovingOn) {
    const int32_t line[6] = {0, -3, kGlyphLast + 1, 1000000, 2, 0};
    const float end = glyph_line_draw(50.0f, 10.0f, line, 6);
    ASSERT_EQ(recorded().size(), 1u);
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[0]).left, 50.0f);
    EXPECT_FLOAT_EQ(end, 50.0f + glyph_width(2) + 4.0f);
}

TEST_F(GlyphLine, ALineIsNeverLongerThanTwentyFourGlyphs) {
    int32_t line[30];
    for (int32_t& g : line) g = 1;
    glyph_line_draw(0.0f, 0.0f, line, 30);
    EXPECT_EQ(recorded().size(), 24u);
}

TEST_F(GlyphLine, AnEmptyLineDrawsNothing) {
    const int32_t line[kGlyphLineLength] = {};
    EXPECT_FLOAT_EQ(glyph_line_draw(140.0f, 0.0f, line), 140.0f);
    EXPECT_TRUE(recorded().empty());
}

}  // namespace
}  // namespace tessaly
