#pragma once
// The two back ends behind platform/audio.hpp. Voice numbers are checked before they
// reach a back end.
#include "platform/audio.hpp"

namespace tessaly::platform {

struct AudioBackend {
    bool (*open)();
    void (*close)();
    bool (*is_open)();
    bool (*voice_create)(int voice, const PcmFormat& format, const unsigned char* samples,
                         uint32_t bytes);
    void (*voice_release)(int voice);
    void (*voice_play)(int voice, bool loop);
    void (*voice_stop)(int voice);
    void (*voice_rewind)(int voice);
    AudioVoiceState (*voice_state)(int voice);
    size_t (*memory_bytes)();
};

extern const AudioBackend kAudioDeviceBackend;
extern const AudioBackend kAudioRecordingBackend;

// Frames a conversion from format to the output format gives, for the size check.
uint64_t audio_converted_frames(const PcmFormat& format, uint32_t bytes);
bool audio_format_supported(const PcmFormat& format);

}  // namespace tessaly::platform
