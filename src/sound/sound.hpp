#pragma once
// Sound effects requested per frame and three looping music tracks.

namespace tessaly {

constexpr int kEffectCount = 14;
constexpr int kTrackTitle = 14;
constexpr int kTrackBoard = 15;
constexpr int kTrackBattle = 16;

int sound_init();
void sound_release();
void sound_request(int index, int keep_playing);
void sound_clear_requests();
void sound_play_requests();
void music_play(int track);
void music_stop();

}  // namespace tessaly
