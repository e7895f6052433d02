#include "render/primitives.hpp"

#include <gtest/gtest.h>

#include "app/asset_pack.hpp"
#include "render/sprites.hpp"
#include "render/transforms.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

using test::recorded;

// Mesh 0 has a first material without a texture and a second with one.
struct Primitives : test::RecordingDevice {
    void SetUp() override {
        test::PackEntries e = test::pack_entries_small();
        e[kEntryMeshes] = test::bytes_of(test::x_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0},
                                                      {0, 1, 2, 1, 3, 2}, {"", "skin.png"}));
        e[kEntryMeshTextures] = test::png_filled(4, 4, 0xFF3366CC);
        test::pack_use(e);
        test::RecordingDevice::SetUp();
    }
};

TEST_F(Primitives, QuadVertexIsWhite) {
    QuadVertex v;
    quad_vertex_set(v, 1, 2, 3, 0.25f, 0.75f);
    EXPECT_EQ(v.colour, 0xFFFFFFFFu);
    EXPECT_EQ(v.x, 1.0f);
    EXPECT_EQ(v.z, 3.0f);
    EXPECT_EQ(v.v, 0.75f);
}

TEST_F(Primitives, QuadDrawsAFanOfTwoInWorldSpaceWithTheColour) {
    QuadVertex q[4];
    quad_vertex_set(q[0], 0, 0, 2, 0, 0);
    quad_vertex_set(q[1], 2, 0, 2, 1, 0);
    quad_vertex_set(q[2], 2, 0, 0, 1, 1);
    quad_vertex_set(q[3], 0, 0, 0, 0, 1);
    world_transform_identity();
    quad_draw(q, 0x80FF00FF, texture_slot(3));
    ASSERT_EQ(recorded().size(), 1u);
    const platform::RecordedDraw& d = recorded()[0];
    EXPECT_EQ(d.fvf, platform::kFvfTextured);
    EXPECT_EQ(d.texture, texture_slot(3));
    EXPECT_EQ(d.triangles, 2);
    EXPECT_EQ(d.world[0], 1.0f);
    EXPECT_EQ(d.world[12], 0.0f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.vertices[i].colour, 0x80FF00FFu);
        EXPECT_EQ(d.vertices[i].x, q[i].x);
        EXPECT_EQ(d.vertices[i].u, q[i].u);
    }
    // The caller's vertices keep their colour.
    EXPECT_EQ(q[0].colour, 0xFFFFFFFFu);
}

TEST_F(Primitives, QuadUsesWhateverWorldTransformIsSet) {
    Matrix move;
    world_transform_set(matrix_translation(move, 5, 6, 7));
    QuadVertex q[4] = {};
    quad_draw(q, kColourOpaque, nullptr);
    EXPECT_EQ(recorded().back().world[12], 5.0f);
    EXPECT_EQ(recorded().back().texture, nullptr);
}

TEST_F(Primitives, MeshDrawsEachSubsetLitWithItsMaterialAndTexture) {
    const MeshRecord& mesh = mesh_record(0);
    ASSERT_EQ(mesh.material_count, 2u);
    Matrix world;
    float facing = 90.0f;
    world_yaw(world, Vec3{1, 0, 1}, facing);
    mesh_draw(mesh, world);
    ASSERT_EQ(recorded().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const platform::RecordedDraw& d = recorded()[i];
        EXPECT_EQ(d.mesh, mesh.mesh);
        EXPECT_EQ(d.subset, i);
        EXPECT_TRUE(d.lighting);
        EXPECT_EQ(d.world[12], world.m[3][0]);
        EXPECT_EQ(d.material.emissive.b, mesh.materials[i].emissive.b);
    }
    // The untextured subset draws in its emissive colour with no texture bound.
    EXPECT_EQ(recorded()[0].texture, nullptr);
    EXPECT_FLOAT_EQ(recorded()[0].material.emissive.r, 0.5f);
    EXPECT_FLOAT_EQ(recorded()[0].material.emissive.g, 0.25f);
    EXPECT_NE(recorded()[1].texture, nullptr);
    EXPECT_EQ(recorded()[1].texture, mesh.material_textures[1]);
}

TEST_F(Primitives, LightingIsOffAgainAfterAMesh) {
    Matrix world;
    mesh_draw(mesh_record(0), matrix_identity(world));
    sprite_draw(0, 0, Rect{0, 0, 8, 8}, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas_texture());
    EXPECT_FALSE(recorded().back().lighting);
    EXPECT_EQ(recorded().back().fvf, platform::kFvfScreen);
}

TEST_F(Primitives, SphereIsUnlitUntexturedAtItsPlace) {
    sprite_draw(0, 0, Rect{0, 0, 8, 8}, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas_texture());
    sphere_draw(sphere_large(), Vec3{3, 4, 5});
    const platform::RecordedDraw& d = recorded().back();
    EXPECT_EQ(d.mesh, sphere_large().mesh);
    EXPECT_EQ(d.subset, 0);
    EXPECT_EQ(d.fvf, platform::kFvfColoured);
    EXPECT_EQ(d.texture, nullptr);
    EXPECT_FALSE(d.lighting);
    EXPECT_EQ(d.world[12], 3.0f);
    EXPECT_EQ(d.world[13], 4.0f);
    EXPECT_EQ(d.world[14], 5.0f);
}

TEST(PrimitivesWithoutDevice, DrawNothingAndDoNotFail) {
    QuadVertex q[4] = {};
    quad_draw(q, kColourOpaque, nullptr);
    Matrix world;
    mesh_draw(mesh_record(0), matrix_identity(world));
    sphere_draw(sphere_small(), Vec3{0, 0, 0});
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

// Every cell centre that the culling test lets through lies inside the x interval of its
// row, for cameras looking every way across the board, so culling by rows draws the same
// cells as testing all of them.
TEST_F(Primitives, VisibleXRangeHoldsEveryVisibleCellCentre) {
    const Vec3 eyes[] = {
        {0, 40, -30}, {20, 60, 10}, {-50, 30, 80}, {100, 25, -100}, {0, 100, 0.1f}};
    const Vec3 looks[] = {{0, 0, 0}, {30, 0, -20}, {-60, 0, 60}, {80, 3, -70}, {0, 0, 0}};
    int visible = 0;
    for (int k = 0; k < 5; ++k) {
        camera_set(looks[k], eyes[k]);
        frustum_update();
        for (float y : {-2.0f, 1.0f}) {
            for (int r = 0; r < 300; ++r) {
                const float z = 299.0f - 2.0f * static_cast<float>(r);
                float lo = 0, hi = 0;
                const bool any = sphere_visible_x_range(-2.0f, 1.0f, z, 4.0f, lo, hi);
                for (int c = 0; c < 300; ++c) {
                    const float x = 2.0f * static_cast<float>(c) - 299.0f;
                    if (!sphere_visible(x, y, z, 4.0f)) continue;
                    ++visible;
                    ASSERT_TRUE(any) << "camera " << k << " row " << r;
                    ASSERT_GE(x, lo) << "camera " << k << " row " << r;
                    ASSERT_LE(x, hi) << "camera " << k << " row " << r;
                }
            }
        }
    }
    EXPECT_GT(visible, 1000);  // the cameras do see a part of the board
}

}  // namespace
}  // namespace tessaly
