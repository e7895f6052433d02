#pragma once
// The shell: start-up chain, frame tick, shut-down, and the few helpers every Part uses.
#include <cstddef>
#include <cstdint>

namespace tessaly {

constexpr double kTickMs = 16.666666;

// What the shell runs with. The game uses the defaults; the headless runner and the
// tests swap the clock, skip the frame wait, fix the seed or replace start-up steps.
struct AppConfig {
    uint32_t (*clock)();
    void (*sleep)(uint32_t ms);
    bool no_wait;
    // No render pass: the ticks' updates alone (the headless runner's fast play; no draw
    // changes the game).
    bool no_render;
    bool fixed_seed;
    uint32_t seed;
    // Called after every frame tick with its number (1 for the first tick).
    void (*after_tick)(int tick);
    int (*step_init_parameters)();
    int (*step_pack_load)();
    int (*step_sound_init)();
    int (*step_graphics_start)();
    int (*step_first_task)();
};

AppConfig& app_config();
// Back to the game's own configuration.
void app_config_reset();

// The running flag: 0 asks for shut-down at the end of the current tick.
extern int32_t g_running;

// Entry: creates the window, runs start-up, then the message loop. Returns the exit code;
// max_ticks < 0 runs until the game quits, otherwise the loop shuts down after that many ticks.
int app_main(int max_ticks = -1);

bool create_main_window();
// The start-up chain; on failure shows the message, releases and destroys the window.
bool app_startup();
int init_parameters();
void app_shutdown();
void frame_tick();
void update_frame();
// The frame wait from t0 until at least 16.666666 ms have passed.
void frame_wait(uint32_t t0);
// Runs ticks while no message waits, until the quit message; returns its code.
int message_loop(int max_ticks);
// Ticks run since start-up.
int app_tick_count();

void* zero_bytes(void* buffer, size_t length);
// The error box with the game's caption and its own short text ("data load failed"); standard
// error gets the reason the last failure left.
void error_show(const char* text);

}  // namespace tessaly
