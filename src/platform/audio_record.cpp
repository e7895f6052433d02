// The recording back end: keeps each voice's state as the device would, without time
// passing, and logs every operation in order.
#include "platform/audio_backend.hpp"

namespace tessaly::platform {
namespace {

constexpr int kRecordCapacity = 4096;

struct RecordVoice {
    bool exists;
    bool playing;
    bool looping;
    uint32_t position;
    uint32_t frames;
};

bool g_open = false;
RecordVoice g_voices[kAudioVoices];
AudioEvent g_log[kRecordCapacity];
int g_log_count = 0;
bool g_overflowed = false;
bool g_fail_open = false;
int g_fail_voice = -1;

void record(AudioOp op, int voice) {
    if (g_log_count == kRecordCapacity) {
        g_overflowed = true;
        return;
    }
    g_log[g_log_count++] = AudioEvent{op, voice};
}

bool rec_open() {
    if (g_open) return true;
    if (g_fail_open) return false;
    for (RecordVoice& v : g_voices) v = RecordVoice{};
    g_open = true;
    record(AudioOp::Open, -1);
    return true;
}

void rec_voice_release(int voice) {
    if (!g_voices[voice].exists) return;
    g_voices[voice] = RecordVoice{};
    record(AudioOp::Release, voice);
}

void rec_close() {
    if (!g_open) return;
    for (int i = 0; i < kAudioVoices; ++i) rec_voice_release(i);
    g_open = false;
    record(AudioOp::Close, -1);
}

bool rec_is_open() {
    return g_open;
}

bool rec_voice_create(int voice, const PcmFormat& format, const unsigned char*, uint32_t bytes) {
    if (!g_open || g_voices[voice].exists || voice == g_fail_voice) return false;
    RecordVoice& v = g_voices[voice];
    v = RecordVoice{};
    v.exists = true;
    v.frames = static_cast<uint32_t>(audio_converted_frames(format, bytes));
    record(AudioOp::Create, voice);
    return true;
}

void rec_voice_play(int voice, bool loop) {
    RecordVoice& v = g_voices[voice];
    if (!v.exists) return;
    v.playing = true;
    v.looping = loop;
    record(loop ? AudioOp::Loop : AudioOp::Play, voice);
}

void rec_voice_stop(int voice) {
    RecordVoice& v = g_voices[voice];
    if (!v.exists) return;
    v.playing = false;
    record(AudioOp::Stop, voice);
}

void rec_voice_rewind(int voice) {
    RecordVoice& v = g_voices[voice];
    if (!v.exists) return;
    v.position = 0;
    record(AudioOp::Rewind, voice);
}

AudioVoiceState rec_voice_state(int voice) {
    const RecordVoice& v = g_voices[voice];
    return AudioVoiceState{v.exists, v.playing, v.looping, v.position, v.frames, nullptr};
}

size_t rec_memory_bytes() {
    size_t total = 0;
    for (const RecordVoice& v : g_voices) total += static_cast<size_t>(v.frames) * kAudioFrameBytes;
    return total;
}

const char* op_name(AudioOp op) {
    switch (op) {
        case AudioOp::Open:
            return "open";
        case AudioOp::Close:
            return "close";
        case AudioOp::Create:
            return "create";
        case AudioOp::Release:
            return "release";
        case AudioOp::Play:
            return "play";
        case AudioOp::Loop:
            return "loop";
        case AudioOp::Stop:
            return "stop";
        case AudioOp::Rewind:
            return "rewind";
    }
    return "?";
}

}  // namespace

const AudioBackend kAudioRecordingBackend = {
    &rec_open,       &rec_close,      &rec_is_open,      &rec_voice_create, &rec_voice_release,
    &rec_voice_play, &rec_voice_stop, &rec_voice_rewind, &rec_voice_state,  &rec_memory_bytes,
};

int audio_record_count() {
    return g_log_count;
}

AudioEvent audio_record_event(int i) {
    if (i < 0 || i >= g_log_count) return AudioEvent{AudioOp::Open, -2};
    return g_log[i];
}

std::string audio_record_text() {
    std::string out;
    for (int i = 0; i < g_log_count; ++i) {
        out += op_name(g_log[i].op);
        if (g_log[i].voice >= 0) out += " " + std::to_string(g_log[i].voice);
        out += "\n";
    }
    return out;
}

void audio_record_clear() {
    g_log_count = 0;
    g_overflowed = false;
}

bool audio_record_overflowed() {
    return g_overflowed;
}

void audio_record_fail_open(bool fail) {
    g_fail_open = fail;
}

void audio_record_fail_voice(int voice) {
    g_fail_voice = voice;
}

}  // namespace tessaly::platform
