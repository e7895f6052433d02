#pragma once
// Numbers drawn digit by digit from the digit pictures of the atlas.
#include <cstdint>

#include "render/sprites.hpp"

namespace tessaly {

constexpr int kMaxDigits = 7;

enum class DigitFont { Large, Small };

// The digit rectangles of a font, 0..9.
const Rect* digit_font_rects(DigitFont font);
// Splits n into its decimal digits, most significant first; the count (1 for n <= 9), or 0
// for more than seven digits.
int number_digits(int32_t n, int digits[kMaxDigits]);
// Draws n at (x, y), top-left aligned, digits one pixel apart; returns the advance (0 for a
// negative n or one of more than seven digits, which draw nothing).
float number_draw(float x, float y, int32_t n, float scale, DigitFont font);
float number_draw_large(float x, float y, int32_t n);
float number_draw_small(float x, float y, int32_t n);

}  // namespace tessaly
