#pragma once
// The graphics device: start, release, re-creation and the render half of the frame tick.
#include "platform/gpu.hpp"

namespace tessaly {

constexpr uint32_t kClearColour = 0xFF000000;
constexpr float kClearDepth = 1.0f;

int graphics_start();
void graphics_release();
void render_frame();
// After a display setting changed: release, place the window, start again; a failure
// clears the running flag.
void graphics_recreate();
// True while a device exists.
bool graphics_ready();
// Moves the main window to suit the window mode setting.
void place_window_for_mode();
// The depth test on or off (the flat backdrop turns it off around itself).
void depth_test_set(bool on);

// The back end graphics_start creates: OpenGL (the game) or the recording device (tests).
void graphics_backend_select(platform::GpuBackend backend);

// Asks the next render_frame to keep its picture as an RGBA image of 640 x 480 and write
// it to path as PNG (the headless runner's screenshots). False if it cannot be done.
bool render_capture_next(const char* path);

}  // namespace tessaly
