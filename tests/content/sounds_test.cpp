// The seventeen sounds as the game finds them in data.dat: read by the game's own WAVE reader,
// then measured the way a listener would notice faults (silence, clipping, clicks, length).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "app/asset_pack.hpp"
#include "sound/sound.hpp"
#include "sound/wave.hpp"

namespace tessaly {
namespace {

constexpr int kSoundCount = 17;
constexpr int kFullScale = 32767;
constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr double kMusicMinSeconds = 30.0;
constexpr double kEffectMaxSeconds = 2.0;
// Effects answer a key or a hit within about a frame.
constexpr double kEffectOnsetSeconds = 0.02;
// The board asks for a step each time a walker reaches a square, at most every 4 frames; a
// spinning attacker asks for the whoosh every 10 frames. Every request rewinds the effect, so
// a longer sound would be cut off (and click) on every repeat.
constexpr int kStepRepeatFrames = 4;
constexpr int kSpinRepeatFrames = 10;
constexpr int kEffectStep = 6;
constexpr int kEffectCursor = 8;
constexpr int kEffectWhoosh = 10;
// The cursor blip plays on nearly every key press; it must be over before the next one.
constexpr double kCursorMaxSeconds = 0.1;
// How many steps on either side of the loop seam it is compared with.
constexpr int kSeamNeighbourhood = 64;

struct Sound {
    WaveFormat format{};
    std::vector<std::vector<int>> channels;  // signed, 16-bit scale

    size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
    double seconds() const {
        return static_cast<double>(frames()) / static_cast<double>(format.samples_per_second);
    }
};

int sample_at(const unsigned char* p, int bits) {
    if (bits == 8) return (static_cast<int>(p[0]) - 128) * 256;
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
}

// Every sound, copied out of the pack once for the whole suite.
class SoundContent : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        sounds().clear();
        errors().clear();
        if (!pack_load()) return;  // reported by every test through loaded()
        for (int i = 0; i < kSoundCount; ++i) {
            uint32_t length = 0;
            const unsigned char* entry = pack_entry(kEntrySounds + i, &length);
            images().emplace_back(entry, entry + length);
            WaveImage w{};
            const WaveError e = wave_read(std::span<const unsigned char>(entry, length), &w);
            errors().push_back(e);
            Sound s;
            s.format = w.format;
            if (e == WaveError::None && wave_format_playable(w.format)) {
                const int step = w.format.bits_per_sample / 8;
                const size_t frames = w.samples.size() / w.format.block_align;
                s.channels.assign(w.format.channels, std::vector<int>(frames));
                for (size_t f = 0; f < frames; ++f) {
                    for (int c = 0; c < w.format.channels; ++c) {
                        s.channels[c][f] =
                            sample_at(w.samples.data() + f * w.format.block_align + c * step,
                                      w.format.bits_per_sample);
                    }
                }
            }
            sounds().push_back(std::move(s));
        }
        pack_release();
    }

    static std::vector<Sound>& sounds() {
        static std::vector<Sound> s;
        return s;
    }
    static std::vector<WaveError>& errors() {
        static std::vector<WaveError> e;
        return e;
    }
    static std::vector<std::vector<unsigned char>>& images() {
        static std::vector<std::vector<unsigned char>> i;
        return i;
    }
    static bool loaded() { return sounds().size() == kSoundCount; }
};

int peak_of(const std::vector<int>& x) {
    int p = 0;
    for (int v : x) p = std::max(p, std::abs(v));
    return p;
}

double rms_of(const std::vector<int>& x, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += static_cast<double>(x[i]) * x[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

TEST_F(SoundContent, EveryEntryIsAPlayableWave) {
    ASSERT_TRUE(loaded()) << "data.dat must be in the working directory";
    for (int i = 0; i < kSoundCount; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(errors()[i], WaveError::None) << wave_error_text(errors()[i]);
        const WaveFormat& f = sounds()[i].format;
        EXPECT_TRUE(wave_format_playable(f));
        EXPECT_TRUE(f.samples_per_second == 22050 || f.samples_per_second == 44100);
        EXPECT_EQ(f.avg_bytes_per_second, f.samples_per_second * f.block_align);
        EXPECT_GT(sounds()[i].frames(), 0u);
        // The RIFF size covers the whole entry: nothing trails the chunk area.
        const auto& img = images()[i];
        const uint32_t riff = img[4] | img[5] << 8 | img[6] << 16 | uint32_t{img[7]} << 24;
        EXPECT_EQ(riff + 8u, img.size());
    }
}

TEST_F(SoundContent, NothingClips) {
    ASSERT_TRUE(loaded());
    for (int i = 0; i < kSoundCount; ++i) {
        for (const auto& ch : sounds()[i].channels) {
            // Headroom of about 0.1 dB: a sample at full scale means the mix was cut off.
            EXPECT_LT(peak_of(ch), kFullScale * 99 / 100) << "sound " << i;
        }
    }
}

TEST_F(SoundContent, MusicLoopsLastAtLeastThirtySeconds) {
    ASSERT_TRUE(loaded());
    for (int track : {kTrackTitle, kTrackBoard, kTrackBattle}) {
        EXPECT_GE(sounds()[track].seconds(), kMusicMinSeconds) << "track " << track;
    }
}

TEST_F(SoundContent, MusicLoopEndFlowsIntoItsStart) {
    ASSERT_TRUE(loaded());
    for (int track : {kTrackTitle, kTrackBoard, kTrackBattle}) {
        for (const auto& x : sounds()[track].channels) {
            SCOPED_TRACE(track);
            const size_t n = x.size();
            ASSERT_GT(n, 2u * kSeamNeighbourhood);
            std::vector<int> steps(n - 1);
            for (size_t i = 0; i + 1 < n; ++i) steps[i] = std::abs(x[i + 1] - x[i]);
            const int seam = std::abs(x[0] - x[n - 1]);
            int near = 0;
            for (int k = 0; k < kSeamNeighbourhood; ++k) {
                near = std::max({near, steps[k], steps[n - 2 - k]});
            }
            std::vector<int> sorted = steps;
            const size_t p99 = sorted.size() * 99 / 100;
            std::nth_element(sorted.begin(), sorted.begin() + p99, sorted.end());
            // A click at the loop point is a step far above the ones around it.
            EXPECT_LE(seam, sorted[p99]);
            EXPECT_LE(seam, near * 3 / 2);
        }
    }
}

TEST_F(SoundContent, MusicLoopsDoNotFadeAtTheSeam) {
    // A fade out and back in would hide a click but leave a hole in the music.
    ASSERT_TRUE(loaded());
    for (int track : {kTrackTitle, kTrackBoard, kTrackBattle}) {
        const Sound& s = sounds()[track];
        const size_t half_second = s.format.samples_per_second / 2;
        for (const auto& x : s.channels) {
            const double whole = rms_of(x, 0, x.size());
            EXPECT_GT(rms_of(x, 0, half_second), whole / 4) << "track " << track;
            EXPECT_GT(rms_of(x, x.size() - half_second, x.size()), whole / 4) << "track " << track;
        }
    }
}

TEST_F(SoundContent, EffectsAreShortAndAudible) {
    ASSERT_TRUE(loaded());
    for (int i = 0; i < kEffectCount; ++i) {
        const Sound& s = sounds()[i];
        SCOPED_TRACE(i);
        EXPECT_LT(s.seconds(), kEffectMaxSeconds);
        for (const auto& x : s.channels) {
            EXPECT_GT(peak_of(x), kFullScale / 10);
            EXPECT_GT(rms_of(x, 0, x.size()), kFullScale / 100.0);
        }
    }
}

TEST_F(SoundContent, EffectsSoundAtOnceAndEndInSilence) {
    ASSERT_TRUE(loaded());
    for (int i = 0; i < kEffectCount; ++i) {
        const Sound& s = sounds()[i];
        SCOPED_TRACE(i);
        const size_t onset_limit =
            static_cast<size_t>(kEffectOnsetSeconds * s.format.samples_per_second);
        for (const auto& x : s.channels) {
            const int loud = peak_of(x) / 10;
            const auto first =
                std::find_if(x.begin(), x.end(), [loud](int v) { return std::abs(v) >= loud; });
            EXPECT_LE(static_cast<size_t>(first - x.begin()), onset_limit);
            // A sound that stops short of zero clicks when the buffer ends.
            EXPECT_LE(std::abs(x.back()), kFullScale / 100);
        }
    }
}

TEST_F(SoundContent, RepeatedEffectsEndBeforeTheirNextRequest) {
    ASSERT_TRUE(loaded());
    EXPECT_LE(sounds()[kEffectStep].seconds(), kStepRepeatFrames * kFrameSeconds);
    EXPECT_LE(sounds()[kEffectWhoosh].seconds(), kSpinRepeatFrames * kFrameSeconds);
    EXPECT_LE(sounds()[kEffectCursor].seconds(), kCursorMaxSeconds);
}

}  // namespace
}  // namespace tessaly
