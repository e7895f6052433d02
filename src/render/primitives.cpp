#include "render/primitives.hpp"

#include <algorithm>

#include "platform/gpu.hpp"
#include "render/transforms.hpp"

namespace tessaly {
namespace {
constexpr int kFanTriangles = 2;
}

QuadVertex& quad_vertex_set(QuadVertex& out, float x, float y, float z, float u, float v) {
    out = QuadVertex{x, y, z, 0xFFFFFFFF, u, v};
    return out;
}

void quad_draw(const QuadVertex vertices[4], uint32_t colour, Texture* texture) {
    QuadVertex v[4] = {vertices[0], vertices[1], vertices[2], vertices[3]};
    for (QuadVertex& q : v) q.colour = colour;
    if (!platform::gpu_exists()) return;
    platform::gpu_texture_bind(texture);
    platform::gpu_fvf_set(platform::kFvfTextured);
    platform::gpu_draw_fan(v, kFanTriangles, sizeof(QuadVertex));
}

void mesh_draw(const MeshRecord& mesh, const Matrix& world) {
    if (!platform::gpu_exists() || !mesh.mesh) return;
    world_transform_set(world);
    platform::gpu_fvf_set(platform::kFvfTextured);
    platform::gpu_state_set(platform::GpuState::Lighting, true);
    for (uint32_t i = 0; i < mesh.material_count; ++i) {
        platform::gpu_material_set(mesh.materials[i]);
        platform::gpu_texture_bind(mesh.material_textures[i]);
        platform::gpu_mesh_draw_subset(mesh.mesh, static_cast<int>(i));
    }
    platform::gpu_state_set(platform::GpuState::Lighting, false);
}

void sphere_draw(const MeshRecord& sphere, const Vec3& position) {
    if (!platform::gpu_exists() || !sphere.mesh) return;
    Matrix move;
    world_transform_set(matrix_translation(move, position.x, position.y, position.z));
    platform::gpu_fvf_set(platform::kFvfColoured);
    platform::gpu_texture_bind(nullptr);
    platform::gpu_mesh_draw_subset(sphere.mesh, 0);
}

bool sphere_visible_x_range(float y_low, float y_high, float z, float radius, float& x_low,
                            float& x_high) {
    // Each plane keeps a half-line of x, taken at the height most in its favour. Planes that
    // hardly depend on x restrict nothing.
    constexpr double kSteep = 1e-3;
    constexpr double kSlack = 1.0;
    double low = -1e30, high = 1e30;
    const Plane* planes = frustum_planes();
    for (int i = 0; i < kFrustumPlanes; ++i) {
        const Plane& p = planes[i];
        const double y = p.b > 0 ? y_high : y_low;
        const double rest = static_cast<double>(p.b) * y + static_cast<double>(p.c) * z + p.d;
        if (p.a > kSteep) {
            low = std::max(low, (-radius - rest) / p.a - kSlack);
        } else if (p.a < -kSteep) {
            high = std::min(high, (-radius - rest) / p.a + kSlack);
        }
    }
    if (low > high) return false;
    x_low = static_cast<float>(std::max(low, -1e30));
    x_high = static_cast<float>(std::min(high, 1e30));
    return true;
}

bool sphere_visible(float x, float y, float z, float radius) {
    const Plane* planes = frustum_planes();
    const Vec3 centre{x, y, z};
    for (int i = 0; i < kFrustumPlanes; ++i) {
        if (plane_dot_coord(planes[i], centre) < -radius) return false;
    }
    return true;
}

}  // namespace tessaly
