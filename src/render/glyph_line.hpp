#pragma once
// One line of message text: glyph numbers drawn from the second texture. The event window,
// its choices and the battle messages all draw their lines here.
#include <cstdint>

namespace tessaly {

// The most glyphs a line holds.
constexpr int kGlyphLineLength = 24;
// Each glyph is centred in a band this high below the line top.
constexpr float kGlyphLineBand = 20.0f;
// Space after each glyph.
constexpr float kGlyphSpacing = 4.0f;

// Draws the first count (at most 24) glyph numbers of line from x, the line's top at top. Each
// glyph of 1..336 stands at x rounded half away from zero and at top + the rounded
// (20 - height) / 2, opaque; x then advances by its width + 4. Other numbers, the end-of-line
// 0 among them, are skipped without moving x. Returns the x after the last glyph.
float glyph_line_draw(float x, float top, const int32_t* line, int count = kGlyphLineLength);

}  // namespace tessaly
