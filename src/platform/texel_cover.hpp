#pragma once

#include <cstdint>

#include "platform/gpu_backend.hpp"
#include "platform/image.hpp"

namespace tessaly::platform {

// Finds the texels of an image that let what is behind show (alpha under 255), for the
// texture made from it: with keep_bits which ones, a bit each row by row, else only whether
// there are any.
void see_through_find(GpuTexture& t, const Image& image, bool keep_bits);

// Whether every texel nearest sampling can read between (u0, v0) and (u1, v1) is opaque.
bool texels_opaque(const GpuTexture& t, float u0, float v0, float u1, float v1);

// Whether a fan covers what is behind it wholly, and over how many screen pixels (world
// quads, drawn many at a time, count as without bound). Full alpha at every vertex (or in
// the lit material) and opaque texels throughout draw the same with blending off.
struct FanCover {
    bool opaque;
    float area;
};
FanCover fan_cover(const GpuDrawState& s, const void* vertices, int vertex_count, int stride);

}  // namespace tessaly::platform
