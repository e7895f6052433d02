#include "render/device.hpp"

#include <gtest/gtest.h>

#include "app/asset_pack.hpp"
#include "app/task_pool.hpp"
#include "platform/gpu.hpp"
#include "render/sprites.hpp"
#include "render/transforms.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

using test::recorded;

void sprite_task_draw(Task*) {
    sprite_draw(1, 2, Rect{0, 0, 4, 4}, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas_texture());
}

struct Device : test::RecordingDevice {
    void SetUp() override {
        test::pack_use(test::pack_entries_small());
        test::RecordingDevice::SetUp();
        ASSERT_TRUE(pool_create());
    }
    void TearDown() override {
        pool_destroy();
        test::RecordingDevice::TearDown();
    }
};

TEST_F(Device, StartSetsTheStatesOfTheWholeRun) {
    EXPECT_TRUE(graphics_ready());
    EXPECT_TRUE(platform::gpu_state_get(platform::GpuState::AlphaBlend));
    EXPECT_TRUE(platform::gpu_state_get(platform::GpuState::DepthTest));
    EXPECT_FALSE(platform::gpu_state_get(platform::GpuState::Lighting));
    // The first camera looks from (0, 100, 0.1) down at (0, 100, 0).
    Vec3 s;
    world_to_screen(s, Vec3{0, 100, 0});
    EXPECT_NEAR(s.x, 320.0f, 1e-3);
    EXPECT_NEAR(s.y, 240.0f, 1e-3);
    EXPECT_NE(atlas_texture(), nullptr);
    EXPECT_NE(second_texture(), nullptr);
    for (int n = 0; n < kTextureSlots; ++n) EXPECT_NE(texture_slot(n), nullptr) << n;
    for (int n = 0; n < kMeshCount; ++n) EXPECT_NE(mesh_record(n).mesh, nullptr) << n;
    EXPECT_NE(sphere_small().mesh, nullptr);
    EXPECT_NE(sphere_large().mesh, nullptr);
}

TEST_F(Device, FrameClearsDrawsTheTasksAndUnbindsTheTexture) {
    Task* t = task_alloc_at(5);
    task_start(t, kKindTitle, nullptr, &sprite_task_draw);
    const int clears = platform::gpu_recorded_clears();
    render_frame();
    EXPECT_EQ(platform::gpu_recorded_clears(), clears + 1);
    ASSERT_EQ(recorded().size(), 1u);
    EXPECT_EQ(recorded()[0].texture, atlas_texture());
    EXPECT_EQ(platform::gpu_texture_bound(), nullptr);
    EXPECT_EQ(platform::gpu_draw_calls_last_frame(), 1);
    render_frame();
    EXPECT_EQ(recorded().size(), 1u);
}

TEST_F(Device, ReleaseClearsEveryHandleAndIsSafeTwice) {
    graphics_release();
    EXPECT_FALSE(graphics_ready());
    EXPECT_EQ(atlas_texture(), nullptr);
    EXPECT_EQ(texture_slot(0), nullptr);
    EXPECT_EQ(mesh_record(3).mesh, nullptr);
    EXPECT_EQ(sphere_large().mesh, nullptr);
    graphics_release();
    render_frame();  // no device: nothing happens
    EXPECT_FALSE(graphics_recreate(kDisplayDefaults));
    EXPECT_FALSE(graphics_ready());
}

TEST_F(Device, RecreationBuildsEverythingAgainWithTheSettingsItIsGiven) {
    EXPECT_TRUE(platform::gpu_recorded_settings().depth24);
    ASSERT_TRUE(graphics_recreate(DisplaySettings{true, false, false}));
    EXPECT_FALSE(graphics_failed());
    ASSERT_TRUE(graphics_ready());
    EXPECT_FALSE(platform::gpu_recorded_settings().vsync);
    EXPECT_FALSE(platform::gpu_recorded_settings().depth24);
    EXPECT_NE(atlas_texture(), nullptr);
    EXPECT_NE(mesh_record(24).mesh, nullptr);
    EXPECT_TRUE(platform::gpu_state_get(platform::GpuState::AlphaBlend));
    render_frame();
}

TEST_F(Device, FailedRecreationIsKeptUntilTheNextStart) {
    test::PackEntries broken = test::pack_entries_small();
    broken[kEntryTextureSlots + 7] = test::bytes_of("no image");
    test::pack_use(broken);
    EXPECT_FALSE(graphics_recreate(kDisplayDefaults));
    EXPECT_TRUE(graphics_failed());
    test::pack_use(test::pack_entries_small());
    ASSERT_EQ(graphics_start(kDisplayDefaults), 1);
    EXPECT_FALSE(graphics_failed());
}

TEST_F(Device, DepthTestCanBeTurnedOffAndOn) {
    depth_test_set(false);
    sprite_draw(0, 0, Rect{0, 0, 4, 4}, kAtlasWidth, kAtlasHeight, kColourOpaque, nullptr);
    depth_test_set(true);
    sprite_draw(0, 0, Rect{0, 0, 4, 4}, kAtlasWidth, kAtlasHeight, kColourOpaque, nullptr);
    ASSERT_EQ(recorded().size(), 2u);
    EXPECT_FALSE(recorded()[0].depth_test);
    EXPECT_TRUE(recorded()[1].depth_test);
}

TEST_F(Device, RecordingDeviceTakesNoScreenshots) {
    EXPECT_FALSE(render_capture_next("never.png"));
}

TEST(Graphics, StartFailsWithoutAPackAndReleasesSafely) {
    pack_release();
    graphics_backend_select(platform::GpuBackend::Recording);
    EXPECT_EQ(graphics_start(), 0);
    graphics_release();
    EXPECT_FALSE(graphics_ready());
    graphics_backend_select(platform::GpuBackend::OpenGL);
}

}  // namespace
}  // namespace tessaly
