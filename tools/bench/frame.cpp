// bench-frame: the real game, headless, through its scenes by key script, tick by tick.
// For every scene it prints the medians per tick of the update pass, the draw submission,
// the rest of the frame (presentation, and the rasteriser finishing with it), the GL draw
// calls, the fans (quads and sprites) and mesh subsets drawn, the allocations made on the
// main thread (the driver's included), and the resident memory at tick 200 and at the end.
// Times are the main thread's CPU time, start-up the wall-clock time to the first frame.
// Each scene runs twice in fresh processes: with the device's batched drawing and with its
// reference drawing (one draw per fan and per subset), and the ratios of the two are shown.
// Runs in the build directory (it reads the data files there).
//   bench-frame [--ticks N] [--scene title|select|board|battle|all]
// Inside: bench-frame --child SCENE MODE TICKS prints one result line.
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../run/lone_battle.hpp"
#include "app/app.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "platform/gpu.hpp"
#include "render/device.hpp"
#include "state/game_state.hpp"

// Allocation counting: the program's own malloc family, handing on to the C library's, so
// that every allocation of the process (the GL driver's too) passes here. Not under the
// sanitizers, which bring their own allocator.
#if defined(__SANITIZE_ADDRESS__)
#define TESSALY_COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSALY_COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef TESSALY_COUNT_ALLOCATIONS
#define TESSALY_COUNT_ALLOCATIONS 1
#endif

namespace {
thread_local bool t_main_thread = false;
long g_allocations = 0;
[[maybe_unused]] inline void note_allocation() {
    if (t_main_thread) ++g_allocations;
}
}  // namespace

#if TESSALY_COUNT_ALLOCATIONS
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);

void* malloc(size_t n) {
    note_allocation();
    return __libc_malloc(n);
}
void* calloc(size_t n, size_t size) {
    note_allocation();
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t n) {
    note_allocation();
    return __libc_realloc(p, n);
}
void free(void* p) {
    __libc_free(p);
}
void* memalign(size_t alignment, size_t n) {
    note_allocation();
    return __libc_memalign(alignment, n);
}
void* aligned_alloc(size_t alignment, size_t n) {
    note_allocation();
    return __libc_memalign(alignment, n);
}
int posix_memalign(void** out, size_t alignment, size_t n) {
    note_allocation();
    void* p = __libc_memalign(alignment, n);
    if (!p) return 12;  // ENOMEM
    *out = p;
    return 0;
}
}
#endif

namespace {

using namespace tessaly;
// The main thread's own CPU time: llvmpipe rasterises on it (LP_NUM_THREADS=0), and other
// processes on a busy machine do not count against the game.
struct Clock {
    using time_point = double;
    static double now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
    }
};

struct ScriptKey {
    int tick;
    int key;
};

// The keys of a scene, pressed for one tick each.
std::vector<ScriptKey> g_script;
int g_tick = 0;

bool scripted_key(int virtual_key) {
    for (const ScriptKey& k : g_script) {
        if (k.tick == g_tick && key_virtual_code(k.key) == virtual_key) return true;
    }
    return false;
}

// The battle scene: a human party against the four bosses, with hit points to last the run.
int battle_scene_start() {
    static const std::vector<int32_t> kBosses = {18, 19, 20, 21};
    return lone_battle_start(kBosses, 0, 9999);
}

void script_for(const std::string& scene, int ticks) {
    g_script.clear();
    if (scene == "title") return;
    if (scene == "battle") {
        // Enter now and then stops the gauges and dismisses the result lines, so blows land
        // and the stage plays them.
        for (int t = 40; t < ticks; t += 37) g_script.push_back({t, kKeyEnter});
        return;
    }
    // The title's first entry opens the character select.
    g_script.push_back({5, kKeyEnter});
    if (scene == "select") {
        // Turning the wheel now and then keeps the models moving.
        for (int t = 40; t < ticks; t += 60) g_script.push_back({t, kKeyRight});
        return;
    }
    // The board: choose the character, then every 40 ticks confirm (a message, the die) and
    // walk; the minimap is shown once on the board.
    g_script.push_back({30, kKeyEnter});
    g_script.push_back({70, kKeyControl});
    const int walk[4] = {kKeyUp, kKeyLeft, kKeyDown, kKeyRight};
    for (int t = 80, i = 0; t < ticks; t += 40, ++i) {
        g_script.push_back({t, kKeyEnter});
        g_script.push_back({t + 20, walk[(i / 3) % 4]});
    }
}

long resident_kib() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double ms(Clock::time_point a, Clock::time_point b) {
    return b - a;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Result {
    double startup_ms, update_ms, submit_ms, rest_ms, calls, fans, subsets, allocations;
    long rss_200_kib, rss_end_kib;
};

// One scene in this process: start the game, run its ticks the way frame_tick does, with
// the drawing split from the presentation for timing.
int run_child(const std::string& scene, bool reference, int ticks) {
    t_main_thread = true;
    const auto wall_start = std::chrono::steady_clock::now();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // llvmpipe rasterising on the main thread: the frame's whole cost lands in this process's
    // tick, as on a one-core machine.
    setenv("LP_NUM_THREADS", "0", 0);
    AppConfig& cfg = app_config();
    cfg.no_wait = true;
    cfg.fixed_seed = true;
    cfg.seed = 1;
    script_for(scene, ticks);
    if (scene == "battle") cfg.step_first_task = &battle_scene_start;
    keys_set_source(&scripted_key);
    platform::gpu_reference_drawing(reference);
    if (!create_main_window() || !graphics_ready()) {
        std::fprintf(stderr, "bench-frame: the game did not start here (data files?)\n");
        return 1;
    }
    // The first frame's picture is on its way: the time a player waits for the title.
    platform::gpu_clear(kClearColour, kClearDepth);
    task_draw_pass();
    platform::gpu_present();
    platform::gpu_finish();
    Result r{};
    // Start-up is waited for by the player: process start to the first title frame, on the
    // wall clock.
    r.startup_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_start)
            .count();

    std::vector<double> update, submit, rest, calls, fans, subsets, allocations;
    for (g_tick = 1; g_tick <= ticks && g_running; ++g_tick) {
        const long allocations_before = g_allocations;
        const Clock::time_point t0 = Clock::now();
        platform::gpu_clear(kClearColour, kClearDepth);
        task_draw_pass();
        platform::gpu_texture_bind(nullptr);
        const Clock::time_point t1 = Clock::now();
        platform::gpu_present();
        platform::gpu_finish();
        const Clock::time_point t2 = Clock::now();
        update_frame();
        const Clock::time_point t3 = Clock::now();
        if (g_tick > 10) {  // the first ticks build shader variants and caches
            submit.push_back(ms(t0, t1));
            rest.push_back(ms(t1, t2));
            update.push_back(ms(t2, t3));
            const platform::GpuFrameCounts c = platform::gpu_counts_last_frame();
            calls.push_back(c.draw_calls);
            fans.push_back(c.fans);
            subsets.push_back(c.subsets);
            allocations.push_back(static_cast<double>(g_allocations - allocations_before));
        }
        if (g_tick == std::min(200, ticks)) r.rss_200_kib = resident_kib();
    }
    r.rss_end_kib = resident_kib();
    r.update_ms = median(update);
    r.submit_ms = median(submit);
    r.rest_ms = median(rest);
    r.calls = median(calls);
    r.fans = median(fans);
    r.subsets = median(subsets);
    r.allocations = TESSALY_COUNT_ALLOCATIONS ? median(allocations) : -1;
    std::printf("%.3f %.4f %.4f %.4f %.0f %.0f %.0f %.0f %ld %ld\n", r.startup_ms, r.update_ms,
                r.submit_ms, r.rest_ms, r.calls, r.fans, r.subsets, r.allocations, r.rss_200_kib,
                r.rss_end_kib);
    app_shutdown();
    return 0;
}

bool run_scene(const char* self, const std::string& scene, const char* mode, int ticks,
               Result& out) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        close(fds[1]);
        const std::string t = std::to_string(ticks);
        execl(self, self, "--child", scene.c_str(), mode, t.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char line[512] = {};
    size_t got = 0;
    ssize_t n;
    while (got < sizeof line - 1 && (n = read(fds[0], line + got, sizeof line - 1 - got)) > 0)
        got += static_cast<size_t>(n);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    return std::sscanf(line, "%lf %lf %lf %lf %lf %lf %lf %lf %ld %ld", &out.startup_ms,
                       &out.update_ms, &out.submit_ms, &out.rest_ms, &out.calls, &out.fans,
                       &out.subsets, &out.allocations, &out.rss_200_kib, &out.rss_end_kib) == 10;
}

void print_row(const char* label, const Result& r) {
    std::printf(
        "  %-10s start %7.1f ms | update %6.3f  submit %6.3f  rest %6.3f  cpu %6.3f ms | "
        "calls %5.0f  fans %5.0f  subsets %4.0f | allocs %6.0f | rss %6ld -> %6ld KiB\n",
        label, r.startup_ms, r.update_ms, r.submit_ms, r.rest_ms,
        r.update_ms + r.submit_ms + r.rest_ms, r.calls, r.fans, r.subsets, r.allocations,
        r.rss_200_kib, r.rss_end_kib);
}

double ratio(double a, double b) {
    return b > 0 ? a / b : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0) {
        return run_child(argv[2], std::strcmp(argv[3], "reference") == 0, std::atoi(argv[4]));
    }
    int ticks = 600;
    std::string only = "all";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--ticks") == 0) ticks = std::max(20, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--scene") == 0) only = argv[i + 1];
    }
    std::printf("bench-frame: %d ticks a scene, medians per tick (cpu = update + submit + rest)\n",
                ticks);
    int failures = 0;
    for (const char* scene : {"title", "select", "board", "battle"}) {
        if (only != "all" && only != scene) continue;
        Result batched{}, reference{};
        if (!run_scene(argv[0], scene, "batched", ticks, batched) ||
            !run_scene(argv[0], scene, "reference", ticks, reference)) {
            std::printf("%s: failed to run\n", scene);
            ++failures;
            continue;
        }
        std::printf("%s\n", scene);
        print_row("batched", batched);
        print_row("reference", reference);
        std::printf("  batched / reference: cpu %.2f, draw calls %.3f, allocations %.2f\n",
                    ratio(batched.update_ms + batched.submit_ms + batched.rest_ms,
                          reference.update_ms + reference.submit_ms + reference.rest_ms),
                    ratio(batched.calls, reference.calls),
                    ratio(batched.allocations, reference.allocations));
    }
    return failures == 0 ? 0 : 1;
}
