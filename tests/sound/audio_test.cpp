#include "platform/audio.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_mixer.hpp"
#include "support/scratch_dir.hpp"

namespace tessaly::platform {
namespace {

std::vector<int16_t> stereo(std::initializer_list<int16_t> lr) {
    return std::vector<int16_t>(lr);
}

MixVoice voice_of(const std::vector<int16_t>& s, bool playing = true, bool looping = false) {
    return MixVoice{s.data(), static_cast<uint32_t>(s.size() / 2), 0, playing, looping};
}

TEST(AudioMixer, SumsPlayingVoicesAndClips) {
    const auto a = stereo({1000, -1000, 30000, -30000});
    const auto b = stereo({24, 24, 30000, -30000});
    const auto c = stereo({5000, 5000, 5000, 5000});
    MixVoice v[3] = {voice_of(a), voice_of(b), voice_of(c, false)};
    int16_t out[4];
    mix_voices(v, 3, out, 2);
    EXPECT_EQ(out[0], 1024);
    EXPECT_EQ(out[1], -976);
    EXPECT_EQ(out[2], 32767);
    EXPECT_EQ(out[3], -32768);
    EXPECT_EQ(v[2].position, 0u);  // a stopped voice does not move
}

TEST(AudioMixer, OneShotEndsInSilenceBackAtItsStart) {
    const auto a = stereo({1, 2, 3, 4, 5, 6});
    MixVoice v[1] = {voice_of(a)};
    int16_t out[10];
    mix_voices(v, 1, out, 5);
    const int16_t expected[10] = {1, 2, 3, 4, 5, 6, 0, 0, 0, 0};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], expected[i]) << i;
    EXPECT_FALSE(v[0].playing);
    EXPECT_EQ(v[0].position, 0u);
}

TEST(AudioMixer, LoopingVoiceWrapsAround) {
    const auto a = stereo({1, 1, 2, 2, 3, 3});
    MixVoice v[1] = {voice_of(a, true, true)};
    v[0].position = 2;
    int16_t out[14];
    mix_voices(v, 1, out, 7);
    const int16_t expected[7] = {3, 1, 2, 3, 1, 2, 3};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(out[2 * i], expected[i]) << i;
    EXPECT_TRUE(v[0].playing);
    EXPECT_EQ(v[0].position, 0u);
}

TEST(AudioMixer, LongRequestCrossesMixBlocks) {
    std::vector<int16_t> a(2 * 1000);
    for (int i = 0; i < 1000; ++i) a[2 * i] = a[2 * i + 1] = static_cast<int16_t>(i);
    MixVoice v[1] = {voice_of(a)};
    std::vector<int16_t> out(2 * 1500, -1);
    mix_voices(v, 1, out.data(), 1500);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(out[2 * i + 1], i);
    for (int i = 1000; i < 1500; ++i) ASSERT_EQ(out[2 * i], 0);
}

TEST(AudioMixer, EmptyVoiceStopsEvenWhenLooping) {
    MixVoice v[1] = {MixVoice{nullptr, 0, 0, true, true}};
    int16_t out[8];
    mix_voices(v, 1, out, 4);
    EXPECT_FALSE(v[0].playing);
    for (int16_t s : out) EXPECT_EQ(s, 0);
}

// The device back end on SDL's dummy driver: a real output that plays nothing.
struct AudioDeviceFixture : ::testing::Test {
    void SetUp() override {
        audio_use_recording(false);
        ASSERT_TRUE(audio_open());
    }
    void TearDown() override { audio_close(); }
    // Waits up to a second for the device thread to bring the voice to the given state.
    bool wait_for(int voice, bool (*done)(const AudioVoiceState&)) {
        for (int i = 0; i < 200; ++i) {
            if (done(audio_voice_state(voice))) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
};

using AudioDevice = AudioDeviceFixture;

TEST_F(AudioDevice, ConvertsEveryFormatToStereoAtTheOutputRate) {
    struct Case {
        PcmFormat format;
        uint32_t source_frames;
    };
    const Case cases[] = {{{1, 22050, 8}, 2205},
                          {{2, 22050, 16}, 2205},
                          {{1, 44100, 16}, 441},
                          {{2, 11025, 8}, 1000},
                          {{1, 48000, 16}, 4800}};
    for (const Case& c : cases) {
        const uint32_t bytes = c.source_frames * c.format.channels * c.format.bits / 8;
        std::vector<unsigned char> samples(bytes, c.format.bits == 8 ? 128 : 0);
        ASSERT_TRUE(audio_voice_create(3, c.format, samples.data(), bytes));
        const double expected = c.source_frames * double(kAudioRate) / c.format.rate;
        const AudioVoiceState v = audio_voice_state(3);
        EXPECT_TRUE(v.exists);
        EXPECT_NEAR(v.frames, expected, expected * 0.01 + 2) << c.format.rate;
        EXPECT_EQ(audio_memory_bytes(), size_t{v.frames} * kAudioFrameBytes);
        audio_voice_release(3);
        EXPECT_FALSE(audio_voice_state(3).exists);
    }
    EXPECT_EQ(audio_memory_bytes(), 0u);
}

TEST_F(AudioDevice, KeepsTheSignalDuplicatingMonoIntoBothChannels) {
    // A 441 Hz sine at half the output rate, 8-bit unsigned and 16-bit signed.
    constexpr int kRate = kAudioRate / 2;
    constexpr int kFrames = kRate / 10;
    std::vector<unsigned char> u8(kFrames);
    std::vector<unsigned char> s16(kFrames * 2);
    for (int i = 0; i < kFrames; ++i) {
        const double x = std::sin(2 * M_PI * 441 * i / kRate);
        u8[i] = static_cast<unsigned char>(128 + std::lround(100 * x));
        const auto v = static_cast<int16_t>(std::lround(20000 * x));
        s16[2 * i] = static_cast<unsigned char>(v);
        s16[2 * i + 1] = static_cast<unsigned char>(static_cast<uint16_t>(v) >> 8);
    }
    struct Case {
        int bits;
        const std::vector<unsigned char>* samples;
        double amplitude;
    };
    for (const Case& c : {Case{8, &u8, 100 * 256.0}, Case{16, &s16, 20000.0}}) {
        ASSERT_TRUE(audio_voice_create(0, PcmFormat{1, kRate, c.bits}, c.samples->data(),
                                       static_cast<uint32_t>(c.samples->size())));
        const AudioVoiceState v = audio_voice_state(0);
        ASSERT_EQ(v.frames, 2u * kFrames);
        double worst = 0;
        for (uint32_t i = 20; i < v.frames - 20; ++i) {
            const double ideal = c.amplitude * std::sin(2 * M_PI * 441 * i / kAudioRate);
            EXPECT_EQ(v.samples[2 * i], v.samples[2 * i + 1]);
            worst = std::max(worst, std::abs(v.samples[2 * i] - ideal));
        }
        EXPECT_LT(worst, c.amplitude * 0.02) << c.bits;
        audio_voice_release(0);
    }
}

TEST_F(AudioDevice, RefusesTakenVoicesAndOtherFormats) {
    const unsigned char s[4] = {0, 0, 0, 0};
    ASSERT_TRUE(audio_voice_create(0, PcmFormat{1, 22050, 16}, s, 4));
    EXPECT_FALSE(audio_voice_create(0, PcmFormat{1, 22050, 16}, s, 4));
    EXPECT_FALSE(audio_voice_create(1, PcmFormat{3, 22050, 16}, s, 4));
    EXPECT_FALSE(audio_voice_create(1, PcmFormat{1, 22050, 24}, s, 4));
    EXPECT_FALSE(audio_voice_create(1, PcmFormat{1, 0, 16}, s, 4));
    EXPECT_FALSE(audio_voice_create(kAudioVoices, PcmFormat{1, 22050, 16}, s, 4));
    EXPECT_FALSE(audio_voice_create(-1, PcmFormat{1, 22050, 16}, s, 4));
    // 100000 samples at one a second would need far more than a static buffer may hold.
    std::vector<unsigned char> slow(100000, 128);
    EXPECT_FALSE(audio_voice_create(1, PcmFormat{1, 1, 8}, slow.data(), 100000));
    EXPECT_EQ(audio_memory_bytes(), size_t{kAudioFrameBytes} * audio_voice_state(0).frames);
}

TEST_F(AudioDevice, OneShotPlaysToItsEndAndGoesBackToItsStart) {
    // 50 ms of silence; the dummy device consumes it in real time.
    std::vector<unsigned char> s(2205 * 2, 0);
    ASSERT_TRUE(
        audio_voice_create(8, PcmFormat{1, 44100, 16}, s.data(), static_cast<uint32_t>(s.size())));
    audio_voice_play(8, false);
    EXPECT_TRUE(audio_voice_state(8).playing);
    EXPECT_TRUE(wait_for(8, [](const AudioVoiceState& v) { return !v.playing; }));
    EXPECT_EQ(audio_voice_state(8).position, 0u);
}

TEST_F(AudioDevice, StopKeepsThePositionAndRewindGoesBackToTheStart) {
    std::vector<unsigned char> s(44100 * 2, 0);
    ASSERT_TRUE(
        audio_voice_create(14, PcmFormat{1, 44100, 16}, s.data(), static_cast<uint32_t>(s.size())));
    audio_voice_play(14, true);
    ASSERT_TRUE(wait_for(14, [](const AudioVoiceState& v) { return v.position > 0; }));
    audio_voice_stop(14);
    const uint32_t at = audio_voice_state(14).position;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(audio_voice_state(14).position, at);
    EXPECT_FALSE(audio_voice_state(14).playing);
    audio_voice_rewind(14);
    EXPECT_EQ(audio_voice_state(14).position, 0u);
    // Playing again goes on from where it stands, looping.
    audio_voice_play(14, true);
    EXPECT_TRUE(audio_voice_state(14).looping);
}

TEST_F(AudioDevice, LoopingVoiceOutlivesItsLength) {
    std::vector<unsigned char> s(441 * 2, 0);  // 10 ms
    ASSERT_TRUE(
        audio_voice_create(16, PcmFormat{1, 44100, 16}, s.data(), static_cast<uint32_t>(s.size())));
    audio_voice_play(16, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(audio_voice_state(16).playing);
}

TEST_F(AudioDevice, CloseReleasesEveryVoice) {
    const unsigned char s[4] = {0, 0, 0, 0};
    ASSERT_TRUE(audio_voice_create(2, PcmFormat{1, 22050, 16}, s, 4));
    audio_close();
    EXPECT_FALSE(audio_is_open());
    EXPECT_FALSE(audio_voice_state(2).exists);
    EXPECT_EQ(audio_memory_bytes(), 0u);
    // Operations on a closed output do nothing.
    audio_voice_play(2, false);
    audio_voice_stop(2);
    audio_voice_rewind(2);
    audio_voice_release(2);
    EXPECT_FALSE(audio_voice_create(2, PcmFormat{1, 22050, 16}, s, 4));
}

// SDL's disk driver writes what the device is given to a file: the mix itself.
TEST(AudioDeviceOutput, WritesTheVoiceSamplesExactlyInBothChannels) {
    const test::ScratchDir scratch("audio");
    const std::string file = scratch.file("out.raw");
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = old ? old : "";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    audio_use_recording(false);
    const bool opened = audio_open();
    if (old) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
    ASSERT_TRUE(opened);
    // 100 ms of a 441 Hz sine at the output rate, mono 16-bit.
    constexpr int kFrames = kAudioRate / 10;
    std::vector<int16_t> sine(kFrames);
    std::vector<unsigned char> bytes(kFrames * 2);
    for (int i = 0; i < kFrames; ++i) {
        sine[i] =
            static_cast<int16_t>(std::lround(12000 * std::sin(2 * M_PI * 441 * i / kAudioRate)));
        bytes[2 * i] = static_cast<unsigned char>(sine[i]);
        bytes[2 * i + 1] = static_cast<unsigned char>(static_cast<uint16_t>(sine[i]) >> 8);
    }
    ASSERT_TRUE(audio_voice_create(9, PcmFormat{1, kAudioRate, 16}, bytes.data(),
                                   static_cast<uint32_t>(bytes.size())));
    audio_voice_play(9, false);
    for (int i = 0; i < 200 && audio_voice_state(9).playing; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(audio_voice_state(9).playing);
    audio_close();

    FILE* f = std::fopen(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<int16_t> out(1 << 20);
    const size_t got = std::fread(out.data(), 2, out.size(), f);
    std::fclose(f);
    out.resize(got);
    // The sine starts with a zero; its first nonzero sample is its second one.
    size_t first = 0;
    while (first < out.size() && out[first] == 0) ++first;
    ASSERT_GE(first, 2u);
    ASSERT_LE(first + 2 * (kFrames - 1), out.size());
    const size_t start = first - 2;
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_EQ(out[start + 2 * i], sine[i]) << i;
        ASSERT_EQ(out[start + 2 * i + 1], sine[i]) << i;
    }
    // After its end the voice is silent.
    for (size_t i = start + 2 * kFrames; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
}

TEST(AudioRecording, LogsOperationsOnExistingVoicesInOrder) {
    audio_use_recording(true);
    audio_record_clear();
    ASSERT_TRUE(audio_open());
    const unsigned char s[4] = {0, 0, 0, 0};
    ASSERT_TRUE(audio_voice_create(5, PcmFormat{1, 22050, 16}, s, 4));
    audio_voice_play(5, false);
    audio_voice_play(4, false);  // no such voice
    audio_voice_stop(5);
    audio_voice_rewind(5);
    audio_voice_play(5, true);
    audio_close();
    EXPECT_EQ(audio_record_text(),
              "open\ncreate 5\nplay 5\nstop 5\nrewind 5\nloop 5\nrelease 5\nclose\n");
    ASSERT_EQ(audio_record_count(), 8);
    EXPECT_EQ(audio_record_event(5).op, AudioOp::Loop);
    EXPECT_EQ(audio_record_event(5).voice, 5);
    EXPECT_FALSE(audio_record_overflowed());
    audio_record_clear();
    audio_use_recording(false);
}

TEST(AudioRecording, FullLogDropsLaterOperationsAndSaysSo) {
    audio_use_recording(true);
    audio_record_clear();
    ASSERT_TRUE(audio_open());
    const unsigned char s[4] = {0, 0, 0, 0};
    ASSERT_TRUE(audio_voice_create(0, PcmFormat{1, 22050, 16}, s, 4));
    for (int i = 0; i < 10000; ++i) audio_voice_stop(0);
    EXPECT_TRUE(audio_record_overflowed());
    EXPECT_LT(audio_record_count(), 10000);
    audio_close();
    audio_record_clear();
    EXPECT_FALSE(audio_record_overflowed());
    audio_use_recording(false);
}

TEST(AudioRecording, BackEndIsNotSwitchedWhileOpen) {
    audio_use_recording(true);
    ASSERT_TRUE(audio_open());
    audio_use_recording(false);
    EXPECT_TRUE(audio_recording());
    audio_close();
    audio_use_recording(false);
    EXPECT_FALSE(audio_recording());
    audio_record_clear();
}

}  // namespace
}  // namespace tessaly::platform
