// bench-sound_init: how long sound start-up takes with the game's data.dat and how much
// the voices hold. Run in the build directory (SDL_AUDIODRIVER=dummy for a silent run).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/asset_pack.hpp"
#include "platform/audio.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

int main(int argc, char** argv) {
    using namespace tessaly;
    using Clock = std::chrono::steady_clock;
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    apply_settings_defaults();
    if (!pack_load()) {
        std::fprintf(stderr, "bench-sound_init: no data.dat here\n");
        return 1;
    }
    double open_ms = 0, best = 1e9, best_cpu = 1e9, total = 0;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        if (!platform::audio_open()) {
            std::fprintf(stderr, "bench-sound_init: no audio device\n");
            return 1;
        }
        const auto t1 = Clock::now();
        platform::audio_close();
        const auto t2 = Clock::now();
        const std::clock_t c0 = std::clock();
        const int ok = sound_init();
        const std::clock_t c1 = std::clock();
        const auto t3 = Clock::now();
        const double cpu = 1000.0 * static_cast<double>(c1 - c0) / CLOCKS_PER_SEC;
        best_cpu = cpu < best_cpu ? cpu : best_cpu;
        if (!ok) {
            std::fprintf(stderr, "bench-sound_init: sound_init failed\n");
            return 1;
        }
        open_ms = std::chrono::duration<double, std::milli>(t1 - t0).count();
        const double ms = std::chrono::duration<double, std::milli>(t3 - t2).count();
        best = ms < best ? ms : best;
        total += ms;
        if (i + 1 < runs) sound_release();
    }
    size_t source = 0;
    for (int i = 0; i < kSoundSlots; ++i) {
        uint32_t len = 0;
        pack_entry(kEntrySounds + i, &len);
        source += len;
    }
    std::printf(
        "sound_init: best %.1f ms, mean %.1f ms over %d runs, best processor time %.1f ms "
        "(device open alone %.1f ms)\n",
        best, total / runs, runs, best_cpu, open_ms);
    std::printf("voices: %zu bytes held for %d slots at %d Hz stereo (pack entries %zu bytes)\n",
                platform::audio_memory_bytes(), kSoundSlots, platform::kAudioRate, source);
    sound_release();
    pack_release();
    return 0;
}
