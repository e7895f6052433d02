// The generated sphere, laid out as the Direct3D extension library lays it out.
#include <cmath>

#include "platform/mesh_file.hpp"

namespace tessaly::platform {

namespace {
constexpr float kPi = 3.141592654f;
constexpr uint32_t kFvfPositionNormal = 0x012;
}  // namespace

bool mesh_sphere(float radius, int slices, int stacks, MeshData& out) {
    out = MeshData{};
    if (radius < 0.0f || slices < 2 || stacks < 2) return false;
    out.fvf = kFvfPositionNormal;
    auto vertex = [&](float nx, float ny, float nz) {
        out.vertices.push_back(
            {radius * nx, radius * ny, radius * nz, nx, ny, nz, 0, 0, 0xFFFFFFFF});
    };
    // Ring vertex of a slice on a stack (stack 0 is the first ring below the +z pole).
    auto ring = [slices](int slice, int stack) {
        return static_cast<uint32_t>(stack * slices + slice + 1);
    };
    auto face = [&](uint32_t a, uint32_t b, uint32_t c) {
        out.indices.push_back(a);
        out.indices.push_back(b);
        out.indices.push_back(c);
    };
    const float phi_step = -2.0f * kPi / static_cast<float>(slices);
    const float phi_start = kPi / 2.0f;
    const float theta_step = kPi / static_cast<float>(stacks);

    vertex(0.0f, 0.0f, 1.0f);
    float theta = theta_step;
    for (int stack = 0; stack < stacks - 1; ++stack) {
        const float st = std::sin(theta), ct = std::cos(theta);
        for (int slice = 0; slice < slices; ++slice) {
            const float phi = phi_start + static_cast<float>(slice) * phi_step;
            vertex(st * std::cos(phi), st * std::sin(phi), ct);
            if (slice == 0) continue;
            if (stack == 0) {
                face(0, ring(slice, 0), ring(slice - 1, 0));
            } else {
                face(ring(slice - 1, stack - 1), ring(slice, stack - 1), ring(slice - 1, stack));
                face(ring(slice, stack - 1), ring(slice, stack), ring(slice - 1, stack));
            }
        }
        if (stack == 0) {
            face(0, ring(0, 0), ring(slices - 1, 0));
        } else {
            face(ring(slices - 1, stack - 1), ring(0, stack - 1), ring(slices - 1, stack));
            face(ring(0, stack - 1), ring(0, stack), ring(slices - 1, stack));
        }
        theta += theta_step;
    }
    const auto bottom = static_cast<uint32_t>(out.vertices.size());
    vertex(0.0f, 0.0f, -1.0f);
    const int last = stacks - 2;
    for (int slice = 1; slice < slices; ++slice) {
        face(ring(slice - 1, last), ring(slice, last), bottom);
    }
    face(ring(slices - 1, last), ring(0, last), bottom);
    out.subsets.push_back({0, static_cast<uint32_t>(out.indices.size())});
    return true;
}

}  // namespace tessaly::platform
