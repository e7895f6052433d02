// Sound in the start-up chain, on SDL's dummy audio driver: a real output that plays nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app.hpp"
#include "app/asset_pack.hpp"
#include "app/task_pool.hpp"
#include "platform/audio.hpp"
#include "platform/window.hpp"
#include "sound/sound.hpp"
#include "sound_pack.hpp"
#include "state/game_state.hpp"
#include "support/scratch_dir.hpp"

namespace tessaly {
namespace {

using test::WaveBuilder;

// Start-up runs in a directory of the test's own, with the data.dat the test writes there.
struct SoundStartupFixture : ::testing::Test {
    test::ScratchDir scratch{"sound", true};
    void SetUp() override {
        app_config_reset();
        app_config().no_wait = true;
        platform::audio_use_recording(false);
        platform::last_error_reset();
    }
    void TearDown() override {
        app_config_reset();
        platform::quit_reset();
    }
    void write_pack(const test::Sounds& sounds) {
        const auto pack = test::pack_with_sounds(sounds);
        FILE* f = std::fopen("data.dat", "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(pack.data(), 1, pack.size(), f);
        std::fclose(f);
    }
};

using SoundStartup = SoundStartupFixture;

TEST_F(SoundStartup, TwelveByteFormatChunkStopsStartUpWithTheMessage) {
    test::Sounds sounds = test::numbered_sounds();
    sounds[12] = WaveBuilder().fmt(1, 22050, 16, 12).data16({1, 2, 3}).finish();
    write_pack(sounds);
    ASSERT_TRUE(platform::window_create("Tessaly", "KORVIN"));
    EXPECT_FALSE(app_startup());
    EXPECT_STREQ(platform::last_error_text(), "sound init error");
    EXPECT_FALSE(platform::window_was_shown());
    EXPECT_FALSE(platform::window_exists());
    // Everything set up before is released, the slots made so far with it.
    EXPECT_EQ(pack_buffer(), nullptr);
    EXPECT_EQ(task_pool(), nullptr);
    EXPECT_FALSE(platform::audio_is_open());
    EXPECT_FALSE(sound_slot_ready(0));
    EXPECT_EQ(platform::audio_memory_bytes(), 0u);
}

TEST_F(SoundStartup, GameDataStartsOnTheDummyDriverAndTicksPlayNothingAllocated) {
    std::string cmd = std::string("cp '") + TESSALY_BINARY_DIR + "/data.dat' .";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    ASSERT_TRUE(platform::window_create("Tessaly", "KORVIN"));
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(app_startup());
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    for (int i = 0; i < kSoundSlots; ++i) EXPECT_TRUE(sound_slot_ready(i)) << i;
    const size_t held = platform::audio_memory_bytes();
    EXPECT_GT(held, 0u);
    RecordProperty("sound_memory_bytes", static_cast<int>(held));
    std::printf("start-up with sound: %.1f ms, %zu bytes of samples held\n", ms, held);
    // Effects and music during ticks neither convert nor allocate: the held bytes stay.
    music_play(kTrackTitle);
    for (int i = 0; i < 5; ++i) {
        sound_request(i, 0);
        frame_tick();
    }
    EXPECT_TRUE(platform::audio_voice_state(kTrackTitle).playing);
    EXPECT_EQ(platform::audio_memory_bytes(), held);
    app_shutdown();
    EXPECT_FALSE(platform::audio_is_open());
    EXPECT_FALSE(sound_slot_ready(kTrackTitle));
}

TEST_F(SoundStartup, UnknownAudioDriverStopsStartUpWithTheMessage) {
    test::Sounds sounds = test::numbered_sounds();
    write_pack(sounds);
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = old ? old : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ASSERT_TRUE(platform::window_create("Tessaly", "KORVIN"));
    EXPECT_FALSE(app_startup());
    if (old) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
    EXPECT_STREQ(platform::last_error_text(), "sound init error");
    EXPECT_FALSE(platform::audio_is_open());
    EXPECT_EQ(pack_buffer(), nullptr);
}

}  // namespace
}  // namespace tessaly
