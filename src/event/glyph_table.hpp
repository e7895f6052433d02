#pragma once
// The glyph table: message text is held as glyph numbers, each showing one character whose
// picture is a rectangle of the second texture. Generated from content/glyphs/glyphs.tsv.
#include <cstdint>

namespace tessaly {

constexpr int kGlyphCount = 337;
constexpr int kGlyphLast = 336;
// Ends a line of a message.
constexpr int kGlyphEndOfLine = 0;
// Numbers in messages: digit d is glyph kGlyphDigitZero + d.
constexpr int kGlyphDigitZero = 129;

struct GlyphEntry {
    int32_t number;
    int32_t code;                    // UTF-16 value of the character shown
    float left, top, right, bottom;  // texels of the second texture
};

// Entry n holds glyph number n; entry 0 draws nothing.
extern const GlyphEntry kGlyphTable[kGlyphCount];

// The character code of a glyph; 0 for numbers outside 1..336.
int32_t glyph_code(int number);
// The first glyph number that shows a character code; -1 if none does.
int glyph_from_code(int32_t code);

// UTF-8 text to glyph numbers, at most max of them. Returns the count, or -1 when the text is not
// valid UTF-8, holds a character without a glyph, or needs more than max numbers.
int glyphs_from_text(const char* utf8, int32_t* out, int max);
// Glyph numbers to zero-terminated UTF-8, stopping at count or at an end of line. Returns the
// bytes written before the terminator, or -1 when a number has no glyph or out (max bytes) is too
// small.
int glyphs_to_text(const int32_t* glyphs, int count, char* out, int max);

}  // namespace tessaly
