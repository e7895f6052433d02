#include "render/numbers.hpp"

#include <gtest/gtest.h>

#include "support/render_support.hpp"

namespace tessaly {
namespace {

using test::recorded;
using test::recorded_dest;
using test::recorded_source;

struct Numbers : test::RecordingDevice {};

TEST(NumberDigits, SplitsMostSignificantFirst) {
    int d[kMaxDigits] = {};
    ASSERT_EQ(number_digits(4096, d), 4);
    EXPECT_EQ(d[0], 4);
    EXPECT_EQ(d[1], 0);
    EXPECT_EQ(d[2], 9);
    EXPECT_EQ(d[3], 6);
    EXPECT_EQ(number_digits(0, d), 1);
    EXPECT_EQ(d[0], 0);
    EXPECT_EQ(number_digits(9999999, d), 7);
    EXPECT_EQ(number_digits(10000000, d), 0);
}

TEST_F(Numbers, ZeroDrawsOneGlyphAndAdvancesItsWidthAndAPixel) {
    EXPECT_FLOAT_EQ(number_draw_large(5, 7, 0), 18.0f);
    ASSERT_EQ(recorded().size(), 1u);
    const Rect src = recorded_source(recorded()[0], kAtlasWidth, kAtlasHeight);
    EXPECT_NEAR(src.left, 1.0f, 1e-3);
    EXPECT_NEAR(src.top, 481.0f, 1e-3);
    EXPECT_NEAR(src.bottom, 502.0f, 1e-3);
    EXPECT_EQ(recorded()[0].texture, atlas_texture());
}

TEST_F(Numbers, SmallOneAdvancesSixAndOtherSmallDigitsEleven) {
    EXPECT_FLOAT_EQ(number_draw_small(0, 0, 1), 6.0f);
    for (int digit : {0, 2, 3, 4, 5, 6, 7, 8, 9}) {
        EXPECT_FLOAT_EQ(number_draw_small(0, 0, digit), 11.0f) << digit;
    }
}

TEST_F(Numbers, DigitsFollowOnePixelApartWithoutRounding) {
    const float advance = number_draw_large(10.25f, 3.5f, 120);
    ASSERT_EQ(recorded().size(), 3u);
    // 1 is 11 wide, 2 is 16 wide, 0 is 17 wide.
    EXPECT_FLOAT_EQ(advance, 12.0f + 17.0f + 18.0f);
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[0]).left, 10.25f);
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[0]).top, 3.5f);
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[1]).left, 22.25f);
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[2]).left, 39.25f);
    EXPECT_FLOAT_EQ(recorded_dest(recorded()[2]).bottom, 3.5f + 21.0f);
}

TEST_F(Numbers, ScaleStretchesEveryGlyph) {
    EXPECT_FLOAT_EQ(number_draw(0, 0, 7, 2.0f, DigitFont::Large), 35.0f);
    const Rect d = recorded_dest(recorded()[0]);
    EXPECT_FLOAT_EQ(d.right - d.left, 34.0f);
    EXPECT_FLOAT_EQ(d.bottom - d.top, 40.0f);
}

TEST_F(Numbers, SevenDigitsDrawAndEightOrNegativeDrawNothing) {
    number_draw_large(0, 0, 9999999);
    EXPECT_EQ(recorded().size(), 7u);
    EXPECT_FLOAT_EQ(number_draw_large(0, 0, 10000000), 0.0f);
    EXPECT_FLOAT_EQ(number_draw_small(0, 0, -1), 0.0f);
    EXPECT_EQ(recorded().size(), 7u);
}

}  // namespace
}  // namespace tessaly
