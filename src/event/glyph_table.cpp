#include "event/glyph_table.hpp"

namespace tessaly {

int32_t glyph_code(int number) {
    if (number < 1 || number > kGlyphLast) return 0;
    return kGlyphTable[number].code;
}

int glyph_from_code(int32_t code) {
    for (const GlyphEntry& g : kGlyphTable) {
        if (g.code == code) return g.number;
    }
    return -1;
}

namespace {

// One character of UTF-8 text; false at a malformed sequence or a character beyond the
// 16-bit range, which no glyph can show.
bool utf8_next(const unsigned char*& p, int32_t& code) {
    const unsigned c = *p;
    if (c < 0x80) {
        code = static_cast<int32_t>(c);
        ++p;
        return true;
    }
    int extra = 0;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        code = static_cast<int32_t>(c & 0x1F);
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        code = static_cast<int32_t>(c & 0x0F);
    } else {
        return false;
    }
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return false;
        code = (code << 6) | static_cast<int32_t>(p[i] & 0x3F);
    }
    if ((extra == 1 && code < 0x80) || (extra == 2 && code < 0x800)) return false;
    p += extra + 1;
    return true;
}

}  // namespace

int glyphs_from_text(const char* utf8, int32_t* out, int max) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    int count = 0;
    while (*p != 0) {
        int32_t code = 0;
        if (!utf8_next(p, code)) return -1;
        const int number = glyph_from_code(code);
        if (number < 1 || count >= max) return -1;
        out[count++] = number;
    }
    return count;
}

int glyphs_to_text(const int32_t* glyphs, int count, char* out, int max) {
    int n = 0;
    for (int i = 0; i < count && glyphs[i] != kGlyphEndOfLine; ++i) {
        const int32_t code = glyph_code(glyphs[i]);
        if (code == 0) return -1;
        unsigned char bytes[3];
        int len = 0;
        if (code < 0x80) {
            bytes[len++] = static_cast<unsigned char>(code);
        } else if (code < 0x800) {
            bytes[len++] = static_cast<unsigned char>(0xC0 | (code >> 6));
            bytes[len++] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        } else {
            bytes[len++] = static_cast<unsigned char>(0xE0 | (code >> 12));
            bytes[len++] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
            bytes[len++] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        }
        // Room for the bytes and the terminator, or the text is refused whole.
        if (n + len + 1 > max) return -1;
        for (int k = 0; k < len; ++k) out[n++] = static_cast<char>(bytes[k]);
    }
    if (n + 1 > max) return -1;
    out[n] = 0;
    return n;
}

}  // namespace tessaly
