#include "render/numbers.hpp"

#include <cstdio>

namespace tessaly {
namespace {

constexpr int kDigitValues = 10;

// The large 0 is one texel taller than the other large digits; the rows stand as drawn.
constexpr Rect kLargeDigits[kDigitValues] = {
    {1, 481, 18, 502},    {20, 481, 31, 501},   {33, 481, 49, 501},   {51, 481, 67, 501},
    {69, 481, 88, 501},   {90, 481, 106, 501},  {109, 481, 125, 501}, {127, 481, 144, 501},
    {146, 481, 163, 501}, {165, 481, 181, 501},
};

constexpr Rect kSmallDigits[kDigitValues] = {
    {368, 927, 378, 944}, {380, 927, 385, 944}, {387, 927, 397, 944}, {399, 927, 409, 944},
    {411, 927, 421, 944}, {423, 927, 433, 944}, {435, 927, 445, 944}, {447, 927, 457, 944},
    {459, 927, 469, 944}, {471, 927, 481, 944},
};

// Digit pitch: each glyph is followed by one pixel of space.
constexpr float kDigitGap = 1.0f;

}  // namespace

const Rect* digit_font_rects(DigitFont font) {
    return font == DigitFont::Large ? kLargeDigits : kSmallDigits;
}

int number_digits(int32_t n, int digits[kMaxDigits]) {
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d", static_cast<int>(n));
    int count = 1;
    if (n > 9) count = length;
    if (count > kMaxDigits) return 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[i];
        digits[i] = (c >= '0' && c <= '9') ? c - '0' : 0;
    }
    return count;
}

float number_draw(float x, float y, int32_t n, float scale, DigitFont font) {
    if (n < 0) return 0.0f;
    int digits[kMaxDigits];
    const int count = number_digits(n, digits);
    if (count == 0) return 0.0f;
    const Rect* glyphs = digit_font_rects(font);
    Texture* atlas = atlas_texture();
    float cursor = x, advance = 0.0f;
    for (int i = 0; i < count; ++i) {
        const Rect& g = glyphs[digits[i]];
        const float w = (g.right - g.left) * scale, h = (g.bottom - g.top) * scale;
        sprite_draw_rect(Rect{cursor, y, cursor + w, y + h}, g, kAtlasWidth, kAtlasHeight,
                         kColourOpaque, atlas);
        cursor += w + kDigitGap;
        advance += w + kDigitGap;
    }
    return advance;
}

float number_draw_large(float x, float y, int32_t n) {
    return number_draw(x, y, n, 1.0f, DigitFont::Large);
}

float number_draw_small(float x, float y, int32_t n) {
    return number_draw(x, y, n, 1.0f, DigitFont::Small);
}

}  // namespace tessaly
