#pragma once
// The backdrop the full-screen menus draw behind themselves: one 32 x 32 atlas cell
// repeated over the whole screen.
#include "render/sprites.hpp"

namespace tessaly {

// The menus' backdrop cell.
constexpr Rect kBackdropCell = {1926, 0, 1958, 32};

// The cell drawn at every (32 i, 32 j), row by row, covering the 640 x 480 screen.
void backdrop_fill(const Rect& cell);
// The same with the depth test off, so that models drawn after it are not hidden by it.
void backdrop_fill_flat(const Rect& cell);

}  // namespace tessaly
