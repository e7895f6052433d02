#pragma once
// The one window, its message queue, the error message box and the key state.
#include <cstdint>

namespace tessaly::platform {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;

// Starts the video and event subsystems; false if there is no video at all.
bool video_init();
void video_quit();

// Creates the window hidden, centred, fixed size, with the game's icon and class name.
bool window_create(const char* caption, const char* class_name);
void window_show();
// Destroying the window posts the quit message that ends the message loop.
void window_destroy();
bool window_exists();
bool window_was_shown();
// Opaque handle of the SDL window, for the rest of the platform layer.
void* window_native();

enum class Message { None, Close, Quit, Other };
// Takes one waiting message off the queue; None when the queue is empty.
Message message_take();
// Puts a close request of the window on the queue, as the window manager would.
void post_close_request();
// True once the quit message has been posted (by window_destroy).
bool quit_posted();
void quit_reset();

// The down state of a Windows virtual-key code, as of the last message taken.
bool key_down(int virtual_key);

// The error message box: caption and text, one OK button, also written to standard error.
void error_box(const char* caption, const char* text);
// The text of the last error box, empty if none; for tests.
const char* last_error_text();
void last_error_reset();

// Centre of the desktop for a window of the given outer size.
void center_window_position(int& x, int& y, int width, int height);

// Windowed: the 640 x 480 client area centred on the desktop, not kept on top. Otherwise a
// borderless window over the whole primary screen, on top.
void window_place(bool windowed);

}  // namespace tessaly::platform
