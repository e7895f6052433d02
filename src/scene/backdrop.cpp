#include "scene/backdrop.hpp"

#include "platform/gpu.hpp"
#include "render/device.hpp"
#include "render/textures.hpp"

namespace tessaly {
namespace {

constexpr int kCellSize = 32;
constexpr int kColumns = 20;
constexpr int kRows = 15;

void backdrop_fill_each(const Rect& cell) {
    for (int j = 0; j < kRows; ++j) {
        for (int i = 0; i < kColumns; ++i) {
            atlas_draw(static_cast<float>(kCellSize * i), static_cast<float>(kCellSize * j), cell);
        }
    }
}

// Which atlas cell the backdrop picture holds: its corner, never 0 for a cell on the atlas.
uint64_t cell_key(const Rect& cell) {
    return 1u + (static_cast<uint64_t>(cell.left) << 32 | static_cast<uint64_t>(cell.top));
}

// The cell's texels, copied out of the atlas into a picture of their own.
bool cell_picture_make(const Rect& cell, uint64_t key) {
    uint32_t texels[kCellSize * kCellSize];
    return cell.right - cell.left == kCellSize && cell.bottom - cell.top == kCellSize &&
           platform::gpu_texture_read(atlas_texture(), static_cast<int>(cell.left),
                                      static_cast<int>(cell.top), kCellSize, kCellSize, texels) &&
           picture_set(Picture::BackdropCell, kCellSize, kCellSize, texels, key);
}

}  // namespace

// Batched drawing shows the cell's picture repeated by one quad (the texture wraps); every
// texel lands where the cell's own quads put it. The reference drawing (and a device that
// cannot make the picture) draws a quad a cell.
void backdrop_fill(const Rect& cell) {
    const uint64_t key = cell_key(cell);
    if (platform::gpu_reference_drawing_on() ||
        !picture_ready(Picture::BackdropCell, key,
                       [&cell, key] { return cell_picture_make(cell, key); })) {
        backdrop_fill_each(cell);
        return;
    }
    constexpr float kWidth = kCellSize * kColumns, kHeight = kCellSize * kRows;
    sprite_draw(0.0f, 0.0f, Rect{0, 0, kWidth, kHeight}, kCellSize, kCellSize, kColourOpaque,
                picture_texture(Picture::BackdropCell));
}

void backdrop_fill_flat(const Rect& cell) {
    depth_test_set(false);
    backdrop_fill(cell);
    depth_test_set(true);
}

}  // namespace tessaly
