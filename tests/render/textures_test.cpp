#include "render/textures.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "app/asset_pack.hpp"
#include "platform/gpu.hpp"
#include "render/device.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

constexpr float kTriangle[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};

std::vector<unsigned char> mesh_with(const std::vector<std::string>& textures) {
    // One triangle per material, so that every material has faces.
    std::vector<float> p;
    std::vector<int> t;
    for (size_t m = 0; m < textures.size(); ++m) {
        p.insert(p.end(), std::begin(kTriangle), std::end(kTriangle));
        p[p.size() - 1] = static_cast<float>(m);  // keep the vertices apart
        const int b = static_cast<int>(3 * m);
        t.insert(t.end(), {b, b + 1, b + 2});
    }
    return test::bytes_of(test::x_mesh(p, t, textures));
}

struct Textures : test::RecordingDevice {
    test::PackEntries entries = test::pack_entries_small();
    void SetUp() override {}
    void start() {
        test::pack_use(entries);
        test::RecordingDevice::SetUp();
    }
};

TEST_F(Textures, PureGreenBecomesTransparentAndOneBitOffStays) {
    entries[kEntryTextureSlots] =
        test::png_bytes(4, 1, {0xFF00FF00, 0xFF00FE00, 0xFE00FF00, 0xFF01FF00});
    start();
    const uint32_t* t = platform::gpu_texture_texels(texture_slot(0));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t[0], 0x00000000u);
    EXPECT_EQ(t[1], 0xFF00FE00u);
    EXPECT_EQ(t[2], 0xFE00FF00u);
    EXPECT_EQ(t[3], 0xFF01FF00u);
}

TEST_F(Textures, SizeIsRoundedUpToPowersOfTwoWithTheImageTopLeft) {
    entries[kEntryTextureSlots + 5] = test::png_filled(5, 3, 0xFF112233);
    start();
    Texture* tex = texture_slot(5);
    ASSERT_EQ(platform::gpu_texture_width(tex), 8);
    ASSERT_EQ(platform::gpu_texture_height(tex), 4);
    const uint32_t* t = platform::gpu_texture_texels(tex);
    EXPECT_EQ(t[0], 0xFF112233u);
    EXPECT_EQ(t[2 * 8 + 4], 0xFF112233u);
    EXPECT_EQ(t[5], 0u);      // right of the image
    EXPECT_EQ(t[3 * 8], 0u);  // below it
}

TEST_F(Textures, SheetsAndSlotsComeFromTheirEntries) {
    entries[kEntryAtlas] = test::png_filled(2, 2, 0xFF0000FF);
    entries[kEntrySecondSheet] = test::png_filled(2, 2, 0xFF00FFFF);
    entries[kEntryTextureSlots + 23] = test::png_filled(2, 2, 0xFFFF00FF);
    // The 25th slot, the hint toward destination 4 lying south, is entry 26.
    entries[26] = test::png_filled(2, 2, 0xFF123456);
    start();
    EXPECT_EQ(platform::gpu_texture_texels(atlas_texture())[0], 0xFF0000FFu);
    EXPECT_EQ(platform::gpu_texture_texels(second_texture())[0], 0xFF00FFFFu);
    EXPECT_EQ(platform::gpu_texture_texels(texture_slot(23))[0], 0xFFFF00FFu);
    EXPECT_EQ(platform::gpu_texture_texels(texture_slot(24))[0], 0xFF123456u);
    EXPECT_EQ(texture_slot(25), nullptr);
}

TEST_F(Textures, MaterialTexturesTakeEntriesInTheOrderMeshesNameThem) {
    // Mesh 0: no texture, then one; mesh 1: one; mesh 2: none; mesh 3: two.
    entries[kEntryMeshes + 0] = mesh_with({"", "a.png"});
    entries[kEntryMeshes + 1] = mesh_with({"b.png"});
    entries[kEntryMeshes + 2] = mesh_with({""});
    entries[kEntryMeshes + 3] = mesh_with({"c.png", "d.png"});
    for (int i = 0; i < 4; ++i) {
        entries[kEntryMeshTextures + i] = test::png_filled(1, 1, 0xFF000010u + i);
    }
    start();
    auto first_texel = [](Texture* t) { return platform::gpu_texture_texels(t)[0]; };
    EXPECT_EQ(mesh_record(0).material_textures[0], nullptr);
    EXPECT_EQ(first_texel(mesh_record(0).material_textures[1]), 0xFF000010u);
    EXPECT_EQ(first_texel(mesh_record(1).material_textures[0]), 0xFF000011u);
    EXPECT_EQ(mesh_record(2).material_textures[0], nullptr);
    EXPECT_EQ(first_texel(mesh_record(3).material_textures[0]), 0xFF000012u);
    EXPECT_EQ(first_texel(mesh_record(3).material_textures[1]), 0xFF000013u);
    EXPECT_EQ(mesh_texture_count(), 4);
}

TEST_F(Textures, FailedMaterialTextureStillUsesItsEntry) {
    entries[kEntryMeshes + 0] = mesh_with({"broken.png"});
    entries[kEntryMeshes + 1] = mesh_with({"fine.png"});
    entries[kEntryMeshTextures] = test::bytes_of("not an image");
    entries[kEntryMeshTextures + 1] = test::png_filled(1, 1, 0xFFABCDEF);
    start();
    EXPECT_EQ(mesh_record(0).material_textures[0], nullptr);
    EXPECT_EQ(platform::gpu_texture_texels(mesh_record(1).material_textures[0])[0], 0xFFABCDEFu);
}

TEST_F(Textures, RecreationHandsOutTheSameEntriesAgain) {
    entries[kEntryMeshes + 4] = mesh_with({"x.png"});
    entries[kEntryMeshTextures] = test::png_filled(1, 1, 0xFF445566);
    start();
    ASSERT_TRUE(graphics_recreate(kDisplayDefaults));
    ASSERT_TRUE(graphics_ready());
    EXPECT_EQ(mesh_texture_count(), 1);
    EXPECT_EQ(platform::gpu_texture_texels(mesh_record(4).material_textures[0])[0], 0xFF445566u);
}

TEST_F(Textures, BoundsAreTheBoxAndTheSphereAroundTheVertexMean) {
    entries[kEntryMeshes + 7] = test::bytes_of(
        test::x_mesh({-1, 0, -2, 3, 0, -2, 3, 4, 2, -1, 4, 2}, {0, 1, 2, 0, 2, 3}, {""}));
    start();
    const MeshRecord& m = mesh_record(7);
    EXPECT_FLOAT_EQ(m.box_min.x, -1.0f);
    EXPECT_FLOAT_EQ(m.box_max.y, 4.0f);
    EXPECT_FLOAT_EQ(m.box_min.z, -2.0f);
    EXPECT_FLOAT_EQ(m.width, 4.0f);
    EXPECT_FLOAT_EQ(m.height, 4.0f);
    EXPECT_FLOAT_EQ(m.depth, 4.0f);
    // Mean (1, 2, 0); every corner lies sqrt(4 + 4 + 4) from it.
    EXPECT_NEAR(m.radius, std::sqrt(12.0f), 1e-5);
}

TEST_F(Textures, SpheresHaveTheirSizeLayoutAndColour) {
    start();
    const MeshRecord& small = sphere_small();
    const MeshRecord& large = sphere_large();
    EXPECT_EQ(platform::gpu_mesh_fvf(small.mesh), platform::kFvfColoured);
    EXPECT_NEAR(small.radius, 0.4f, 1e-5);
    EXPECT_NEAR(large.radius, 3.4f, 1e-5);
    EXPECT_NEAR(large.height, 6.8f, 1e-4);
    EXPECT_EQ(platform::gpu_mesh_subset_count(small.mesh), 1);
    EXPECT_EQ(small.material_count, 0u);
}

TEST_F(Textures, BrokenSheetFailsGraphicsStart) {
    entries[kEntryAtlas] = test::bytes_of("damaged");
    test::pack_use(entries);
    graphics_backend_select(platform::GpuBackend::Recording);
    EXPECT_EQ(graphics_start(), 0);
}

TEST_F(Textures, BrokenMeshFailsGraphicsStart) {
    entries[kEntryMeshes + 24] = test::bytes_of("xof 0303txt 0032\nMesh { 3; 0.0;");
    test::pack_use(entries);
    graphics_backend_select(platform::GpuBackend::Recording);
    EXPECT_EQ(graphics_start(), 0);
}

TEST_F(Textures, BrokenLastSlotFailsGraphicsStartAndAMendedPackStartsAfterIt) {
    // The slots are decoded on a worker of their own, the atlas on another.
    entries[kEntryTextureSlots + kTextureSlots - 1] = test::bytes_of("damaged");
    test::pack_use(entries);
    graphics_backend_select(platform::GpuBackend::Recording);
    EXPECT_EQ(graphics_start(), 0);
    entries[kEntryTextureSlots + kTextureSlots - 1] = test::png_filled(2, 2, 0xFF0A0B0C);
    start();
    ASSERT_TRUE(graphics_ready());
    EXPECT_EQ(platform::gpu_texture_texels(texture_slot(kTextureSlots - 1))[0], 0xFF0A0B0Cu);
}

TEST_F(Textures, WhatWasReadForAFailedStartIsNotUsedByTheNext) {
    // The atlas fails while the meshes are still being read; the next start reads anew.
    entries[kEntryAtlas] = test::bytes_of("damaged");
    entries[kEntrySecondSheet] = test::png_filled(2, 2, 0xFF111111);
    entries[kEntryMeshes + 7] =
        test::bytes_of(test::x_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2}, {""}));
    test::pack_use(entries);
    graphics_backend_select(platform::GpuBackend::Recording);
    EXPECT_EQ(graphics_start(), 0);
    entries = test::pack_entries_small();
    entries[kEntrySecondSheet] = test::png_filled(2, 2, 0xFF333333);
    entries[kEntryMeshes + 7] =
        test::bytes_of(test::x_mesh({0, 0, 0, 5, 0, 0, 0, 3, 0}, {0, 1, 2}, {""}));
    start();
    ASSERT_TRUE(graphics_ready());
    EXPECT_EQ(platform::gpu_texture_texels(second_texture())[0], 0xFF333333u);
    EXPECT_FLOAT_EQ(mesh_record(7).width, 5.0f);
    EXPECT_FLOAT_EQ(mesh_record(7).height, 3.0f);
}

}  // namespace
}  // namespace tessaly
