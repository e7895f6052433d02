#pragma once
// The graphics device: start, release, re-creation and the render half of the frame tick.

namespace tessaly {

int graphics_start();
void graphics_release();
void render_frame();
void graphics_recreate();
// True while a device exists.
bool graphics_ready();

// Asks the next render_frame to keep its picture as an RGBA image of 640 x 480 and write
// it to path as PNG (the headless runner's screenshots). False if it cannot be done.
bool render_capture_next(const char* path);

}  // namespace tessaly
