#include "platform/texel_cover.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessaly::platform {

// Coordinates outside 0..1 wrap, and then the whole texture counts.
bool texels_opaque(const GpuTexture& t, float u0, float v0, float u1, float v1) {
    if (!t.any_see_through) return true;
    if (t.see_through.empty() || !(u0 >= 0.0f && v0 >= 0.0f && u1 <= 1.0f && v1 <= 1.0f)) {
        return false;
    }
    // A fragment samples inside the fan, never on its edge: a margin of a small part of a
    // texel keeps the texels that only touch the edge out, and rounding errors in.
    constexpr float kEdge = 1.0f / 128.0f;
    const auto first = [](float c, int size) {
        return std::clamp(static_cast<int>(std::floor(c * static_cast<float>(size) + kEdge)), 0,
                          size - 1);
    };
    const auto last = [](float c, int size, int from) {
        const int i = static_cast<int>(std::ceil(c * static_cast<float>(size) - kEdge)) - 1;
        return std::clamp(i, from, size - 1);
    };
    const int x0 = first(u0, t.width), x1 = last(u1, t.width, x0);
    const int y0 = first(v0, t.height), y1 = last(v1, t.height, y0);
    const int words = (t.width + 63) / 64;
    const int w0 = x0 / 64, w1 = x1 / 64;
    const uint64_t head = ~uint64_t{0} << (x0 % 64);
    const uint64_t tail = ~uint64_t{0} >> (63 - x1 % 64);
    for (int y = y0; y <= y1; ++y) {
        const uint64_t* row = t.see_through.data() + static_cast<size_t>(y) * words;
        for (int w = w0; w <= w1; ++w) {
            uint64_t mask = ~uint64_t{0};
            if (w == w0) mask &= head;
            if (w == w1) mask &= tail;
            if (row[w] & mask) return false;
        }
    }
    return true;
}

FanCover fan_cover(const GpuDrawState& s, const void* vertices, int vertex_count, int stride) {
    if (s.lighting && !(s.material.diffuse.a >= 1.0f)) return {false, 0.0f};
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0, twice_area = 0;
    ScreenVertex first{}, previous{};
    for (int i = 0; i < vertex_count; ++i) {
        const ScreenVertex v = gpu_fan_vertex(s.fvf, vertices, stride, i);
        if (!s.lighting && (v.colour >> 24) != 0xFFu) return {false, 0.0f};
        if (!std::isfinite(v.u) || !std::isfinite(v.v)) return {false, 0.0f};
        u0 = i == 0 ? v.u : std::min(u0, v.u);
        v0 = i == 0 ? v.v : std::min(v0, v.v);
        u1 = i == 0 ? v.u : std::max(u1, v.u);
        v1 = i == 0 ? v.v : std::max(v1, v.v);
        if (i == 0) first = v;
        if (i >= 2) {
            twice_area += std::fabs((previous.x - first.x) * (v.y - first.y) -
                                    (v.x - first.x) * (previous.y - first.y));
        }
        previous = v;
    }
    if (s.texture && !texels_opaque(*s.texture, u0, v0, u1, v1)) return {false, 0.0f};
    if (s.fvf != kFvfScreen) return {true, std::numeric_limits<float>::infinity()};
    return {true, twice_area / 2.0f};
}

void see_through_find(GpuTexture& t, const Image& image, bool keep_bits) {
    t.any_see_through = false;
    t.see_through.clear();
    const int words = (image.width + 63) / 64;
    for (int y = 0; y < image.height; ++y) {
        const uint32_t* row = image.argb.data() + static_cast<size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            if ((row[x] >> 24) == 0xFFu) continue;
            if (!keep_bits) {
                t.any_see_through = true;
                return;
            }
            if (!t.any_see_through) {
                t.any_see_through = true;
                t.see_through.assign(static_cast<size_t>(words) * image.height, 0);
            }
            t.see_through[static_cast<size_t>(y) * words + x / 64] |= uint64_t{1} << (x % 64);
        }
    }
}

}  // namespace tessaly::platform
