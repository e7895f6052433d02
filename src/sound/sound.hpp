#pragma once
// Sound effects requested per frame and three looping music tracks.
//
// Tasks never play an effect themselves: they request it during the update pass, and the
// frame tick plays every requested effect once, in index order, after the pass.

namespace tessaly {

// Sound slots: 0..13 effects, 14..16 music; slot i is made from pack entry 115 + i.
constexpr int kSoundSlots = 17;
constexpr int kEffectCount = 14;

// The effects by what they mean in the game; any of them may also be played by an event script.
constexpr int kSoundLevelUp = 0;     // a player reaches a new level
constexpr int kSoundOrbLands = 1;    // a falling orb of the battle stage lands
constexpr int kSoundKnockBack = 2;   // a side of the battle stage is knocked back
constexpr int kSoundEventChime = 3;  // played by event scripts only
constexpr int kSoundRefused = 4;     // a purchase or a load that is not allowed
constexpr int kSoundHit = 5;         // an attacker or a thrown prop reaches its target
constexpr int kSoundStep = 6;        // a step on the board; turning the model carousel
constexpr int kSoundMagic = 7;       // played by event scripts only
constexpr int kSoundCursor = 8;      // menu cursor moves and confirmations, message advance
constexpr int kSoundSaved = 9;       // the game was saved
constexpr int kSoundSetOff = 10;     // battle-stage orbs set off; a spinning attacker
constexpr int kSoundShot = 11;       // a shot or rain attack begins
constexpr int kSoundHeal = 12;       // a recovery item restores hit points
constexpr int kSoundMoney = 13;      // money changes hands in a shop

// The music tracks.
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
