#include "scene/backdrop.hpp"

#include "render/device.hpp"

namespace tessaly {
namespace {

constexpr int kCellSize = 32;
constexpr int kColumns = 20;
constexpr int kRows = 15;

}  // namespace

void backdrop_fill(const Rect& cell) {
    for (int j = 0; j < kRows; ++j) {
        for (int i = 0; i < kColumns; ++i) {
            atlas_draw(static_cast<float>(kCellSize * i), static_cast<float>(kCellSize * j), cell);
        }
    }
}

void backdrop_fill_flat(const Rect& cell) {
    depth_test_set(false);
    backdrop_fill(cell);
    depth_test_set(true);
}

}  // namespace tessaly
