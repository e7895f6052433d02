#include <SDL.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/window.hpp"

namespace tessaly::platform {

static_assert(int{kPadA} == int{SDL_CONTROLLER_BUTTON_A} &&
              int{kPadStart} == int{SDL_CONTROLLER_BUTTON_START} &&
              int{kPadBack} == int{SDL_CONTROLLER_BUTTON_BACK} &&
              int{kPadDpadRight} == int{SDL_CONTROLLER_BUTTON_DPAD_RIGHT});

namespace {

SDL_Window* g_window = nullptr;
bool g_shown = false;
bool g_quit_posted = false;
bool g_video = false;
bool g_gamepads = false;
char g_last_error[128] = "";
char g_error_reason[512] = "";

// Keys that went down since the last poll, so a tap shorter than a frame still counts.
bool g_latched[256] = {};

constexpr int kMaxGamepads = 4;
SDL_GameController* g_pads[kMaxGamepads] = {};
// A stick pushed past this reads as its arrow, like the d-pad.
constexpr int kStickThreshold = 16000;
constexpr int kArrowKeys[] = {40, 38, 39, 37};

// The game's icon, drawn here rather than loaded: a white die showing five on blue.
SDL_Surface* make_icon() {
    constexpr int kSize = 32;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    auto* px = static_cast<uint32_t*>(s->pixels);
    const int pitch = s->pitch / 4;
    const int pips[5][2] = {{9, 9}, {22, 9}, {15, 15}, {9, 22}, {22, 22}};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            uint32_t c = 0xFF2850A0;
            if (x >= 3 && x < 29 && y >= 3 && y < 29) c = 0xFFF4F0E6;
            for (const auto& p : pips) {
                const int dx = x - p[0], dy = y - p[1];
                if (dx * dx + dy * dy <= 6) c = 0xFF202020;
            }
            px[y * pitch + x] = c;
        }
    }
    return s;
}

// Windows virtual-key codes of the 13 game keys and the SDL scancodes that stand for them.
struct KeyBinding {
    int virtual_key;
    SDL_Scancode a, b;
};
constexpr KeyBinding kKeyBindings[] = {
    {40, SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN},
    {38, SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN},
    {39, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN},
    {37, SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN},
    {27, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN},
    {17, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL},
    {13, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
    {90, SDL_SCANCODE_Z, SDL_SCANCODE_UNKNOWN},
    {32, SDL_SCANCODE_SPACE, SDL_SCANCODE_UNKNOWN},
    {16, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT},
    {65, SDL_SCANCODE_A, SDL_SCANCODE_UNKNOWN},
    {83, SDL_SCANCODE_S, SDL_SCANCODE_UNKNOWN},
    {68, SDL_SCANCODE_D, SDL_SCANCODE_UNKNOWN},
};

int virtual_key_of_scancode(SDL_Scancode sc) {
    for (const KeyBinding& k : kKeyBindings) {
        if (k.a == sc || (k.b != SDL_SCANCODE_UNKNOWN && k.b == sc)) return k.virtual_key;
    }
    return 0;
}

bool scancode_down(const Uint8* state, int vk) {
    for (const KeyBinding& k : kKeyBindings) {
        if (k.virtual_key != vk) continue;
        return state[k.a] || (k.b != SDL_SCANCODE_UNKNOWN && state[k.b]);
    }
    return false;
}

void gamepad_open(int device_index) {
    if (!SDL_IsGameController(device_index)) return;
    for (SDL_GameController*& pad : g_pads) {
        if (pad) continue;
        pad = SDL_GameControllerOpen(device_index);
        return;
    }
}

void gamepad_close(SDL_JoystickID id) {
    for (SDL_GameController*& pad : g_pads) {
        if (!pad) continue;
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) != id) continue;
        SDL_GameControllerClose(pad);
        pad = nullptr;
    }
}

void gamepads_close_all() {
    for (SDL_GameController*& pad : g_pads) {
        if (pad) SDL_GameControllerClose(pad);
        pad = nullptr;
    }
}

bool pad_stick_toward(SDL_GameController* pad, int vk) {
    const int x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    return gamepad_stick_key(x, y, vk);
}

bool pad_down(int vk) {
    const auto button = static_cast<SDL_GameControllerButton>(gamepad_button_for_key(vk));
    for (SDL_GameController* pad : g_pads) {
        if (!pad) continue;
        if (button != SDL_CONTROLLER_BUTTON_INVALID && SDL_GameControllerGetButton(pad, button))
            return true;
        if (pad_stick_toward(pad, vk)) return true;
    }
    return false;
}

void latch(int vk) {
    if (vk > 0 && vk < 256) g_latched[vk] = true;
}

// Notes presses and plugged controllers from one message before it is handed on.
void note_input(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
            if (!e.key.repeat) latch(virtual_key_of_scancode(e.key.keysym.scancode));
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            latch(gamepad_key_for_button(e.cbutton.button));
            break;
        case SDL_CONTROLLERAXISMOTION:
            // A stick crossing into an arrow's zone is a press of that arrow.
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ||
                e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                for (SDL_GameController* pad : g_pads) {
                    if (!pad ||
                        SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) != e.caxis.which)
                        continue;
                    for (const int vk : kArrowKeys) {
                        if (pad_stick_toward(pad, vk)) latch(vk);
                    }
                }
            }
            break;
        case SDL_CONTROLLERDEVICEADDED:
            gamepad_open(e.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            gamepad_close(e.cdevice.which);
            break;
        default:
            break;
    }
}

SDL_Joystick* g_virtual_pad = nullptr;
int g_virtual_index = -1;

bool driver_is_headless(const char* name) {
    return name && (std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0);
}

}  // namespace

bool video_driver_acceptable(const char* chosen, const char* requested) {
    if (!chosen) return false;
    if (!driver_is_headless(chosen)) return true;
    // The offscreen and dummy drivers show nothing: only a caller that names one gets it.
    return requested && std::strstr(requested, chosen) != nullptr;
}

bool video_init() {
    if (g_video) return true;
    // The X11 window class is the resource class name of the program.
    setenv("SDL_VIDEO_X11_WMCLASS", "KORVIN", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        error_reason("no display could be opened (%s); is DISPLAY or WAYLAND_DISPLAY set?",
                     SDL_GetError());
        return false;
    }
    const char* chosen = SDL_GetCurrentVideoDriver();
    if (!video_driver_acceptable(chosen, SDL_getenv("SDL_VIDEODRIVER"))) {
        error_reason(
            "no display: only SDL's %s driver could start; set DISPLAY (X11) or "
            "WAYLAND_DISPLAY to a running display",
            chosen ? chosen : "(none)");
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
        return false;
    }
    g_video = true;
    // A gamepad is welcome but never required.
    g_gamepads = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    std::memset(g_latched, 0, sizeof g_latched);
    return true;
}

void video_quit() {
    if (!g_video) return;
    if (g_gamepads) {
        gamepads_close_all();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        g_gamepads = false;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
    g_video = false;
}

bool window_create(const char* caption, const char* class_name) {
    if (!video_init()) return false;
    (void)class_name;  // applied through the X11 class hint in video_init
    g_shown = false;
    g_quit_posted = false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    const int scale = window_scale_for_desktop();
    int x = 0, y = 0;
    center_window_position(x, y, kClientWidth * scale, kClientHeight * scale);
    g_window = SDL_CreateWindow(caption, x, y, kClientWidth * scale, kClientHeight * scale,
                                SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
    if (!g_window) {
        error_reason("the window could not be made: %s", SDL_GetError());
        return false;
    }
    if (SDL_Surface* icon = make_icon()) {
        SDL_SetWindowIcon(g_window, icon);
        SDL_FreeSurface(icon);
    }
    return true;
}

void window_show() {
    if (!g_window) return;
    SDL_ShowWindow(g_window);
    g_shown = true;
}

void window_destroy() {
    if (!g_window) return;
    SDL_DestroyWindow(g_window);
    g_window = nullptr;
    g_quit_posted = true;
}

bool window_exists() {
    return g_window != nullptr;
}
bool window_was_shown() {
    return g_shown;
}
void* window_native() {
    return g_window;
}

Message message_take() {
    if (g_quit_posted) return Message::Quit;
    if (!g_video) return Message::None;
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return Message::None;
    note_input(e);
    if (e.type == SDL_QUIT) return Message::Close;
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) return Message::Close;
    return Message::Other;
}

void post_close_request() {
    if (!g_video) return;
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

bool quit_posted() {
    return g_quit_posted;
}
void quit_reset() {
    g_quit_posted = false;
}

bool key_down(int vk) {
    if (!g_video) return false;
    return scancode_down(SDL_GetKeyboardState(nullptr), vk) || pad_down(vk);
}

bool key_latched_take(int vk) {
    if (vk <= 0 || vk >= 256) return false;
    const bool was = g_latched[vk];
    g_latched[vk] = false;
    return was;
}

void key_event_push(int vk, bool down) {
    if (!g_video) return;
    for (const KeyBinding& k : kKeyBindings) {
        if (k.virtual_key != vk) continue;
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = k.a;
        SDL_PushEvent(&e);
        return;
    }
}

int gamepad_key_for_button(int button) {
    switch (button) {
        case kPadA:
            return 13;
        case kPadB:
            return 27;
        case kPadX:
            return 90;
        case kPadStart:
            return 16;
        case kPadBack:
            return 17;
        case kPadDpadUp:
            return 38;
        case kPadDpadDown:
            return 40;
        case kPadDpadLeft:
            return 37;
        case kPadDpadRight:
            return 39;
        default:
            return 0;
    }
}

int gamepad_button_for_key(int vk) {
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        if (gamepad_key_for_button(b) == vk) return b;
    }
    return kPadNone;
}

bool gamepad_stick_key(int x, int y, int vk) {
    switch (vk) {
        case 40:
            return y > kStickThreshold;
        case 38:
            return y < -kStickThreshold;
        case 39:
            return x > kStickThreshold;
        case 37:
            return x < -kStickThreshold;
        default:
            return false;
    }
}

int gamepad_count() {
    int n = 0;
    for (SDL_GameController* pad : g_pads) n += pad != nullptr;
    return n;
}

bool gamepad_virtual_attach() {
    if (!g_gamepads || g_virtual_pad) return false;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Tessaly test pad";
    g_virtual_index = SDL_JoystickAttachVirtualEx(&desc);
    if (g_virtual_index < 0) return false;
    g_virtual_pad = SDL_JoystickOpen(g_virtual_index);
    return g_virtual_pad != nullptr;
}

void gamepad_virtual_button(int button, bool down) {
    if (g_virtual_pad) SDL_JoystickSetVirtualButton(g_virtual_pad, button, down ? 1 : 0);
}

void gamepad_virtual_stick(int x, int y) {
    if (!g_virtual_pad) return;
    SDL_JoystickSetVirtualAxis(g_virtual_pad, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualAxis(g_virtual_pad, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
}

void gamepad_virtual_detach() {
    if (!g_virtual_pad) return;
    SDL_JoystickClose(g_virtual_pad);
    SDL_JoystickDetachVirtual(g_virtual_index);
    g_virtual_pad = nullptr;
    g_virtual_index = -1;
}

void error_reason(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(g_error_reason, sizeof g_error_reason, format, args);
    va_end(args);
}

const char* error_reason_text() {
    return g_error_reason;
}

void error_box(const char* caption, const char* text) {
    std::snprintf(g_last_error, sizeof g_last_error, "%s", text);
    std::fprintf(stderr, "%s: %s\n", caption, text);
    // The box keeps the game's own words; standard error says what went wrong and where.
    if (g_error_reason[0]) std::fprintf(stderr, "  reason: %s\n", g_error_reason);
    g_error_reason[0] = '\0';
    const char* driver = g_video ? SDL_GetCurrentVideoDriver() : nullptr;
    if (driver && !driver_is_headless(driver)) {
        // A hidden window is no parent to centre on: the box then centres on the screen.
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, g_shown ? g_window : nullptr);
    }
}

const char* last_error_text() {
    return g_last_error;
}
void last_error_reset() {
    g_last_error[0] = '\0';
}

void center_window_position(int& x, int& y, int width, int height) {
    x = 0;
    y = 0;
    SDL_Rect r;
    if (g_video && SDL_GetDisplayBounds(0, &r) == 0) {
        x = r.x + (r.w - width) / 2;
        y = r.y + (r.h - height) / 2;
    }
}

int window_scale_for(int usable_width, int usable_height) {
    const int by_width = usable_width / kClientWidth;
    const int by_height = usable_height / kClientHeight;
    const int scale = by_width < by_height ? by_width : by_height;
    return scale < 1 ? 1 : scale;
}

int window_scale_for_desktop() {
    SDL_Rect r;
    if (!g_video || SDL_GetDisplayUsableBounds(0, &r) != 0) return 1;
    // Leave room for a title bar and borders, which are not known before the window exists.
    constexpr int kDecoration = 48;
    return window_scale_for(r.w, r.h - kDecoration);
}

void window_place(bool windowed) {
    if (!g_window) return;
    if (windowed) {
        const int scale = window_scale_for_desktop();
        SDL_SetWindowFullscreen(g_window, 0);
        SDL_SetWindowAlwaysOnTop(g_window, SDL_FALSE);
        SDL_SetWindowSize(g_window, kClientWidth * scale, kClientHeight * scale);
        int x = 0, y = 0;
        center_window_position(x, y, kClientWidth * scale, kClientHeight * scale);
        SDL_SetWindowPosition(g_window, x, y);
    } else {
        // A 640 x 480 display mode is not to be had on most displays: the desktop-sized
        // window shows the picture scaled to fit.
        SDL_SetWindowAlwaysOnTop(g_window, SDL_TRUE);
        SDL_SetWindowFullscreen(g_window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    if (g_shown) SDL_ShowWindow(g_window);
}

}  // namespace tessaly::platform
