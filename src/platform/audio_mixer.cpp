#include "platform/audio_mixer.hpp"

#include <algorithm>

namespace tessaly::platform {
namespace {

constexpr int kMixBlockFrames = 256;
constexpr int kChannels = 2;

void mix_one(MixVoice& v, int32_t* acc, int frames) {
    int done = 0;
    while (done < frames && v.playing) {
        if (v.position >= v.frames) {
            // An empty voice or one whose end was reached: start over or stop.
            v.position = 0;
            if (!v.looping || v.frames == 0) {
                v.playing = false;
                return;
            }
        }
        const uint32_t left = v.frames - v.position;
        const int take = static_cast<int>(std::min<uint32_t>(left, frames - done));
        const int16_t* src = v.samples + static_cast<size_t>(v.position) * kChannels;
        int32_t* dst = acc + done * kChannels;
        for (int i = 0; i < take * kChannels; ++i) dst[i] += src[i];
        v.position += static_cast<uint32_t>(take);
        done += take;
        if (v.position >= v.frames) {
            v.position = 0;
            if (!v.looping) v.playing = false;
        }
    }
}

}  // namespace

void mix_voices(MixVoice* voices, int count, int16_t* out, int frames) {
    int32_t acc[kMixBlockFrames * kChannels];
    for (int start = 0; start < frames; start += kMixBlockFrames) {
        const int n = std::min(kMixBlockFrames, frames - start);
        std::fill(acc, acc + n * kChannels, 0);
        for (int i = 0; i < count; ++i) mix_one(voices[i], acc, n);
        int16_t* dst = out + start * kChannels;
        for (int i = 0; i < n * kChannels; ++i) {
            dst[i] = static_cast<int16_t>(std::clamp<int32_t>(acc[i], -32768, 32767));
        }
    }
}

}  // namespace tessaly::platform
