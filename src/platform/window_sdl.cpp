#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/window.hpp"

namespace tessaly::platform {
namespace {

SDL_Window* g_window = nullptr;
bool g_shown = false;
bool g_quit_posted = false;
bool g_video = false;
char g_last_error[128] = "";

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
bool scancode_down(const Uint8* state, SDL_Scancode a, SDL_Scancode b = SDL_SCANCODE_UNKNOWN) {
    return state[a] || (b != SDL_SCANCODE_UNKNOWN && state[b]);
}

}  // namespace

bool video_init() {
    if (g_video) return true;
    // The X11 window class is the resource class name of the program.
    setenv("SDL_VIDEO_X11_WMCLASS", "KORVIN", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "tessaly: video init: %s\n", SDL_GetError());
        return false;
    }
    g_video = true;
    return true;
}

void video_quit() {
    if (!g_video) return;
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
    int x = 0, y = 0;
    center_window_position(x, y, kClientWidth, kClientHeight);
    g_window = SDL_CreateWindow(caption, x, y, kClientWidth, kClientHeight,
                                SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
    if (!g_window) {
        std::fprintf(stderr, "tessaly: window: %s\n", SDL_GetError());
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
    const Uint8* s = SDL_GetKeyboardState(nullptr);
    switch (vk) {
        case 40:
            return scancode_down(s, SDL_SCANCODE_DOWN);
        case 38:
            return scancode_down(s, SDL_SCANCODE_UP);
        case 39:
            return scancode_down(s, SDL_SCANCODE_RIGHT);
        case 37:
            return scancode_down(s, SDL_SCANCODE_LEFT);
        case 27:
            return scancode_down(s, SDL_SCANCODE_ESCAPE);
        case 17:
            return scancode_down(s, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL);
        case 13:
            return scancode_down(s, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER);
        case 90:
            return scancode_down(s, SDL_SCANCODE_Z);
        case 32:
            return scancode_down(s, SDL_SCANCODE_SPACE);
        case 16:
            return scancode_down(s, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT);
        case 65:
            return scancode_down(s, SDL_SCANCODE_A);
        case 83:
            return scancode_down(s, SDL_SCANCODE_S);
        case 68:
            return scancode_down(s, SDL_SCANCODE_D);
        default:
            return false;
    }
}

void error_box(const char* caption, const char* text) {
    std::snprintf(g_last_error, sizeof g_last_error, "%s", text);
    std::fprintf(stderr, "%s: %s\n", caption, text);
    // Without a display (a headless run) the box cannot be shown; standard error says it.
    const char* driver = g_video ? SDL_GetCurrentVideoDriver() : nullptr;
    if (driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, g_window);
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

void window_place(bool windowed) {
    if (!g_window) return;
    if (windowed) {
        SDL_SetWindowFullscreen(g_window, 0);
        SDL_SetWindowAlwaysOnTop(g_window, SDL_FALSE);
        SDL_SetWindowSize(g_window, kClientWidth, kClientHeight);
        int x = 0, y = 0;
        center_window_position(x, y, kClientWidth, kClientHeight);
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
