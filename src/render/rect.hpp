#pragma once
// A rectangle of four floats: a picture's place on a sheet, in texels, or a place on the
// screen, in pixels.

namespace tessaly {

// left, top, right, bottom; width = right - left, height = bottom - top.
struct Rect {
    float left, top, right, bottom;
};

}  // namespace tessaly
