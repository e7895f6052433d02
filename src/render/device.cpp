#include "render/device.hpp"

#include <string>
#include <vector>

#include "app/task_pool.hpp"
#include "platform/image.hpp"
#include "platform/window.hpp"
#include "render/textures.hpp"
#include "render/transforms.hpp"

namespace tessaly {
namespace {

constexpr Vec3 kStartLookAt = {0.0f, 100.0f, 0.0f};
constexpr Vec3 kStartEye = {0.0f, 100.0f, 0.1f};

platform::GpuBackend g_backend = platform::GpuBackend::OpenGL;
std::string g_capture_path;
DisplaySettings g_settings = kDisplayDefaults;
bool g_failed = false;

void capture_write() {
    if (g_capture_path.empty()) return;
    static std::vector<uint32_t> pixels(platform::kBackBufferWidth * platform::kBackBufferHeight);
    if (!platform::gpu_frame_read(pixels.data()) ||
        !platform::image_write_png(g_capture_path.c_str(), platform::kBackBufferWidth,
                                   platform::kBackBufferHeight, pixels.data())) {
        std::fprintf(stderr, "tessaly: cannot write the frame to %s\n", g_capture_path.c_str());
    }
    g_capture_path.clear();
}

// Release, place the window, start again; a failure is kept for the shell to end the run.
bool graphics_rebuild(const DisplaySettings& settings) {
    graphics_release();
    platform::window_place(settings.windowed);
    if (graphics_start(settings)) return true;
    g_failed = true;
    return false;
}

}  // namespace

void graphics_backend_select(platform::GpuBackend backend) {
    g_backend = backend;
}

int graphics_start(const DisplaySettings& settings) {
    g_settings = settings;
    g_failed = false;
    meshes_release();
    textures_release();
    platform::gpu_destroy();
    assets_decode_begin();
    // The textures first: the meshes are read last and take longest to read.
    if (!platform::gpu_create(g_backend, settings) || !textures_load() || !meshes_load()) {
        assets_decode_drop();
        return 0;
    }
    // The render states of the whole run.
    platform::gpu_state_set(platform::GpuState::AlphaBlend, true);
    platform::gpu_viewport_set(0, 0, platform::kBackBufferWidth, platform::kBackBufferHeight, 0.0f,
                               1.0f);
    camera_set(kStartLookAt, kStartEye);
    platform::gpu_state_set(platform::GpuState::DepthTest, true);
    platform::gpu_state_set(platform::GpuState::Lighting, false);
    return 1;
}

void graphics_release() {
    meshes_release();
    textures_release();
    platform::gpu_destroy();
}

void render_frame() {
    if (!platform::gpu_exists()) return;
    platform::gpu_clear(kClearColour, kClearDepth);
    task_draw_pass();
    platform::gpu_texture_bind(nullptr);
    capture_write();
    if (!platform::gpu_present()) graphics_rebuild(g_settings);
}

bool graphics_recreate(const DisplaySettings& settings) {
    if (!platform::gpu_exists()) return false;
    return graphics_rebuild(settings);
}

bool graphics_ready() {
    return platform::gpu_exists();
}

bool graphics_failed() {
    return g_failed;
}

void depth_test_set(bool on) {
    platform::gpu_state_set(platform::GpuState::DepthTest, on);
}

bool render_capture_next(const char* path) {
    if (!path || !*path || g_backend != platform::GpuBackend::OpenGL) return false;
    g_capture_path = path;
    return true;
}

}  // namespace tessaly
