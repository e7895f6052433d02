#include "render/transforms.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "render/primitives.hpp"

namespace tessaly {
namespace {

void expect_matrix_near(const Matrix& a, const Matrix& b, float eps = 1e-5f) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], eps) << r << "," << c;
    }
}

Vec3 transform(const Vec3& v, const Matrix& m) {
    return vec3_transform_coord(v, m);
}

TEST(Matrix, ProductTransformsByTheLeftFactorFirst) {
    Matrix move, turn, both;
    matrix_translation(move, 10, 0, 0);
    matrix_rotation_y(turn, 3.14159265f / 2);
    matrix_multiply(both, move, turn);
    // Moved to (10, 0, 0) first, then turned a quarter about y: x goes to -z.
    const Vec3 p = transform(Vec3{0, 0, 0}, both);
    EXPECT_NEAR(p.x, 0.0f, 1e-4);
    EXPECT_NEAR(p.z, -10.0f, 1e-4);
    EXPECT_FLOAT_EQ(both.m[3][2], -10.0f);
}

TEST(Matrix, RotationsAreThoseOfTheLeftHandedSystem) {
    Matrix m;
    const float a = 0.3f, c = std::cos(a), s = std::sin(a);
    matrix_rotation_y(m, a);
    EXPECT_NEAR(m.m[0][0], c, 1e-6);
    EXPECT_NEAR(m.m[0][2], -s, 1e-6);
    EXPECT_NEAR(m.m[2][0], s, 1e-6);
    matrix_rotation_x(m, a);
    EXPECT_NEAR(m.m[1][2], s, 1e-6);
    EXPECT_NEAR(m.m[2][1], -s, 1e-6);
    matrix_rotation_z(m, a);
    EXPECT_NEAR(m.m[0][1], s, 1e-6);
    EXPECT_NEAR(m.m[1][0], -s, 1e-6);
}

TEST(CameraSet, ViewAndProjectionAreTheLeftHandedLookAtAndPerspective) {
    const Vec3 eye{3, 4, -5}, at{1, 0, 2};
    camera_set(at, eye);
    // The look-at by its definition: axes as rows of the transpose, eye moved to the origin.
    const Vec3 z0{at.x - eye.x, at.y - eye.y, at.z - eye.z};
    const float zl = std::sqrt(z0.x * z0.x + z0.y * z0.y + z0.z * z0.z);
    const Vec3 z{z0.x / zl, z0.y / zl, z0.z / zl};
    const Vec3 x0{z.z, 0, -z.x};  // up × z with up = (0, 1, 0)
    const float xl = std::sqrt(x0.x * x0.x + x0.z * x0.z);
    const Vec3 x{x0.x / xl, 0, x0.z / xl};
    const Vec3 y{z.y * x.z - z.z * x.y, z.z * x.x - z.x * x.z, z.x * x.y - z.y * x.x};
    auto dot = [](const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    const Matrix view = {{{x.x, y.x, z.x, 0},
                          {x.y, y.y, z.y, 0},
                          {x.z, y.z, z.z, 0},
                          {-dot(x, eye), -dot(y, eye), -dot(z, eye), 1}}};
    expect_matrix_near(view_transform(), view);
    const float ys = 1.0f / std::tan(kFovY / 2), q = kFarZ / (kFarZ - kNearZ);
    const Matrix proj = {{{ys, 0, 0, 0}, {0, ys, 0, 0}, {0, 0, q, 1}, {0, 0, -q * kNearZ, 0}}};
    expect_matrix_near(projection_transform(), proj, 1e-4f);
}

TEST(CameraSet, LookAtPointLandsInTheMiddleOfTheScreen) {
    camera_set(Vec3{5, 0, 5}, Vec3{5, 10, -15});
    Vec3 s;
    world_to_screen(s, Vec3{5, 0, 5});
    EXPECT_NEAR(s.x, 320.0f, 1e-3);
    EXPECT_NEAR(s.y, 240.0f, 1e-3);
    EXPECT_GT(s.z, 0.0f);
    EXPECT_LT(s.z, 1.0f);
    // Up in the world is up on the screen, whose y grows downwards.
    world_to_screen(s, Vec3{5, 1, 5});
    EXPECT_LT(s.y, 240.0f);
}

TEST(DirectionOffset, UsesThreePointOneFourForPi) {
    float x = 0, z = 0;
    direction_offset(x, z, 1.0f, 2.0f, 270.0f, 20.0f);
    const float r = 270.0f * 3.14f / 180.0f;
    EXPECT_FLOAT_EQ(x, 1.0f + std::cos(r) * 20.0f);
    EXPECT_FLOAT_EQ(z, 2.0f + std::sin(r) * 20.0f);
    // Not snapped: a small offset in x remains.
    EXPECT_GT(std::fabs(x - 1.0f), 0.01f);
    EXPECT_NEAR(z, -18.0f, 0.01f);
}

TEST(WorldYaw, NegativeAngleIsStoredPlus360) {
    float angle = -30.0f;
    Matrix m, turn, move, want;
    world_yaw(m, Vec3{1, 2, 3}, angle);
    EXPECT_FLOAT_EQ(angle, 330.0f);
    matrix_rotation_y(turn, (-90.0f - 330.0f) * 0.017453292f);
    matrix_translation(move, 1, 2, 3);
    expect_matrix_near(m, matrix_multiply(want, turn, move));
}

TEST(WorldYaw, AngleAbove360IsStoredMinus360) {
    float angle = 400.0f;
    Matrix m;
    world_yaw(m, Vec3{0, 0, 0}, angle);
    EXPECT_FLOAT_EQ(angle, 40.0f);
    float exactly = 360.0f;
    world_yaw(m, Vec3{0, 0, 0}, exactly);
    EXPECT_FLOAT_EQ(exactly, 360.0f);
}

TEST(WorldYaw, RollAndPitchComeBetweenYawAndPlace) {
    float angle = 10.0f;
    Matrix m, yaw, roll, pitch, move, want;
    world_yaw_roll_pitch(m, Vec3{4, 5, 6}, angle, 20.0f, 30.0f);
    matrix_rotation_y(yaw, (-90.0f - 10.0f) * 0.017453292f);
    matrix_rotation_z(roll, 30.0f * 0.017453292f);
    matrix_rotation_x(pitch, 20.0f * 0.017453292f);
    matrix_translation(move, 4, 5, 6);
    matrix_multiply(want, yaw, roll);
    matrix_multiply(want, want, pitch);
    matrix_multiply(want, want, move);
    expect_matrix_near(m, want);
}

TEST(XzDistance, IgnoresHeight) {
    EXPECT_FLOAT_EQ(xz_distance(Vec3{0, 100, 0}, Vec3{3, -7, 4}), 5.0f);
}

struct Frustum : ::testing::Test {
    void SetUp() override {
        camera_set(Vec3{0, 0, 0}, Vec3{0, 0, -20});
        frustum_update();
    }
};

TEST_F(Frustum, PlanesAreNormalisedAndHoldTheLookAtPoint) {
    for (int i = 0; i < kFrustumPlanes; ++i) {
        const Plane& p = frustum_planes()[i];
        EXPECT_NEAR(p.a * p.a + p.b * p.b + p.c * p.c, 1.0f, 1e-5) << i;
        EXPECT_GT(plane_dot_coord(p, Vec3{0, 0, 0}), 0.0f) << i;
    }
    EXPECT_TRUE(sphere_visible(0, 0, 0, 0.0f));
}

TEST_F(Frustum, SphereJustOutsideAPlaneStillCounts) {
    // The right-hand plane (third): a centre 3.9 units outside it with radius 4 is visible,
    // 4.1 outside is not.
    const Plane& p = frustum_planes()[2];
    const Vec3 on{-p.d * p.a, -p.d * p.b, -p.d * p.c};  // the point of the plane nearest the origin
    auto outside = [&](float by) {
        return Vec3{on.x - p.a * by, on.y - p.b * by, on.z - p.c * by};
    };
    const Vec3 a = outside(3.9f), b = outside(4.1f);
    EXPECT_LT(plane_dot_coord(p, a), 0.0f);
    EXPECT_GT(a.x, 0.0f);
    EXPECT_TRUE(sphere_visible(a.x, a.y, a.z, 4.0f));
    EXPECT_FALSE(sphere_visible(b.x, b.y, b.z, 4.0f));
}

TEST_F(Frustum, BehindTheFarPlaneIsNotVisible) {
    EXPECT_TRUE(sphere_visible(0, 0, 70, 1.0f));
    EXPECT_FALSE(sphere_visible(0, 0, 90, 1.0f));
}

}  // namespace
}  // namespace tessaly
