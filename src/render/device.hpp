#pragma once
// The graphics device: start, release, re-creation and the render half of the frame tick.
#include "platform/gpu.hpp"

namespace tessaly {

constexpr uint32_t kClearColour = 0xFF000000;
constexpr float kClearDepth = 1.0f;

// What the device is made with: the window mode, vertical sync and the depth buffer's size.
// A fresh game has them all on.
using DisplaySettings = platform::GpuSettings;
constexpr DisplaySettings kDisplayDefaults = {true, true, true};

// Makes the device with these settings and loads the meshes and textures; 0 on failure.
// The device keeps the settings for rebuilding itself after a lost frame.
int graphics_start(const DisplaySettings& settings = kDisplayDefaults);
void graphics_release();
void render_frame();
// After a display setting changed: release, place the window, start again with the new
// settings; false (and graphics_failed) when that fails.
bool graphics_recreate(const DisplaySettings& settings);
// True while a device exists.
bool graphics_ready();
// True once a rebuild (after a lost frame or a settings change) has failed and no device
// could be made again; the shell ends the run. graphics_start clears it.
bool graphics_failed();
// The depth test on or off (the flat backdrop turns it off around itself).
void depth_test_set(bool on);

// The back end graphics_start creates: OpenGL (the game) or the recording device (tests).
void graphics_backend_select(platform::GpuBackend backend);

// Asks the next render_frame to keep its picture as an RGBA image of 640 x 480 and write
// it to path as PNG (the headless runner's screenshots). False if it cannot be done.
bool render_capture_next(const char* path);

}  // namespace tessaly
