#include "render/glyph_line.hpp"

#include "event/glyph_table.hpp"
#include "render/sprites.hpp"

namespace tessaly {

float glyph_line_draw(float x, float top, const int32_t* line, int count) {
    if (count > kGlyphLineLength) count = kGlyphLineLength;
    for (int i = 0; i < count; ++i) {
        const int32_t g = line[i];
        if (g < 1 || g > kGlyphLast) continue;
        const GlyphEntry& e = kGlyphTable[g];
        const Rect source{e.left, e.top, e.right, e.bottom};
        const float w = e.right - e.left;
        const float h = e.bottom - e.top;
        second_draw(x, top + round_half_away((kGlyphLineBand - h) / 2.0f), source);
        x += w + kGlyphSpacing;
    }
    return x;
}

}  // namespace tessaly
