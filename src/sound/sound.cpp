#include "sound/sound.hpp"

#include <span>
#include <string>

#include "app/asset_pack.hpp"
#include "app/debug_dump.hpp"
#include "platform/audio.hpp"
#include "sound/wave.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

static_assert(kSoundSlots == platform::kAudioVoices);
static_assert(kEntrySounds + kSoundSlots == kPackEntries);

struct SoundRequest {
    int requested;
    int keep_playing;
};

SoundRequest g_requests[kEffectCount];
// The slots that hold their voice; all false until sound_init fills them.
bool g_slots[kSoundSlots];
bool g_open = false;

bool slot_ready(int index) {
    return g_open && index >= 0 && index < kSoundSlots && g_slots[index];
}

// Makes slot from one RIFF WAVE image; the samples are converted and copied, so the image
// need not outlive the slot.
bool wave_buffer_create(std::span<const unsigned char> image, int slot) {
    WaveImage wave{};
    if (wave_read(image, &wave) != WaveError::None) return false;
    if (!wave_format_playable(wave.format)) return false;
    const platform::PcmFormat format{wave.format.channels,
                                     static_cast<int>(wave.format.samples_per_second),
                                     wave.format.bits_per_sample};
    if (!platform::audio_voice_create(slot, format, wave.samples.data(),
                                      static_cast<uint32_t>(wave.samples.size()))) {
        return false;
    }
    g_slots[slot] = true;
    return true;
}

// The music that plays, for the runner's dump: "sound music 14" or "sound music none".
void dump_section(std::string& out) {
    int playing = -1;
    for (int t = kTrackTitle; t <= kTrackBattle; ++t) {
        if (slot_ready(t) && platform::audio_voice_state(t).playing) playing = t;
    }
    out += playing < 0 ? "sound music none\n" : "sound music " + std::to_string(playing) + "\n";
}

}  // namespace

int sound_init() {
    // Anything left from an earlier start is released rather than forgotten.
    sound_release();
    for (bool& s : g_slots) s = false;
    if (!platform::audio_open()) return 0;
    g_open = true;
    debug_dump_add_section(&dump_section);
    if (!pack_buffer()) return 0;
    for (int i = 0; i < kSoundSlots; ++i) {
        uint32_t length = 0;
        const unsigned char* entry = pack_entry(kEntrySounds + i, &length);
        // An empty entry is a missing sound.
        if (!entry || length == 0) return 0;
        if (!wave_buffer_create(std::span<const unsigned char>(entry, length), i)) return 0;
    }
    return 1;
}

void sound_release() {
    if (!g_open) return;
    for (int i = 0; i < kSoundSlots; ++i) {
        if (g_slots[i]) platform::audio_voice_release(i);
        g_slots[i] = false;
    }
    platform::audio_close();
    g_open = false;
}

void sound_request(int index, int keep_playing) {
    // Only an event script can pass another index; it is ignored rather than written.
    if (index < 0 || index >= kEffectCount) return;
    g_requests[index] = {1, keep_playing};
}

bool sound_requested(int index) {
    return index >= 0 && index < kEffectCount && g_requests[index].requested == 1;
}

void sound_clear_requests() {
    for (SoundRequest& r : g_requests) r = {0, 0};
}

void sound_play_requests() {
    for (int i = 0; i < kEffectCount; ++i) {
        if (g_requests[i].requested == 1) sound_play_effect(i, g_requests[i].keep_playing);
    }
}

void sound_play_effect(int index, int keep_playing) {
    // Only the effect slots play once; a music slot is left to music_play.
    if (index < 0 || index >= kEffectCount) return;
    if (g_game.settings[kSettingEffects] == 0 || !slot_ready(index)) return;
    if (keep_playing == 0) {
        platform::audio_voice_stop(index);
        platform::audio_voice_rewind(index);
    }
    platform::audio_voice_play(index, false);
}

void music_play(int track) {
    music_stop();
    if (track < kTrackTitle || track > kTrackBattle) return;
    if (g_game.settings[kSettingMusic] != 1 || !slot_ready(track)) return;
    platform::audio_voice_play(track, true);
}

void music_stop() {
    for (int t = kTrackTitle; t <= kTrackBattle; ++t) {
        if (!slot_ready(t)) continue;
        platform::audio_voice_stop(t);
        platform::audio_voice_rewind(t);
    }
}

bool sound_slot_ready(int index) {
    return slot_ready(index);
}

}  // namespace tessaly
