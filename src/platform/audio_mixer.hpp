#pragma once
// Mixing of the voices into the output: 16-bit stereo frames, summed and clipped.
#include <cstdint>

namespace tessaly::platform {

struct MixVoice {
    const int16_t* samples;  // interleaved stereo
    uint32_t frames;
    uint32_t position;
    bool playing;
    bool looping;
};

// Writes frames output frames from every playing voice and advances them. A voice that
// ends without looping stops and goes back to its start; a looping one wraps around.
void mix_voices(MixVoice* voices, int count, int16_t* out, int frames);

}  // namespace tessaly::platform
