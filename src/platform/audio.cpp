#include "platform/audio.hpp"

#include "platform/audio_backend.hpp"

namespace tessaly::platform {
namespace {

const AudioBackend* g_backend = &kAudioDeviceBackend;

bool voice_ok(int voice) {
    return voice >= 0 && voice < kAudioVoices;
}

}  // namespace

bool audio_format_supported(const PcmFormat& f) {
    return (f.channels == 1 || f.channels == 2) && (f.bits == 8 || f.bits == 16) && f.rate > 0;
}

uint64_t audio_converted_frames(const PcmFormat& f, uint32_t bytes) {
    const uint64_t frames = bytes / static_cast<uint32_t>(f.channels * f.bits / 8);
    return frames * kAudioRate / static_cast<uint64_t>(f.rate);
}

bool audio_open() {
    return g_backend->open();
}
void audio_close() {
    g_backend->close();
}
bool audio_is_open() {
    return g_backend->is_open();
}

bool audio_voice_create(int voice, const PcmFormat& format, const unsigned char* samples,
                        uint32_t bytes) {
    if (!voice_ok(voice) || !audio_format_supported(format) || (!samples && bytes)) return false;
    if (audio_converted_frames(format, bytes) * kAudioFrameBytes > kAudioVoiceMaxBytes) {
        return false;
    }
    return g_backend->voice_create(voice, format, samples, bytes);
}

void audio_voice_release(int voice) {
    if (voice_ok(voice)) g_backend->voice_release(voice);
}
void audio_voice_play(int voice, bool loop) {
    if (voice_ok(voice)) g_backend->voice_play(voice, loop);
}
void audio_voice_stop(int voice) {
    if (voice_ok(voice)) g_backend->voice_stop(voice);
}
void audio_voice_rewind(int voice) {
    if (voice_ok(voice)) g_backend->voice_rewind(voice);
}

AudioVoiceState audio_voice_state(int voice) {
    if (!voice_ok(voice)) return AudioVoiceState{};
    return g_backend->voice_state(voice);
}

size_t audio_memory_bytes() {
    return g_backend->memory_bytes();
}

void audio_use_recording(bool on) {
    if (audio_is_open()) return;
    g_backend = on ? &kAudioRecordingBackend : &kAudioDeviceBackend;
}

bool audio_recording() {
    return g_backend == &kAudioRecordingBackend;
}

}  // namespace tessaly::platform
