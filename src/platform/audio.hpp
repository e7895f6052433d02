#pragma once
// The sound output: one voice per sound slot, each holding its samples already converted
// to the output format, played once or looping, stopped and rewound.
// Two back ends: the audio device, and a recording one for tests that plays nothing and
// logs every operation in order.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaly::platform {

constexpr int kAudioVoices = 17;
// The output format every voice is converted to: 16-bit signed stereo at 22.05 kHz, the
// rate of the game's sounds, so that making a voice mostly only doubles its channel.
constexpr int kAudioRate = 22050;
constexpr int kAudioChannels = 2;
constexpr int kAudioFrameBytes = 4;
// Frames the device asks for at a time (about 23 ms).
constexpr int kAudioDeviceFrames = 512;
// A voice larger than this after conversion is refused (the size limit of a static buffer).
constexpr uint64_t kAudioVoiceMaxBytes = 0x0FFFFFFF;

// Source samples: PCM, 8-bit unsigned or 16-bit signed little-endian, interleaved.
struct PcmFormat {
    int channels;
    int rate;
    int bits;
};

struct AudioVoiceState {
    bool exists;
    bool playing;
    bool looping;
    uint32_t position;  // in output frames
    uint32_t frames;
    // The converted samples, interleaved stereo; null on the recording back end.
    const int16_t* samples;
};

// Opens the output; false if there is no device.
bool audio_open();
// Releases every voice still held and closes the output. Safe when nothing is open.
void audio_close();
bool audio_is_open();

// Converts the samples once into voice (0..16); false if the output is not open, the
// voice is taken, the format is not one of the above or memory is short.
bool audio_voice_create(int voice, const PcmFormat& format, const unsigned char* samples,
                        uint32_t bytes);
void audio_voice_release(int voice);
// Plays from the current position; a voice that reaches its end without looping stops
// and goes back to its start. Playing a playing voice only changes whether it loops.
void audio_voice_play(int voice, bool loop);
// Stops where it is; the position is kept.
void audio_voice_stop(int voice);
void audio_voice_rewind(int voice);
AudioVoiceState audio_voice_state(int voice);
// Bytes of samples held by all voices.
size_t audio_memory_bytes();

// Selects the recording back end (true) or the device (false); only while closed.
void audio_use_recording(bool on);
bool audio_recording();

enum class AudioOp : uint8_t { Open, Close, Create, Release, Play, Loop, Stop, Rewind };

struct AudioEvent {
    AudioOp op;
    int voice;  // -1 for open and close
};

// The operations recorded since the last clear, oldest first. Operations on a voice that
// does not exist are not recorded: they do nothing on the device either.
int audio_record_count();
AudioEvent audio_record_event(int i);
// The log as text, one operation a line: "stop 8", "rewind 8", "play 8", "loop 14".
std::string audio_record_text();
void audio_record_clear();
// True if the log filled up and later operations were dropped.
bool audio_record_overflowed();
// Makes the recording back end refuse to open, or refuse to create one voice (-1: none).
void audio_record_fail_open(bool fail);
void audio_record_fail_voice(int voice);

}  // namespace tessaly::platform
