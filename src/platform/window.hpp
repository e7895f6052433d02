#pragma once
// The one window, its message queue, the error message box and the key state.
#include <cstdint>

namespace tessaly::platform {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;

// Starts the video and event subsystems; false if there is no display. SDL's offscreen and
// dummy drivers count as a display only when SDL_VIDEODRIVER names them.
bool video_init();
// Whether a started video driver may be used, given what SDL_VIDEODRIVER asked for.
bool video_driver_acceptable(const char* chosen, const char* requested);
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

// The down state of a Windows virtual-key code, as of the last message taken: the keyboard or
// any plugged gamepad.
bool key_down(int virtual_key);
// Whether the key went down since the last take, even if it is up again; clears it.
bool key_latched_take(int virtual_key);
// Puts a key-down or key-up message on the queue, as the keyboard would; for tests.
void key_event_push(int virtual_key, bool down);

// Gamepad buttons, numbered as SDL's game controller numbers them.
enum PadButton : int {
    kPadA = 0,
    kPadB = 1,
    kPadX = 2,
    kPadY = 3,
    kPadBack = 4,
    kPadGuide = 5,
    kPadStart = 6,
    kPadDpadUp = 11,
    kPadDpadDown = 12,
    kPadDpadLeft = 13,
    kPadDpadRight = 14,
    kPadNone = -1
};
// A stands for Enter, B for Esc, X for Z, Start for Shift, Back for Control, the d-pad for
// the arrows; 0 for a button that stands for no key.
int gamepad_key_for_button(int button);
int gamepad_button_for_key(int virtual_key);
// Whether the left stick at (x, y) points toward the arrow key (y grows downward).
bool gamepad_stick_key(int x, int y, int virtual_key);
// Plugged gamepads that are open.
int gamepad_count();
// A virtual gamepad, for tests: attach, press, move the left stick, detach.
bool gamepad_virtual_attach();
void gamepad_virtual_button(int button, bool down);
void gamepad_virtual_stick(int x, int y);
void gamepad_virtual_detach();

// Why the next error box is shown, written to standard error beneath it (a file and folder,
// a missing device); cleared once shown.
void error_reason(const char* format, ...) __attribute__((format(printf, 1, 2)));
const char* error_reason_text();

// The error message box: caption and text, one OK button, also written to standard error.
void error_box(const char* caption, const char* text);
// The text of the last error box, empty if none; for tests.
const char* last_error_text();
void last_error_reset();

// Centre of the desktop for a window of the given outer size.
void center_window_position(int& x, int& y, int width, int height);

// The largest whole multiple of 640 x 480 that fits the given area, at least 1.
int window_scale_for(int usable_width, int usable_height);
int window_scale_for_desktop();

// Windowed: the 640 x 480 picture at the desktop's whole scale, centred, not kept on top. Otherwise
// a borderless window over the whole primary screen, on top.
void window_place(bool windowed);

}  // namespace tessaly::platform
