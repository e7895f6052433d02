// The device back end: SDL's audio device driven by our own mixer. Every voice is
// converted once, when it is made, to the device's format; the device thread only adds
// samples together.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/audio_backend.hpp"
#include "platform/audio_mixer.hpp"
#include "platform/window.hpp"

namespace tessaly::platform {
namespace {

SDL_AudioDeviceID g_device = 0;
bool g_subsystem = false;
MixVoice g_voices[kAudioVoices];
int16_t* g_samples[kAudioVoices];

// Runs on the device thread, which holds the device lock meanwhile.
void device_callback(void*, Uint8* stream, int len) {
    mix_voices(g_voices, kAudioVoices, reinterpret_cast<int16_t*>(stream), len / kAudioFrameBytes);
}

struct DeviceLock {
    DeviceLock() { SDL_LockAudioDevice(g_device); }
    ~DeviceLock() { SDL_UnlockAudioDevice(g_device); }
};

bool dev_open() {
    if (g_device != 0) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error_reason(
            "no sound output could be started (%s); SDL_AUDIODRIVER=dummy plays the game "
            "without sound",
            SDL_GetError());
        return false;
    }
    g_subsystem = true;
    SDL_AudioSpec want{};
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = kAudioChannels;
    want.samples = kAudioDeviceFrames;
    want.callback = &device_callback;
    // No changes allowed: SDL converts to whatever the hardware takes, so the voices are
    // always in the one format above.
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (g_device == 0) {
        error_reason(
            "no audio device could be opened (%s); SDL_AUDIODRIVER=dummy plays the game "
            "without sound",
            SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        g_subsystem = false;
        return false;
    }
    for (int i = 0; i < kAudioVoices; ++i) {
        g_voices[i] = MixVoice{};
        g_samples[i] = nullptr;
    }
    SDL_PauseAudioDevice(g_device, 0);
    return true;
}

void dev_voice_release(int voice) {
    if (g_device == 0 || !g_samples[voice]) return;
    int16_t* samples = g_samples[voice];
    {
        DeviceLock lock;
        g_voices[voice] = MixVoice{};
        g_samples[voice] = nullptr;
    }
    std::free(samples);
}

void dev_close() {
    if (g_device != 0) {
        for (int i = 0; i < kAudioVoices; ++i) dev_voice_release(i);
        SDL_CloseAudioDevice(g_device);
        g_device = 0;
    }
    if (g_subsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        g_subsystem = false;
    }
}

bool dev_is_open() {
    return g_device != 0;
}

int16_t source_sample(const unsigned char* p, int bits) {
    // 8-bit samples are unsigned around 128; 16-bit ones signed little-endian.
    if (bits == 8) return static_cast<int16_t>((p[0] - 128) * 256);
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
}

// Sounds at the output rate (all of the game's own) only change sample width and channel
// count, which is done here exactly and without SDL's round trip through floats.
int16_t* convert_same_rate(const PcmFormat& f, const unsigned char* samples, uint32_t frames) {
    const size_t count = frames > 0 ? frames : 1;
    auto* out = static_cast<int16_t*>(std::calloc(count, kAudioFrameBytes));
    if (!out) return nullptr;
    const int step = f.bits / 8;
    const unsigned char* p = samples;
    for (uint32_t i = 0; i < frames; ++i) {
        const int16_t left = source_sample(p, f.bits);
        const int16_t right = f.channels == 2 ? source_sample(p + step, f.bits) : left;
        out[2 * i] = left;
        out[2 * i + 1] = right;
        p += step * f.channels;
    }
    return out;
}

// Converts source samples to 16-bit stereo at the output rate; null if it cannot.
int16_t* convert(const PcmFormat& f, const unsigned char* samples, uint32_t bytes,
                 uint32_t* frames_out) {
    const uint32_t frame_bytes = static_cast<uint32_t>(f.channels * f.bits / 8);
    // A trailing part of a frame is not a sample and is dropped.
    const uint32_t whole = bytes / frame_bytes * frame_bytes;
    if (f.rate == kAudioRate) {
        *frames_out = whole / frame_bytes;
        return convert_same_rate(f, samples, *frames_out);
    }
    const SDL_AudioFormat src = f.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, src, static_cast<Uint8>(f.channels), f.rate, AUDIO_S16SYS,
                          kAudioChannels, kAudioRate) < 0) {
        return nullptr;
    }
    // The conversion works in place in a buffer len_mult times the source.
    const uint64_t work = static_cast<uint64_t>(whole) * static_cast<uint64_t>(cvt.len_mult);
    if (work > static_cast<uint64_t>(INT32_MAX)) return nullptr;
    // At least one frame is allocated so that a voice without samples still exists.
    const size_t size = work > kAudioFrameBytes ? static_cast<size_t>(work) : kAudioFrameBytes;
    auto* buffer = static_cast<Uint8*>(std::calloc(size, 1));
    if (!buffer) return nullptr;
    uint32_t frames = 0;
    if (whole > 0) {
        std::memcpy(buffer, samples, whole);
        cvt.buf = buffer;
        cvt.len = static_cast<int>(whole);
        if (SDL_ConvertAudio(&cvt) != 0) {
            std::free(buffer);
            return nullptr;
        }
        frames = static_cast<uint32_t>(cvt.len_cvt / kAudioFrameBytes);
    }
    // The work space beyond the converted samples is given back.
    const size_t keep = frames > 0 ? size_t{frames} * kAudioFrameBytes : kAudioFrameBytes;
    if (keep < size) {
        if (void* shrunk = std::realloc(buffer, keep)) buffer = static_cast<Uint8*>(shrunk);
    }
    *frames_out = frames;
    return reinterpret_cast<int16_t*>(buffer);
}

bool dev_voice_create(int voice, const PcmFormat& format, const unsigned char* samples,
                      uint32_t bytes) {
    if (g_device == 0 || g_samples[voice]) return false;
    uint32_t frames = 0;
    int16_t* converted = convert(format, samples, bytes, &frames);
    if (!converted) return false;
    DeviceLock lock;
    g_samples[voice] = converted;
    g_voices[voice] = MixVoice{converted, frames, 0, false, false};
    return true;
}

void dev_voice_play(int voice, bool loop) {
    if (g_device == 0 || !g_samples[voice]) return;
    DeviceLock lock;
    g_voices[voice].playing = true;
    g_voices[voice].looping = loop;
}

void dev_voice_stop(int voice) {
    if (g_device == 0 || !g_samples[voice]) return;
    DeviceLock lock;
    g_voices[voice].playing = false;
}

void dev_voice_rewind(int voice) {
    if (g_device == 0 || !g_samples[voice]) return;
    DeviceLock lock;
    g_voices[voice].position = 0;
}

AudioVoiceState dev_voice_state(int voice) {
    if (g_device == 0 || !g_samples[voice]) return AudioVoiceState{};
    DeviceLock lock;
    const MixVoice& v = g_voices[voice];
    return AudioVoiceState{true, v.playing, v.looping, v.position, v.frames, v.samples};
}

size_t dev_memory_bytes() {
    size_t total = 0;
    for (int i = 0; i < kAudioVoices; ++i) {
        if (g_samples[i]) total += static_cast<size_t>(g_voices[i].frames) * kAudioFrameBytes;
    }
    return total;
}

}  // namespace

const AudioBackend kAudioDeviceBackend = {
    &dev_open,       &dev_close,      &dev_is_open,      &dev_voice_create, &dev_voice_release,
    &dev_voice_play, &dev_voice_stop, &dev_voice_rewind, &dev_voice_state,  &dev_memory_bytes,
};

}  // namespace tessaly::platform
