#include "render/matrix.hpp"

#include <cmath>
#include <cstring>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace tessaly {
namespace {

// A row-vector matrix stored row by row reads, column by column, as the column-vector
// matrix of the same transform: glm sees the transpose, with no copy but the memcpy.
glm::mat4 to_glm(const Matrix& m) {
    return glm::make_mat4(&m.m[0][0]);
}

Matrix& from_glm(Matrix& out, const glm::mat4& g) {
    std::memcpy(&out.m[0][0], glm::value_ptr(g), sizeof out.m);
    return out;
}

glm::vec3 to_glm(const Vec3& v) {
    return {v.x, v.y, v.z};
}

}  // namespace

Matrix& matrix_identity(Matrix& out) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) out.m[r][c] = r == c ? 1.0f : 0.0f;
    }
    return out;
}

Matrix& matrix_multiply(Matrix& out, const Matrix& a, const Matrix& b) {
    // a first, then b: for column vectors that is b · a.
    return from_glm(out, to_glm(b) * to_glm(a));
}

Matrix& matrix_translation(Matrix& out, float x, float y, float z) {
    return from_glm(out, glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z)));
}

Matrix& matrix_rotation_x(Matrix& out, float radians) {
    return from_glm(out, glm::rotate(glm::mat4(1.0f), radians, glm::vec3(1, 0, 0)));
}

Matrix& matrix_rotation_y(Matrix& out, float radians) {
    return from_glm(out, glm::rotate(glm::mat4(1.0f), radians, glm::vec3(0, 1, 0)));
}

Matrix& matrix_rotation_z(Matrix& out, float radians) {
    return from_glm(out, glm::rotate(glm::mat4(1.0f), radians, glm::vec3(0, 0, 1)));
}

Matrix& matrix_look_at_lh(Matrix& out, const Vec3& eye, const Vec3& at, const Vec3& up) {
    return from_glm(out, glm::lookAtLH(to_glm(eye), to_glm(at), to_glm(up)));
}

Matrix& matrix_perspective_fov_lh(Matrix& out, float fov_y, float aspect, float near_z,
                                  float far_z) {
    return from_glm(out, glm::perspectiveLH_ZO(fov_y, aspect, near_z, far_z));
}

Vec3 vec3_transform_coord(const Vec3& v, const Matrix& m) {
    const glm::vec4 p = to_glm(m) * glm::vec4(v.x, v.y, v.z, 1.0f);
    const float w = p.w != 0.0f ? p.w : 1.0f;
    return {p.x / w, p.y / w, p.z / w};
}

Vec3 vec3_project(const Vec3& v, const Viewport& vp, const Matrix& projection, const Matrix& view,
                  const Matrix& world) {
    Matrix wv, wvp;
    matrix_multiply(wv, world, view);
    matrix_multiply(wvp, wv, projection);
    const Vec3 p = vec3_transform_coord(v, wvp);
    return {vp.x + (1.0f + p.x) * vp.width / 2.0f, vp.y + (1.0f - p.y) * vp.height / 2.0f,
            vp.min_z + p.z * (vp.max_z - vp.min_z)};
}

Plane plane_normalize(const Plane& p) {
    const float len = std::sqrt(p.a * p.a + p.b * p.b + p.c * p.c);
    if (len == 0.0f) return p;
    return {p.a / len, p.b / len, p.c / len, p.d / len};
}

float plane_dot_coord(const Plane& p, const Vec3& v) {
    return p.a * v.x + p.b * v.y + p.c * v.z + p.d;
}

}  // namespace tessaly
