#include "app/app.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/asset_pack.hpp"
#include "app/task_pool.hpp"
#include "platform/gpu.hpp"
#include "platform/window.hpp"
#include "render/device.hpp"
#include "state/game_state.hpp"
#include "support/scratch_dir.hpp"

namespace tessaly {
namespace {

TEST(ZeroBytes, ClearsExactlyTheGivenLength) {
    unsigned char buf[8];
    std::memset(buf, 0xAB, sizeof buf);
    EXPECT_EQ(zero_bytes(buf, 5), buf);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(buf[i], 0);
    EXPECT_EQ(buf[5], 0xAB);
}

// A whole-millisecond clock that advances one millisecond each time it is read.
uint32_t g_fake_now = 0;
uint32_t g_slept = 0;
uint32_t fake_clock() {
    return g_fake_now++;
}
void fake_sleep(uint32_t ms) {
    g_slept += ms;
    g_fake_now += ms;
}

TEST(FrameWait, TickLastsAtLeastSeventeenWholeMilliseconds) {
    app_config_reset();
    app_config().clock = &fake_clock;
    app_config().sleep = &fake_sleep;
    for (uint32_t start : {0u, 1000u, 0xFFFFFFF8u}) {  // the last one wraps around
        g_fake_now = start;
        g_slept = 0;
        frame_wait(start);
        const uint32_t elapsed = g_fake_now - start;
        EXPECT_GE(elapsed, 17u);
        EXPECT_LE(elapsed, 19u);
        EXPECT_GT(g_slept, 0u);
    }
    app_config_reset();
}

TEST(FrameWait, ReturnsAtOnceWhenTheTickIsAlreadyLong) {
    app_config_reset();
    app_config().clock = &fake_clock;
    app_config().sleep = &fake_sleep;
    g_fake_now = 100;
    g_slept = 0;
    frame_wait(50);
    EXPECT_EQ(g_slept, 0u);
    EXPECT_EQ(g_fake_now, 101u);
    app_config_reset();
}

// Start-up runs in a directory of the test's own, so data.dat is exactly what it puts there.
struct StartupFixture : ::testing::Test {
    test::ScratchDir scratch{"startup", true};
    void SetUp() override {
        app_config_reset();
        app_config().no_wait = true;
        platform::last_error_reset();
    }
    void TearDown() override { app_config_reset(); }
    void copy_pack() {
        std::string cmd = std::string("cp '") + TESSALY_BINARY_DIR + "/data.dat' .";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
};

using Startup = StartupFixture;

TEST_F(Startup, MissingDataFileFailsWithItsMessageAndTheWindowIsNeverShown) {
    ASSERT_TRUE(platform::window_create("Tessaly", "KORVIN"));
    EXPECT_FALSE(app_startup());
    EXPECT_STREQ(platform::last_error_text(), "data load failed");
    EXPECT_FALSE(platform::window_was_shown());
    EXPECT_TRUE(platform::quit_posted());
    EXPECT_EQ(task_pool(), nullptr);
    EXPECT_EQ(g_game.terrain_layer, nullptr);
    EXPECT_EQ(g_game.event_buffer, nullptr);
    platform::quit_reset();
}

TEST_F(Startup, DamagedPackIsRefused) {
    unsigned char bad[600] = {};
    bad[0] = 0xF0;  // entry 0 begins far past the end of the file
    FILE* f = std::fopen("data.dat", "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bad, 1, sizeof bad, f);
    std::fclose(f);
    EXPECT_EQ(pack_load(), 0);
    EXPECT_EQ(pack_buffer(), nullptr);
}

int fail_step() {
    return 0;
}

TEST_F(Startup, EachFailingStepShowsItsMessageAndReleasesWhatCameBefore) {
    copy_pack();
    struct Case {
        int (**step)();
        const char* message;
    };
    AppConfig& c = app_config();
    const Case cases[] = {{&c.step_init_parameters, "parameter init error"},
                          {&c.step_sound_init, "sound init error"},
                          {&c.step_graphics_start, "graphic init error"}};
    for (const Case& k : cases) {
        app_config_reset();
        app_config().no_wait = true;
        *k.step = &fail_step;
        platform::last_error_reset();
        ASSERT_TRUE(platform::window_create("Tessaly", "KORVIN"));
        EXPECT_FALSE(app_startup());
        EXPECT_STREQ(platform::last_error_text(), k.message);
        EXPECT_FALSE(platform::window_was_shown());
        EXPECT_FALSE(platform::window_exists());
        EXPECT_EQ(pack_buffer(), nullptr);
        EXPECT_EQ(task_pool(), nullptr) << k.message;
        platform::quit_reset();
    }
}

// Graphics that did start are released while their window still exists, then the window goes.
TEST_F(Startup, GraphicsFailureReleasesTheDeviceBeforeTheWindow) {
    copy_pack();
    app_config().no_wait = true;
    app_config().step_graphics_start = [] {
        graphics_start(kDisplayDefaults);  // a device and its textures, then a failure after them
        return 0;
    };
    const int orphaned = platform::gpu_opengl_orphaned_releases();
    ASSERT_TRUE(platform::window_create("Tessaly", "KORVIN"));
    EXPECT_FALSE(app_startup());
    EXPECT_STREQ(platform::last_error_text(), "graphic init error");
    EXPECT_FALSE(platform::gpu_exists());
    EXPECT_FALSE(platform::window_exists());
    EXPECT_EQ(platform::gpu_opengl_orphaned_releases(), orphaned);
    platform::quit_reset();
}

TEST_F(Startup, ParameterFailureReleasesNothing) {
    // The pool allocated before a failing map-buffer step stays as it is.
    app_config().step_init_parameters = [] {
        pool_create();
        return 0;
    };
    ASSERT_TRUE(platform::window_create("Tessaly", "KORVIN"));
    EXPECT_FALSE(app_startup());
    EXPECT_NE(task_pool(), nullptr);
    pool_destroy();
    platform::quit_reset();
}

int g_ticks_after_quit = 0;
void quitting_update(Task*) {
    g_running = 0;
}
void late_update(Task*) {
    ++g_ticks_after_quit;
}
int quitting_first_task() {
    Task* a = task_alloc_at(5);
    task_start(a, 0, &quitting_update, nullptr);
    Task* b = task_alloc_at(6);
    task_start(b, 0, &late_update, nullptr);
    return 1;
}

TEST_F(Startup, ClearedRunningFlagFinishesTheTickThenShutsDown) {
    copy_pack();
    app_config().step_first_task = &quitting_first_task;
    g_ticks_after_quit = 0;
    EXPECT_EQ(app_main(1000), 0);
    // The task above the quitting one still ran in that tick; no tick ran after it.
    EXPECT_EQ(g_ticks_after_quit, 1);
    EXPECT_EQ(app_tick_count(), 1);
    EXPECT_TRUE(platform::window_was_shown());
    EXPECT_EQ(task_pool(), nullptr);
    EXPECT_EQ(pack_buffer(), nullptr);
}

TEST_F(Startup, FullChainStartsTheTitleAndRunsTicks) {
    copy_pack();
    ASSERT_TRUE(platform::window_create("Tessaly", "KORVIN"));
    ASSERT_TRUE(app_startup());
    EXPECT_EQ(g_running, 1);
    EXPECT_EQ(task_kind_exists(kKindTitle), 1);
    for (int s : g_game.settings) EXPECT_EQ(s, 1);
    EXPECT_EQ(g_game.terrain_layer[0], 15);
    EXPECT_NE(pack_buffer(), nullptr);
    for (int i = 0; i < 3; ++i) frame_tick();
    app_shutdown();
    EXPECT_FALSE(platform::window_exists());
    EXPECT_EQ(task_pool(), nullptr);
    platform::quit_reset();
}

int g_ticks_seen = 0;
void ticking_update(Task*) {
    ++g_ticks_seen;
}
int ticking_first_task() {
    Task* t = task_alloc_at(5);
    task_start(t, 0, &ticking_update, nullptr);
    return 1;
}
void close_after_third_tick(int tick) {
    if (tick == 3) platform::post_close_request();
}

TEST_F(Startup, CloseRequestShutsDownAtOnceAndNoTickFollows) {
    copy_pack();
    app_config().step_first_task = &ticking_first_task;
    app_config().after_tick = &close_after_third_tick;
    g_ticks_seen = 0;
    EXPECT_EQ(app_main(1000), 0);
    EXPECT_EQ(g_ticks_seen, 3);
    EXPECT_EQ(app_tick_count(), 3);
    EXPECT_EQ(task_pool(), nullptr);
    EXPECT_EQ(pack_buffer(), nullptr);
    EXPECT_EQ(g_game.square_layer, nullptr);
    EXPECT_FALSE(platform::window_exists());
}

int init_without_vsync() {
    const int ok = init_parameters();
    g_game.settings[kSettingVsync] = 0;
    return ok;
}

TEST_F(Startup, TheDeviceIsMadeWithTheDisplaySettingsOfTheGame) {
    copy_pack();
    app_config().step_init_parameters = &init_without_vsync;
    graphics_backend_select(platform::GpuBackend::Recording);
    ASSERT_TRUE(platform::window_create("Tessaly", "KORVIN"));
    ASSERT_TRUE(app_startup());
    EXPECT_FALSE(platform::gpu_recorded_settings().vsync);
    EXPECT_TRUE(platform::gpu_recorded_settings().depth24);
    EXPECT_TRUE(platform::gpu_recorded_settings().windowed);
    app_shutdown();
    graphics_backend_select(platform::GpuBackend::OpenGL);
    platform::quit_reset();
}

// The pack is gone when the device has to be made again: it cannot be.
void device_breaking_update(Task*) {
    pack_release();
    graphics_recreate(kDisplayDefaults);
}
int device_breaking_first_task() {
    Task* t = task_alloc_at(5);
    task_start(t, 0, &device_breaking_update, nullptr);
    return 1;
}

TEST_F(Startup, ADeviceThatCannotBeMadeAgainEndsTheRunAfterThatTick) {
    copy_pack();
    app_config().step_first_task = &device_breaking_first_task;
    EXPECT_EQ(app_main(1000), 0);
    EXPECT_EQ(app_tick_count(), 1);
    EXPECT_FALSE(platform::window_exists());
    EXPECT_EQ(task_pool(), nullptr);
}

TEST_F(Startup, MissingDataFileEndsTheProgramWithAFailureStatus) {
    EXPECT_NE(app_main(10), 0);
    EXPECT_EQ(app_tick_count(), 0);
    EXPECT_FALSE(platform::window_was_shown());
}

}  // namespace
}  // namespace tessaly
