#include "state/progress.hpp"

#include <gtest/gtest.h>

#include "app/task_pool.hpp"
#include "field/players.hpp"
#include "sound/sound.hpp"
#include "support/recording.hpp"

namespace tessaly {
namespace {

using test::tick;

TEST(Progress, MoneyStopsAtItsCapWithoutWrapping) {
    PlayerRecord p{};
    p.money = 9999000;
    gain_money(p, 999);
    EXPECT_EQ(p.money, 9999999);
    gain_money(p, 2147483647);
    EXPECT_EQ(p.money, 9999999);
}

TEST(Progress, LevelStopsAtOneHundredButStillRestoresHitPoints) {
    PlayerRecord p{};
    p.level = 99;
    p.hit_points = 3;
    p.max_hit_points = 40;
    level_up(p);
    EXPECT_EQ(p.level, 100);
    EXPECT_EQ(p.hit_points, 40);
    p.hit_points = 5;
    level_up(p);
    EXPECT_EQ(p.level, 100);
    EXPECT_EQ(p.hit_points, 40);
}

using ProgressSign = test::RecordingFixture;

TEST_F(ProgressSign, ExperienceBelowAThousandJustAdds) {
    PlayerRecord p{};
    p.level = 3;
    p.experience = 900;
    sound_clear_requests();
    gain_experience(p, 99);
    EXPECT_EQ(p.experience, 999);
    EXPECT_EQ(p.level, 3);
    EXPECT_FALSE(sound_requested(kSoundLevelUp));
    EXPECT_FALSE(task_kind_exists(kKindLevelUpSign));
}

TEST_F(ProgressSign, ReachingAThousandGivesOneLevelTheSoundAndTheSign) {
    PlayerRecord p{};
    p.level = 3;
    p.experience = 900;
    p.hit_points = 1;
    p.max_hit_points = 30;
    sound_clear_requests();
    gain_experience(p, 1500);  // the rest is dropped: one level, not two
    EXPECT_EQ(p.experience, 0);
    EXPECT_EQ(p.level, 4);
    EXPECT_EQ(p.hit_points, 30);
    EXPECT_TRUE(sound_requested(kSoundLevelUp));
    ASSERT_EQ(task_pool()[kSlotLevelUpSign].kind, kKindLevelUpSign);
    sound_clear_requests();
}

TEST_F(ProgressSign, SignRisesFromTheCentreForSixtyFramesThenEnds) {
    ASSERT_EQ(level_up_sign_start(), 1);
    for (int frame = 0; frame < kLevelUpSignFrames; ++frame) {
        test::recorded_reset();
        test::draw_frame();
        const int i = test::find_atlas_draw(kLevelUpSignSource);
        ASSERT_GE(i, 0) << "frame " << frame;
        const Rect dest = test::recorded_dest(test::recorded()[i]);
        EXPECT_FLOAT_EQ(dest.left, 320.0f);
        EXPECT_FLOAT_EQ(dest.top, 240.0f - static_cast<float>(frame));
        EXPECT_FLOAT_EQ(dest.bottom - dest.top, 16.0f);
        tick();
    }
    EXPECT_FALSE(task_kind_exists(kKindLevelUpSign));
    test::recorded_reset();
    test::draw_frame();
    EXPECT_EQ(test::find_atlas_draw(kLevelUpSignSource), -1);
}

TEST_F(ProgressSign, SecondLevelWhileTheSignRisesLeavesItRunning) {
    PlayerRecord p{};
    ASSERT_EQ(level_up_sign_start(), 1);
    tick();
    tick();
    gain_experience(p, 1000);
    EXPECT_EQ(p.level, 1);
    const auto& sign = task_record<LevelUpSignRecord>(&task_pool()[kSlotLevelUpSign]);
    EXPECT_EQ(sign.frames_left, kLevelUpSignFrames - 2);
    EXPECT_FLOAT_EQ(sign.y, 238.0f);
}

}  // namespace
}  // namespace tessaly
