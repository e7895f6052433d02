#include "app/app.hpp"

#include <cstring>

#include "app/asset_pack.hpp"
#include "app/keys.hpp"
#include "app/random.hpp"
#include "app/task_pool.hpp"
#include "field/map.hpp"
#include "platform/clock.hpp"
#include "platform/window.hpp"
#include "render/device.hpp"
#include "scene/options.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {

int32_t g_running = 0;

namespace {

int g_ticks = 0;
bool g_startup_failed = false;

int graphics_start_with_settings() {
    return graphics_start(display_settings());
}

AppConfig default_config() {
    AppConfig c{};
    c.clock = &platform::ticks_ms;
    c.sleep = &platform::sleep_ms;
    c.no_wait = false;
    c.no_render = false;
    c.fixed_seed = false;
    c.seed = 0;
    c.after_tick = nullptr;
    c.step_init_parameters = &init_parameters;
    c.step_pack_load = &pack_load;
    c.step_sound_init = &sound_init;
    c.step_graphics_start = &graphics_start_with_settings;
    c.step_first_task = &title_open;
    return c;
}

AppConfig g_config = default_config();

constexpr const char* kCaption = "Tessaly";
constexpr const char* kClassName = "KORVIN";
constexpr const char* kErrorCaption = "error";

void release_pool_and_map() {
    pool_destroy();
    map_free();
}

// The message, then the releases, then the window: graphics live in the window, so they are
// released while it still exists, in the order of the shut-down.
void fail_startup(const char* text, void (*release)()) {
    error_show(text);
    if (release) release();
    platform::window_destroy();
}

void release_after_pack() {
    release_pool_and_map();
    pack_release();
}
void release_after_sound() {
    release_after_pack();
    sound_release();
}
void release_after_graphics() {
    release_after_sound();
    graphics_release();
}

}  // namespace

AppConfig& app_config() {
    return g_config;
}
void app_config_reset() {
    g_config = default_config();
}

void error_show(const char* text) {
    platform::error_box(kErrorCaption, text);
}

void* zero_bytes(void* buffer, size_t length) {
    std::memset(buffer, 0, length);
    return buffer;
}

int init_parameters() {
    random_seed(g_config.fixed_seed ? g_config.seed
                                    : static_cast<uint32_t>(platform::calendar_seconds()));
    g_running = 1;
    g_ticks = 0;
    g_game.square_count = 0;
    g_game.minimap_flag = 0;
    keys_init();
    apply_settings_defaults();
    if (!pool_create()) return 0;
    // The pool stays allocated if the map buffers fail; the failure path does not free it.
    return map_alloc();
}

bool app_startup() {
    if (!g_config.step_init_parameters()) {
        fail_startup("parameter init error", nullptr);
        return false;
    }
    if (!g_config.step_pack_load()) {
        fail_startup("data load failed", &release_pool_and_map);
        return false;
    }
    if (!g_config.step_sound_init()) {
        fail_startup("sound init error", &release_after_sound);
        return false;
    }
    if (!g_config.step_graphics_start()) {
        fail_startup("graphic init error", &release_after_graphics);
        return false;
    }
    platform::timer_begin_period();
    g_config.step_first_task();
    return true;
}

void app_shutdown() {
    platform::timer_end_period();
    release_pool_and_map();
    pack_release();
    sound_release();
    graphics_release();
    platform::window_destroy();
}

void update_frame() {
    sound_clear_requests();
    keys_poll();
    task_update_pass();
    sound_play_requests();
}

void frame_wait(uint32_t t0) {
    for (;;) {
        const uint32_t elapsed = g_config.clock() - t0;
        const double left = kTickMs - static_cast<double>(elapsed);
        if (left <= 0.0) return;
        // Sleep while more than two milliseconds remain, then spin to the boundary.
        if (left > 2.0 && g_config.sleep) g_config.sleep(static_cast<uint32_t>(left) - 1);
    }
}

void frame_tick() {
    const uint32_t t0 = g_config.clock();
    if (!g_config.no_render) render_frame();
    update_frame();
    if (!g_config.no_wait) frame_wait(t0);
    ++g_ticks;
    if (g_config.after_tick) g_config.after_tick(g_ticks);
    // A device that could not be made again after a lost frame or a settings change ends the run.
    if (graphics_failed()) g_running = 0;
    if (g_running == 0) app_shutdown();
}

int app_tick_count() {
    return g_ticks;
}

int message_loop(int max_ticks) {
    for (;;) {
        switch (platform::message_take()) {
            case platform::Message::Quit:
                platform::quit_reset();
                return 0;
            case platform::Message::Close:
                app_shutdown();
                break;
            case platform::Message::Other:
                break;
            case platform::Message::None:
                if (max_ticks >= 0 && g_ticks >= max_ticks) {
                    app_shutdown();
                    break;
                }
                frame_tick();
                break;
        }
    }
}

bool create_main_window() {
    g_startup_failed = false;
    if (!platform::window_create(kCaption, kClassName)) return false;
    // Start-up runs before the window is first shown; a failure destroys it unseen.
    if (!app_startup()) {
        g_startup_failed = true;
        return true;
    }
    platform::window_show();
    return true;
}

int app_main(int max_ticks) {
    if (!create_main_window()) {
        // No window, no display: say so rather than end without a word.
        error_show("graphic init error");
        return 1;
    }
    const int code = message_loop(max_ticks);
    platform::video_quit();
    // A failed start-up is not reported as success to whoever started the game.
    return g_startup_failed ? 1 : code;
}

}  // namespace tessaly
