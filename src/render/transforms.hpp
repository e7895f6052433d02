#pragma once
// The view and projection of the camera, the frustum planes, and the model transforms that
// every 3D drawer uses.
#include "render/matrix.hpp"

namespace tessaly {

constexpr float kFovY = 0.5235988f;  // 30 degrees
// Aspect 1, not 640 / 480: the picture is stretched to the 4:3 viewport.
constexpr float kAspect = 1.0f;
constexpr float kNearZ = 0.1f;
constexpr float kFarZ = 100.0f;
constexpr int kFrustumPlanes = 6;

// Sets the view (look-at, up = +y) and the projection of the device.
void camera_set(const Vec3& look_at, const Vec3& eye);
// The point at distance on the circle around (centre_x, centre_z) at angle degrees.
void direction_offset(float& out_x, float& out_z, float centre_x, float centre_z, float angle,
                      float distance);
// The model transform: yaw from the facing angle (brought into range and written back),
// then the translation to position.
void world_yaw(Matrix& out, const Vec3& position, float& angle);
void world_yaw_roll_pitch(Matrix& out, const Vec3& position, float& angle, float pitch, float roll);
// The six planes from the device's current view and projection.
void frustum_update();
const Plane* frustum_planes();
// The screen position (x, y) and depth (z) of a world point under the current camera.
void world_to_screen(Vec3& out, const Vec3& world);
// Distance in the ground plane; y is ignored.
float xz_distance(const Vec3& p, const Vec3& q);

// The transforms on the device; world defaults to identity.
void world_transform_set(const Matrix& world);
void world_transform_identity();
Matrix view_transform();
Matrix projection_transform();

}  // namespace tessaly
