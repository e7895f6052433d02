#pragma once
// Private stand-ins for two transform helpers, removed once the renderer's land.
#include <cmath>

namespace tessaly::pending {

inline void direction_offset(float& x, float& z, float cx, float cz, float angle, float dist) {
    const float r = angle * 3.14f / 180.0f;
    x = cx + std::cos(r) * dist;
    z = cz + std::sin(r) * dist;
}

inline float xz_distance(float px, float pz, float qx, float qz) {
    return std::sqrt((px - qx) * (px - qx) + (pz - qz) * (pz - qz));
}

}  // namespace tessaly::pending
