#include "render/device.hpp"

#include "app/task_pool.hpp"

namespace tessaly {
namespace {
bool g_ready = false;
}

int graphics_start() {
    g_ready = true;
    return 1;
}

void graphics_release() {
    g_ready = false;
}

void render_frame() {
    if (!g_ready) return;
    task_draw_pass();
}

void graphics_recreate() {}
bool graphics_ready() {
    return g_ready;
}
bool render_capture_next(const char*) {
    return false;
}

}  // namespace tessaly
