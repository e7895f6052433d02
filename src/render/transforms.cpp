#include "render/transforms.hpp"

#include <cmath>

#include "platform/gpu.hpp"

namespace tessaly {
namespace {

// Degrees to radians in the model transforms; direction_offset uses its own factor.
constexpr float kDegToRad = 0.017453292f;
constexpr float kPiRough = 3.14f;
constexpr Viewport kViewport = {0, 0, 640, 480, 0.0f, 1.0f};

Plane g_frustum[kFrustumPlanes];

Matrix device_transform(platform::GpuTransform which) {
    Matrix m;
    platform::gpu_transform_get(which, &m.m[0][0]);
    return m;
}

// The angle brought into range once each way, as the model transforms store it.
void angle_wrap(float& angle) {
    if (angle < 0.0f) angle += 360.0f;
    if (angle > 360.0f) angle -= 360.0f;
}

}  // namespace

void camera_set(const Vec3& look_at, const Vec3& eye) {
    Matrix view, projection;
    matrix_look_at_lh(view, eye, look_at, Vec3{0.0f, 1.0f, 0.0f});
    platform::gpu_transform_set(platform::GpuTransform::View, &view.m[0][0]);
    matrix_perspective_fov_lh(projection, kFovY, kAspect, kNearZ, kFarZ);
    platform::gpu_transform_set(platform::GpuTransform::Projection, &projection.m[0][0]);
}

// Angles use 3.14, not pi: positions on the circle depend on it.
void direction_offset(float& out_x, float& out_z, float centre_x, float centre_z, float angle,
                      float distance) {
    const float r = angle * kPiRough / 180.0f;
    out_x = centre_x + std::cos(r) * distance;
    out_z = centre_z + std::sin(r) * distance;
}

void world_yaw(Matrix& out, const Vec3& position, float& angle) {
    angle_wrap(angle);
    Matrix yaw, move;
    matrix_rotation_y(yaw, (-90.0f - angle) * kDegToRad);
    matrix_translation(move, position.x, position.y, position.z);
    matrix_multiply(out, yaw, move);
}

void world_yaw_roll_pitch(Matrix& out, const Vec3& position, float& angle, float pitch,
                          float roll) {
    angle_wrap(angle);
    Matrix yaw, z, x, move;
    matrix_rotation_y(yaw, (-90.0f - angle) * kDegToRad);
    matrix_rotation_z(z, roll * kDegToRad);
    matrix_rotation_x(x, pitch * kDegToRad);
    matrix_translation(move, position.x, position.y, position.z);
    matrix_multiply(out, yaw, z);
    matrix_multiply(out, out, x);
    matrix_multiply(out, out, move);
}

void frustum_update() {
    const Matrix view = device_transform(platform::GpuTransform::View);
    const Matrix projection = device_transform(platform::GpuTransform::Projection);
    Matrix m;
    matrix_multiply(m, view, projection);
    auto column = [&m](int j) { return Plane{m.m[0][j], m.m[1][j], m.m[2][j], m.m[3][j]}; };
    auto add = [](const Plane& p, const Plane& q, float sign) {
        return Plane{p.a + sign * q.a, p.b + sign * q.b, p.c + sign * q.c, p.d + sign * q.d};
    };
    const Plane c1 = column(0), c2 = column(1), c3 = column(2), c4 = column(3);
    g_frustum[0] = plane_normalize(add(c4, c2, -1.0f));
    g_frustum[1] = plane_normalize(add(c4, c2, 1.0f));
    g_frustum[2] = plane_normalize(add(c4, c1, -1.0f));
    g_frustum[3] = plane_normalize(add(c4, c1, 1.0f));
    g_frustum[4] = plane_normalize(add(c4, c3, 1.0f));
    g_frustum[5] = plane_normalize(add(c4, c3, -1.0f));
}

const Plane* frustum_planes() {
    return g_frustum;
}

void world_to_screen(Vec3& out, const Vec3& world) {
    Matrix identity;
    matrix_identity(identity);
    out = vec3_project(world, kViewport, device_transform(platform::GpuTransform::Projection),
                       device_transform(platform::GpuTransform::View), identity);
}

float xz_distance(const Vec3& p, const Vec3& q) {
    const float dx = p.x - q.x, dz = p.z - q.z;
    return std::sqrt(dx * dx + dz * dz);
}

void world_transform_set(const Matrix& world) {
    platform::gpu_transform_set(platform::GpuTransform::World, &world.m[0][0]);
}

void world_transform_identity() {
    Matrix identity;
    world_transform_set(matrix_identity(identity));
}

Matrix view_transform() {
    return device_transform(platform::GpuTransform::View);
}

Matrix projection_transform() {
    return device_transform(platform::GpuTransform::Projection);
}

}  // namespace tessaly
