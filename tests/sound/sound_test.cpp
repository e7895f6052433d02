#include "sound/sound.hpp"

#include <gtest/gtest.h>

#include <string>

#include "app/app.hpp"
#include "app/asset_pack.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "platform/audio.hpp"
#include "sound_pack.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using test::numbered_sounds;
using test::WaveBuilder;

bool no_keys(int) {
    return false;
}

// The recording output with a pack of seventeen small sounds, started as the game starts.
struct SoundFixture : ::testing::Test {
    void SetUp() override {
        platform::audio_use_recording(true);
        platform::audio_record_fail_open(false);
        platform::audio_record_fail_voice(-1);
        apply_settings_defaults();
        keys_set_source(&no_keys);
        keys_init();
        ASSERT_TRUE(pool_create());
        test::adopt_pack(test::pack_with_sounds(numbered_sounds()));
        ASSERT_EQ(sound_init(), 1);
        platform::audio_record_clear();
    }
    void TearDown() override {
        sound_release();
        pack_release();
        pool_destroy();
        keys_set_source(nullptr);
        platform::audio_record_clear();
        platform::audio_use_recording(false);
    }
};

// Tasks that each request the effect stored in the first word of their private area.
void requesting_update(Task* t) {
    sound_request(task_record<int32_t>(t), 0);
}

void add_requester(int slot, int effect) {
    Task* t = task_alloc_at(slot);
    ASSERT_NE(t, nullptr);
    task_start(t, 0, &requesting_update, nullptr);
    task_record<int32_t>(t) = effect;
}

// One update half of a frame tick; returns what the output was told during it.
std::string run_update_frame() {
    platform::audio_record_clear();
    update_frame();
    return platform::audio_record_text();
}

using SoundRequests = SoundFixture;

TEST_F(SoundRequests, EffectRequestedByThreeTasksPlaysOnce) {
    add_requester(20, 8);
    add_requester(21, 8);
    add_requester(22, 8);
    EXPECT_EQ(run_update_frame(), "stop 8\nrewind 8\nplay 8\n");
}

TEST_F(SoundRequests, EffectRequestedEveryFrameRestartsEveryFrame) {
    add_requester(20, 6);
    for (int frame = 0; frame < 4; ++frame) {
        EXPECT_EQ(run_update_frame(), "stop 6\nrewind 6\nplay 6\n") << "frame " << frame;
        const platform::AudioVoiceState v = platform::audio_voice_state(6);
        EXPECT_TRUE(v.playing);
        EXPECT_FALSE(v.looping);
        EXPECT_EQ(v.position, 0u);
    }
}

TEST_F(SoundRequests, TwoEffectsInOneFrameBothPlayInIndexOrder) {
    // The task that updates first asks for the higher index.
    add_requester(20, 11);
    add_requester(21, 2);
    EXPECT_EQ(run_update_frame(), "stop 2\nrewind 2\nplay 2\nstop 11\nrewind 11\nplay 11\n");
}

TEST_F(SoundRequests, RequestLastsOneFrame) {
    Task* t = task_alloc_at(20);
    task_start(t, 0, &requesting_update, nullptr);
    task_record<int32_t>(t) = 4;
    EXPECT_EQ(run_update_frame(), "stop 4\nrewind 4\nplay 4\n");
    t->in_use = 0;
    EXPECT_EQ(run_update_frame(), "");
}

TEST_F(SoundRequests, RequestsOutsideTheFrameAreClearedBeforeTheUpdatePass) {
    sound_request(3, 0);
    EXPECT_EQ(run_update_frame(), "");
}

TEST_F(SoundRequests, IndexOutsideTheTableIsIgnored) {
    for (int index : {-1, -100, kEffectCount, kTrackTitle, kTrackBattle, 1000}) {
        sound_request(index, 0);
    }
    sound_play_requests();
    EXPECT_EQ(platform::audio_record_text(), "");
    // The table next to the bad indices is unharmed.
    sound_clear_requests();
    sound_request(0, 0);
    sound_request(13, 0);
    sound_play_requests();
    EXPECT_EQ(platform::audio_record_text(),
              "stop 0\nrewind 0\nplay 0\nstop 13\nrewind 13\nplay 13\n");
}

TEST_F(SoundRequests, EffectsOffRecordsRequestsButPlaysNothing) {
    g_game.settings[kSettingEffects] = 0;
    add_requester(20, 8);
    EXPECT_EQ(run_update_frame(), "");
    // Any nonzero setting plays.
    g_game.settings[kSettingEffects] = 2;
    EXPECT_EQ(run_update_frame(), "stop 8\nrewind 8\nplay 8\n");
}

TEST_F(SoundRequests, KeepPlayingPlaysWithoutStopOrRewind) {
    sound_clear_requests();
    sound_request(5, 1);
    sound_play_requests();
    EXPECT_EQ(platform::audio_record_text(), "play 5\n");
}

TEST_F(SoundRequests, EffectsDoNotTouchTheMusic) {
    music_play(kTrackBoard);
    add_requester(20, 12);
    run_update_frame();
    EXPECT_TRUE(platform::audio_voice_state(kTrackBoard).playing);
    // A music slot cannot be played once as an effect.
    platform::audio_record_clear();
    sound_play_effect(kTrackBattle, 0);
    sound_play_effect(-1, 0);
    EXPECT_EQ(platform::audio_record_text(), "");
}

TEST_F(SoundRequests, NothingPlaysAfterRelease) {
    sound_release();
    platform::audio_record_clear();
    add_requester(20, 8);
    EXPECT_EQ(run_update_frame(), "");
    music_play(kTrackTitle);
    music_stop();
    EXPECT_EQ(platform::audio_record_text(), "");
}

using Music = SoundFixture;

const char* kStopAll = "stop 14\nrewind 14\nstop 15\nrewind 15\nstop 16\nrewind 16\n";

TEST_F(Music, PlayStopsEveryTrackThenLoopsTheNewOne) {
    music_play(kTrackBoard);
    EXPECT_EQ(platform::audio_record_text(), std::string(kStopAll) + "loop 15\n");
    const platform::AudioVoiceState v = platform::audio_voice_state(kTrackBoard);
    EXPECT_TRUE(v.playing);
    EXPECT_TRUE(v.looping);
}

TEST_F(Music, PlayingThePlayingTrackRestartsIt) {
    music_play(kTrackBoard);
    platform::audio_record_clear();
    music_play(kTrackBoard);
    // Stopped and rewound before it loops again: it starts from its beginning.
    EXPECT_EQ(platform::audio_record_text(), std::string(kStopAll) + "loop 15\n");
    EXPECT_EQ(platform::audio_voice_state(kTrackBoard).position, 0u);
}

TEST_F(Music, AtMostOneTrackPlays) {
    music_play(kTrackTitle);
    music_play(kTrackBattle);
    EXPECT_FALSE(platform::audio_voice_state(kTrackTitle).playing);
    EXPECT_FALSE(platform::audio_voice_state(kTrackBoard).playing);
    EXPECT_TRUE(platform::audio_voice_state(kTrackBattle).playing);
}

TEST_F(Music, MusicOffSilencesANewBattleTrackAndStopsTheOld) {
    music_play(kTrackBoard);
    g_game.settings[kSettingMusic] = 0;
    platform::audio_record_clear();
    music_play(kTrackBattle);
    EXPECT_EQ(platform::audio_record_text(), kStopAll);
    for (int t = kTrackTitle; t <= kTrackBattle; ++t) {
        EXPECT_FALSE(platform::audio_voice_state(t).playing) << t;
    }
}

TEST_F(Music, OnlyASettingOfExactlyOnePlays) {
    for (int setting : {2, -1}) {
        g_game.settings[kSettingMusic] = setting;
        music_play(kTrackTitle);
        EXPECT_FALSE(platform::audio_voice_state(kTrackTitle).playing) << setting;
    }
}

TEST_F(Music, StopStopsAndRewindsAllThreeInOrder) {
    music_play(kTrackTitle);
    platform::audio_record_clear();
    music_stop();
    EXPECT_EQ(platform::audio_record_text(), kStopAll);
    EXPECT_FALSE(platform::audio_voice_state(kTrackTitle).playing);
}

TEST_F(Music, TrackOutsideTheMusicSlotsOnlyStops) {
    for (int track : {3, 13, 17, -1}) {
        platform::audio_record_clear();
        music_play(track);
        EXPECT_EQ(platform::audio_record_text(), kStopAll) << track;
    }
}

TEST_F(Music, EffectsSettingDoesNotSilenceMusic) {
    g_game.settings[kSettingEffects] = 0;
    music_play(kTrackTitle);
    EXPECT_TRUE(platform::audio_voice_state(kTrackTitle).playing);
}

// Start-up against packs of our own making, on the recording output.
struct SoundInitFixture : ::testing::Test {
    void SetUp() override {
        platform::audio_use_recording(true);
        platform::audio_record_fail_open(false);
        platform::audio_record_fail_voice(-1);
        platform::audio_record_clear();
        apply_settings_defaults();
    }
    void TearDown() override {
        sound_release();
        pack_release();
        platform::audio_record_fail_open(false);
        platform::audio_record_fail_voice(-1);
        platform::audio_record_clear();
        platform::audio_use_recording(false);
    }
    std::string creates(int n) {
        std::string s = "open\n";
        for (int i = 0; i < n; ++i) s += "create " + std::to_string(i) + "\n";
        return s;
    }
};

using SoundInit = SoundInitFixture;

TEST_F(SoundInit, MakesEachSlotFromItsOwnEntryInOrder) {
    test::adopt_pack(test::pack_with_sounds(numbered_sounds()));
    ASSERT_EQ(sound_init(), 1);
    EXPECT_EQ(platform::audio_record_text(), creates(kSoundSlots));
    for (int i = 0; i < kSoundSlots; ++i) {
        EXPECT_TRUE(sound_slot_ready(i));
        EXPECT_EQ(platform::audio_voice_state(i).frames, static_cast<uint32_t>(i + 1)) << i;
        EXPECT_FALSE(platform::audio_voice_state(i).playing);
    }
}

TEST_F(SoundInit, ListBeforeFormatAndEmptyDataBeforeTheRealOneLoadsTheRealSamples) {
    test::Sounds sounds = numbered_sounds();
    sounds[7] = WaveBuilder()
                    .chunk("LIST", {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M'})
                    .fmt(1, platform::kAudioRate, 16)
                    .data({})
                    .data16(std::vector<int16_t>(50, 7))
                    .finish();
    test::adopt_pack(test::pack_with_sounds(sounds));
    ASSERT_EQ(sound_init(), 1);
    EXPECT_EQ(platform::audio_voice_state(7).frames, 50u);
}

TEST_F(SoundInit, FailureAtOneSlotLeavesLaterSlotsEmptyAndReleaseFreesTheEarlierOnes) {
    test::Sounds sounds = numbered_sounds();
    sounds[9] = WaveBuilder().fmt(1, 44100, 16, 12).data16({1, 2}).finish();
    test::adopt_pack(test::pack_with_sounds(sounds));
    EXPECT_EQ(sound_init(), 0);
    EXPECT_EQ(platform::audio_record_text(), creates(9));
    for (int i = 9; i < kSoundSlots; ++i) EXPECT_FALSE(sound_slot_ready(i)) << i;
    platform::audio_record_clear();
    sound_release();
    std::string released;
    for (int i = 0; i < 9; ++i) released += "release " + std::to_string(i) + "\n";
    EXPECT_EQ(platform::audio_record_text(), released + "close\n");
    EXPECT_FALSE(platform::audio_is_open());
}

TEST_F(SoundInit, EveryBrokenEntryFailsStartUp) {
    const std::vector<std::vector<unsigned char>> broken = {
        {},                                                            // empty entry
        {'R', 'I', 'F', 'F'},                                          // cut short
        WaveBuilder().fmt(1, 22050, 16, 12).data16({1}).finish(),      // short format
        WaveBuilder().data16({1}).finish(),                            // no format
        WaveBuilder().fmt(1, 22050, 16).data({}).finish(),             // only an empty data
        WaveBuilder().fmt(1, 22050, 24).data({1, 2, 3}).finish(),      // 24-bit
        WaveBuilder().fmt(1, 22050, 16, 16, 2).data({1, 2}).finish(),  // not PCM
        WaveBuilder().fmt(6, 22050, 16).data({1, 2}).finish(),         // six channels
    };
    for (size_t k = 0; k < broken.size(); ++k) {
        for (int slot : {0, 16}) {
            test::Sounds sounds = numbered_sounds();
            sounds[slot] = broken[k];
            test::adopt_pack(test::pack_with_sounds(sounds));
            EXPECT_EQ(sound_init(), 0) << "case " << k << " slot " << slot;
            sound_release();
            EXPECT_FALSE(platform::audio_is_open());
        }
    }
}

TEST_F(SoundInit, NoOutputDeviceFails) {
    test::adopt_pack(test::pack_with_sounds(numbered_sounds()));
    platform::audio_record_fail_open(true);
    EXPECT_EQ(sound_init(), 0);
    for (int i = 0; i < kSoundSlots; ++i) EXPECT_FALSE(sound_slot_ready(i));
    sound_release();
    EXPECT_EQ(platform::audio_record_text(), "");
}

TEST_F(SoundInit, RefusedVoiceFailsStartUp) {
    test::adopt_pack(test::pack_with_sounds(numbered_sounds()));
    platform::audio_record_fail_voice(15);
    EXPECT_EQ(sound_init(), 0);
    EXPECT_TRUE(sound_slot_ready(14));
    EXPECT_FALSE(sound_slot_ready(15));
}

TEST_F(SoundInit, WithoutAPackFails) {
    EXPECT_EQ(sound_init(), 0);
    sound_release();
    EXPECT_FALSE(platform::audio_is_open());
}

TEST_F(SoundInit, ReleaseWithoutInitAndTwiceIsSafe) {
    sound_release();
    EXPECT_EQ(platform::audio_record_text(), "");
    test::adopt_pack(test::pack_with_sounds(numbered_sounds()));
    ASSERT_EQ(sound_init(), 1);
    sound_release();
    platform::audio_record_clear();
    sound_release();
    EXPECT_EQ(platform::audio_record_text(), "");
}

TEST_F(SoundInit, SecondInitReleasesTheFirst) {
    test::adopt_pack(test::pack_with_sounds(numbered_sounds()));
    ASSERT_EQ(sound_init(), 1);
    ASSERT_EQ(sound_init(), 1);
    EXPECT_EQ(platform::audio_voice_state(16).frames, 17u);
    sound_release();
    EXPECT_FALSE(platform::audio_is_open());
}

TEST_F(SoundInit, SamplesNeedNotOutliveThePack) {
    test::adopt_pack(test::pack_with_sounds(numbered_sounds()));
    ASSERT_EQ(sound_init(), 1);
    pack_release();
    sound_request(1, 0);
    sound_play_requests();
    EXPECT_TRUE(platform::audio_voice_state(1).playing);
}

}  // namespace
}  // namespace tessaly
