#include "sound/sound.hpp"

namespace tessaly {
namespace {

struct SoundRequest {
    int requested;
    int keep_playing;
};

SoundRequest g_requests[kEffectCount];

}  // namespace

int sound_init() {
    return 1;
}
void sound_release() {}

void sound_request(int index, int keep_playing) {
    if (index < 0 || index >= kEffectCount) return;
    g_requests[index] = {1, keep_playing};
}

void sound_clear_requests() {
    for (SoundRequest& r : g_requests) r = {0, 0};
}

void sound_play_requests() {}
void music_play(int) {}
void music_stop() {}

}  // namespace tessaly
