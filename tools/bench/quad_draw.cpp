// bench-quad_draw: the CPU cost of a frame of 20,000 textured quads drawn through quad_draw
// on the OpenGL device, and the draw calls the device issued for it. Runs in the build
// directory (it reads data.dat there), headless unless SDL_VIDEODRIVER says otherwise.
//   bench-quad_draw [FRAMES]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/asset_pack.hpp"
#include "platform/gpu.hpp"
#include "platform/window.hpp"
#include "render/device.hpp"
#include "render/primitives.hpp"
#include "render/transforms.hpp"
#include "state/game_state.hpp"

namespace {

using namespace tessaly;
using Clock = std::chrono::steady_clock;

constexpr int kQuads = 20000;
constexpr int kColumns = 200;
constexpr int kTileTextures = 9;

struct Result {
    double submit_ms;  // quad_draw calls until the device has handed everything on
    double frame_ms;   // the whole frame: clear, quads, present, and the GPU finished
    int draw_calls;
};

double ms_since(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// One floor quad per 2 x 2 cell of a 200 x 100 grid around the origin, with its tile
// texture chosen by texture_of(i).
template <class TextureOf>
Result run(int frames, TextureOf texture_of) {
    Result r{0, 0, 0};
    for (int f = 0; f < frames; ++f) {
        const Clock::time_point t0 = Clock::now();
        platform::gpu_clear(kClearColour, kClearDepth);
        world_transform_identity();
        for (int i = 0; i < kQuads; ++i) {
            const float x = static_cast<float>(2 * (i % kColumns) - kColumns);
            const float z = static_cast<float>(kQuads / kColumns - 2 * (i / kColumns));
            QuadVertex q[4];
            quad_vertex_set(q[0], x, 0, z, 0, 0);
            quad_vertex_set(q[1], x + 2, 0, z, 1, 0);
            quad_vertex_set(q[2], x + 2, 0, z - 2, 1, 1);
            quad_vertex_set(q[3], x, 0, z - 2, 0, 1);
            quad_draw(q, 0xFFFFFFFF, texture_of(i));
        }
        platform::gpu_texture_bind(nullptr);
        const double submit = ms_since(t0);
        platform::gpu_present();
        platform::gpu_finish();
        if (f > 0) {  // the first frame warms caches and shader variants
            r.submit_ms += submit;
            r.frame_ms += ms_since(t0);
        }
        r.draw_calls = platform::gpu_draw_calls_last_frame();
    }
    r.submit_ms /= frames - 1;
    r.frame_ms /= frames - 1;
    return r;
}

void report(const char* name, const Result& r) {
    std::printf("%-34s %8.3f ms/frame submit %8.3f ms/frame total %6d draw calls/frame\n", name,
                r.submit_ms, r.frame_ms, r.draw_calls);
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    apply_settings_defaults();
    g_game.settings[kSettingVsync] = 0;
    if (!platform::window_create("bench", "KORVIN") || !pack_load()) {
        std::fprintf(stderr, "bench-quad_draw: needs a video driver and data.dat here\n");
        return 1;
    }
    if (!graphics_start()) {
        std::fprintf(stderr, "bench-quad_draw: graphics did not start\n");
        return 1;
    }
    camera_set(Vec3{0, 0, 0}, Vec3{0, 60, -20});
    std::printf("%d textured quads through quad_draw, %d frames\n", kQuads, frames);
    report("one texture", run(frames, [](int) { return texture_slot(0); }));
    report("tile texture by runs of 8 cells",
           run(frames, [](int i) { return texture_slot((i / 8) % kTileTextures); }));
    report("texture changing every quad",
           run(frames, [](int i) { return texture_slot(i % kTileTextures); }));
    graphics_release();
    pack_release();
    platform::window_destroy();
    platform::video_quit();
    return 0;
}
