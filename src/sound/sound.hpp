#pragma once
// Sound effects requested per frame and three looping music tracks.
//
// Tasks never play an effect themselves: they request it during the update pass, and the
// frame tick plays every requested effect once, in index order, after the pass.

namespace tessaly {

// Sound slots: 0..13 effects, 14..16 music; slot i is made from pack entry 115 + i.
constexpr int kSoundSlots = 17;
constexpr int kEffectCount = 14;
constexpr int kTrackTitle = 14;
constexpr int kTrackBoard = 15;
constexpr int kTrackBattle = 16;

// Opens the output and makes all 17 slots from the asset pack; 0 at the first failure
// (what was made stays until sound_release).
int sound_init();
// Releases every slot and the output. Safe after any partial sound_init and when nothing
// was started.
void sound_release();

// Asks for effect index (0..13) to be played after this frame's update pass; keep_playing 0
// restarts it from its beginning. Any other index is ignored.
void sound_request(int index, int keep_playing);
void sound_clear_requests();
// True when effect index was requested since the requests were last cleared.
bool sound_requested(int index);
void sound_play_requests();
// Plays effect index (0..13) once, if the effects setting is on; keep_playing 0 stops
// and rewinds it first.
void sound_play_effect(int index, int keep_playing);

// Stops all music, then starts the track (14, 15 or 16) looping if the music setting is 1.
void music_play(int track);
// Stops all three tracks and rewinds them.
void music_stop();

// True once slot index holds its sound.
bool sound_slot_ready(int index);

}  // namespace tessaly
