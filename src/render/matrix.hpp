#pragma once
// Vectors, planes and 4 x 4 matrices in Direct3D's row-vector convention: a point is a row
// vector multiplied from the left, so in a × b a vertex is transformed by a first. Elements
// are stored row by row; the translation sits in the last row (m[3][0..2]).
#include <type_traits>

namespace tessaly {

struct Vec3 {
    float x, y, z;
};

// a·x + b·y + c·z + d.
struct Plane {
    float a, b, c, d;
};

struct Matrix {
    float m[4][4];
};

static_assert(std::is_trivially_copyable_v<Vec3> && std::is_trivially_copyable_v<Matrix>);

struct Viewport {
    float x, y, width, height, min_z, max_z;
};

Matrix& matrix_identity(Matrix& out);
// out = a × b; out may be a or b.
Matrix& matrix_multiply(Matrix& out, const Matrix& a, const Matrix& b);
Matrix& matrix_translation(Matrix& out, float x, float y, float z);
// Rotations by an angle in radians, clockwise when looking along the axis towards the origin
// (left-handed), as Direct3D builds them.
Matrix& matrix_rotation_x(Matrix& out, float radians);
Matrix& matrix_rotation_y(Matrix& out, float radians);
Matrix& matrix_rotation_z(Matrix& out, float radians);
// The left-handed look-at view matrix.
Matrix& matrix_look_at_lh(Matrix& out, const Vec3& eye, const Vec3& at, const Vec3& up);
// The left-handed perspective projection with clip-space depth 0 (near) .. 1 (far).
Matrix& matrix_perspective_fov_lh(Matrix& out, float fov_y, float aspect, float near_z,
                                  float far_z);
// The point transformed by m with the divide by w.
Vec3 vec3_transform_coord(const Vec3& v, const Matrix& m);
// World point to viewport coordinates (x, y in pixels, z depth in min_z..max_z).
Vec3 vec3_project(const Vec3& v, const Viewport& vp, const Matrix& projection, const Matrix& view,
                  const Matrix& world);
// Divides the plane by the length of its normal (a, b, c); a zero normal is left as it is.
Plane plane_normalize(const Plane& p);
float plane_dot_coord(const Plane& p, const Vec3& v);

}  // namespace tessaly
