// Reads an X mesh's text exactly as the mesh library's parser moves through it (the same
// white space, comments, tokens, number forms and separators), so that each count and index
// checked here is the one the library acts on. Wherever following the library would be
// involved (special float spellings, references to unknown objects, skipped objects), the
// text is refused instead: our meshes never use them.
#include "platform/mesh_x_text.hpp"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace tessaly::platform {
namespace {

struct XText {
    const unsigned char* data;
    size_t end;
    size_t p;  // the parser's cursor
};

// The library reads one terminating zero past the text; nothing past that.
char char_at(const XText& x, size_t i) {
    return i < x.end ? static_cast<char>(x.data[i]) : '\0';
}

bool is_blank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_delimiter(char c) {
    return c == ';' || c == ',' || c == '{' || c == '}';
}

void line_skip(XText& x) {
    while (x.p < x.end) {
        const char c = char_at(x, x.p++);
        if (c == '\n' || c == '\r') return;
    }
}

// White space and comments; a comment starts only where a token or a number may start.
void blank_skip(XText& x) {
    for (;;) {
        while (x.p < x.end && is_blank(char_at(x, x.p))) ++x.p;
        if (x.p >= x.end) return;
        const char c = char_at(x, x.p);
        if (c == '#' || (c == '/' && char_at(x, x.p + 1) == '/')) {
            line_skip(x);
        } else {
            return;
        }
    }
}

// A delimiter alone, or a run of anything up to white space or a delimiter; empty at the end.
std::string_view token_next(XText& x) {
    blank_skip(x);
    const size_t start = x.p;
    while (x.p < x.end && !is_blank(char_at(x, x.p))) {
        if (is_delimiter(char_at(x, x.p))) {
            if (x.p == start) ++x.p;
            break;
        }
        ++x.p;
    }
    return {reinterpret_cast<const char*>(x.data) + start, x.p - start};
}

bool token_is(XText& x, std::string_view want) {
    return token_next(x) == want;
}

bool separator_read(XText& x) {
    const std::string_view t = token_next(x);
    return t == ";" || t == ",";
}

// An optional ';' or ',' after a vector or a face.
void separator_skip(XText& x) {
    blank_skip(x);
    if (x.p < x.end && (char_at(x, x.p) == ';' || char_at(x, x.p) == ',')) ++x.p;
}

// An object's opening: an optional name, then '{'.
bool head_read(XText& x) {
    if (token_next(x) == "{") return true;
    return token_is(x, "{");
}

// Counts and indices are never negative here (the library would read "-1" as about four
// billion) and have at most nine digits (it would wrap larger ones silently).
bool unsigned_read(XText& x, uint32_t& value) {
    blank_skip(x);
    value = 0;
    int digits = 0;
    while (is_digit(char_at(x, x.p))) {
        if (++digits > 9) return false;
        value = value * 10 + static_cast<uint32_t>(char_at(x, x.p++) - '0');
    }
    return digits > 0 && separator_read(x);
}

// A count of items that each take at least two bytes of what is left.
bool count_read(XText& x, uint32_t& count) {
    return unsigned_read(x, count) && count <= (x.end - x.p) / 2;
}

bool index_read(XText& x, uint32_t limit) {
    uint32_t index = 0;
    return unsigned_read(x, index) && index < limit;
}

// A decimal number as the library's reader takes it, including its comma as a decimal point
// when a digit follows.
bool float_read(XText& x) {
    blank_skip(x);
    size_t q = x.p;
    if (char_at(x, q) == '-' || char_at(x, q) == '+') ++q;
    const auto point = [&](size_t i) {
        return (char_at(x, i) == '.' || char_at(x, i) == ',') && is_digit(char_at(x, i + 1));
    };
    if (!is_digit(char_at(x, q)) && !point(q)) return false;  // also "nan", "inf", "1.#IND00"
    const auto digits_skip = [&]() {
        int n = 0;
        while (is_digit(char_at(x, q))) ++q, ++n;
        return n;
    };
    if (is_digit(char_at(x, q)) && digits_skip() > 18) return false;
    if (point(q)) {
        ++q;
        digits_skip();
    } else if (char_at(x, q) == '.') {
        ++q;
    }
    if (char_at(x, q) == '#') return false;  // the library's own spellings of not-a-number
    if (char_at(x, q) == 'e' || char_at(x, q) == 'E') {
        ++q;
        if (char_at(x, q) == '-' || char_at(x, q) == '+') ++q;
        const int n = digits_skip();
        if (n == 0 || n > 18) return false;
    }
    x.p = q;
    return separator_read(x);
}

bool floats_read(XText& x, int n) {
    for (int i = 0; i < n; ++i) {
        if (!float_read(x)) return false;
    }
    return true;
}

bool vector_read(XText& x, int n) {
    if (!floats_read(x, n)) return false;
    separator_skip(x);
    return true;
}

// A quoted name followed by ';'.
bool string_read(XText& x) {
    blank_skip(x);
    if (x.p >= x.end || char_at(x, x.p) != '"') return false;
    ++x.p;
    while (x.p < x.end && char_at(x, x.p) != '"') ++x.p;
    if (x.p + 1 >= x.end || char_at(x, x.p + 1) != ';') return false;
    x.p += 2;
    return true;
}

// Faces: a count, then per face its corner count and corners, each below limit. The corner
// counts are kept so that the normals' faces can be matched against them.
bool faces_read(XText& x, uint32_t limit, std::vector<uint32_t>* corners) {
    uint32_t faces = 0;
    if (!count_read(x, faces)) return false;
    for (uint32_t f = 0; f < faces; ++f) {
        uint32_t n = 0;
        if (!count_read(x, n)) return false;
        for (uint32_t i = 0; i < n; ++i) {
            if (!index_read(x, limit)) return false;
        }
        separator_skip(x);
        if (corners) corners->push_back(n);
    }
    return true;
}

bool material_read(XText& x) {
    if (!head_read(x) || !vector_read(x, 4) || !float_read(x) || !vector_read(x, 3) ||
        !vector_read(x, 3))
        return false;
    for (;;) {
        const std::string_view t = token_next(x);
        if (t == "}") return true;
        if (t != "TextureFilename" && t != "TextureFileName") return false;
        if (!head_read(x) || !string_read(x) || !token_is(x, "}")) return false;
    }
}

// Each face's material; a list that names no material, or one past those it holds, would
// make the library read a material that was never made.
bool material_list_read(XText& x, uint32_t faces) {
    uint32_t declared = 0, listed = 0;
    if (!head_read(x) || !unsigned_read(x, declared) || !count_read(x, listed)) return false;
    if (listed != faces && !(listed == 1 && faces > 0)) return false;
    uint32_t highest = 0;
    for (uint32_t i = 0; i < listed; ++i) {
        uint32_t index = 0;
        if (!unsigned_read(x, index)) return false;
        if (index > highest) highest = index;
    }
    if (x.p < x.end && char_at(x, x.p) == ';') ++x.p;
    uint32_t materials = 0;
    for (;;) {
        const std::string_view t = token_next(x);
        if (t == "}") break;
        if (t == ";") continue;
        if (t == "{") {
            // A reference to a material written at the top level.
            if (token_next(x).empty() || !token_is(x, "}")) return false;
        } else if (t != "Material" || !material_read(x)) {
            return false;
        }
        ++materials;
    }
    return listed == 0 || (materials > 0 && highest < materials);
}

bool normals_read(XText& x, const std::vector<uint32_t>& face_corners) {
    uint32_t normals = 0;
    if (!head_read(x) || !count_read(x, normals)) return false;
    for (uint32_t i = 0; i < normals; ++i) {
        if (!vector_read(x, 3)) return false;
    }
    std::vector<uint32_t> corners;
    return faces_read(x, normals, &corners) && corners == face_corners && token_is(x, "}");
}

bool per_vertex_read(XText& x, uint32_t vertices, bool colours) {
    uint32_t n = 0;
    if (!head_read(x) || !unsigned_read(x, n) || n != vertices) return false;
    for (uint32_t i = 0; i < n; ++i) {
        if (!colours) {
            if (!vector_read(x, 2)) return false;
            continue;
        }
        if (!index_read(x, vertices) || !vector_read(x, 4)) return false;
        blank_skip(x);
        if (char_at(x, x.p) == ';' || char_at(x, x.p) == ',') ++x.p;
    }
    return token_is(x, "}");
}

bool mesh_read(XText& x) {
    uint32_t vertices = 0;
    if (!head_read(x) || !count_read(x, vertices)) return false;
    for (uint32_t i = 0; i < vertices; ++i) {
        if (!vector_read(x, 3)) return false;
    }
    std::vector<uint32_t> corners;
    if (!faces_read(x, vertices, &corners)) return false;
    bool material_list = false;
    for (;;) {
        const std::string_view t = token_next(x);
        if (t == "}") return true;
        bool read = false;
        if (t == "MeshNormals") {
            read = normals_read(x, corners);
        } else if (t == "MeshTextureCoords") {
            read = per_vertex_read(x, vertices, false);
        } else if (t == "MeshVertexColors") {
            read = per_vertex_read(x, vertices, true);
        } else if (t == "MeshMaterialList" && !material_list) {
            // A second list would give faces that do not exist a material.
            material_list = true;
            read = material_list_read(x, static_cast<uint32_t>(corners.size()));
        }
        if (!read) return false;
    }
}

bool frame_read(XText& x, int depth) {
    if (depth > kMaxXFrameNesting || !head_read(x)) return false;
    for (;;) {
        const std::string_view t = token_next(x);
        if (t == "}") return true;
        bool read = false;
        if (t == "Frame") {
            read = frame_read(x, depth + 1);
        } else if (t == "FrameTransformMatrix") {
            read = head_read(x) && floats_read(x, 16) && token_is(x, ";") && token_is(x, "}");
        } else if (t == "Mesh") {
            read = mesh_read(x);
        }
        if (!read) return false;
    }
}

// A template's name, its identifier and its members up to the closing brace.
bool template_read(XText& x) {
    if (!head_read(x)) return false;
    token_next(x);
    for (;;) {
        const std::string_view t = token_next(x);
        if (t == "}") return true;
        if (t.empty()) return false;
    }
}

// The header object is skipped by the library brace by brace.
bool skipped_object_read(XText& x) {
    if (!head_read(x)) return false;
    for (int depth = 1; depth > 0;) {
        const std::string_view t = token_next(x);
        if (t.empty()) return false;
        if (t == "{") ++depth;
        if (t == "}") --depth;
    }
    return true;
}

}  // namespace

bool mesh_x_text_readable(const unsigned char* data, size_t size) {
    // Only the text form with its 16-byte header, which is what our meshes are; the rest of
    // the header's line is not read.
    if (!data || size < 16 || std::memcmp(data, "xof ", 4) != 0 ||
        std::memcmp(data + 8, "txt ", 4) != 0 ||
        (std::memcmp(data + 12, "0032", 4) != 0 && std::memcmp(data + 12, "0064", 4) != 0))
        return false;
    XText x{data, size, 16};
    line_skip(x);
    for (;;) {
        const std::string_view t = token_next(x);
        if (t.empty()) return true;
        bool read = false;
        if (t == "Frame") {
            read = frame_read(x, 1);
        } else if (t == "Mesh") {
            read = mesh_read(x);
        } else if (t == "Material") {
            read = material_read(x);
        } else if (t == "template") {
            read = template_read(x);
        } else if (t == "Header") {
            read = skipped_object_read(x);
        }
        if (!read) return false;
    }
}

}  // namespace tessaly::platform
