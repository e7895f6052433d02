// The test scripts of tests/events/runner, compiled by the event compiler into the build's
// test-events/runner.dat, run by the game's own runner on the real board.
#include <gtest/gtest.h>

#include <string>

#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "event/ending.hpp"
#include "event/event_actors.hpp"
#include "event/event_pack.hpp"
#include "event/event_runner.hpp"
#include "event/glyph_table.hpp"
#include "field/board_helpers.hpp"
#include "field/camera.hpp"
#include "scene/shop.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"
#include "state/new_game.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;
using test::ticks;

constexpr const char* kTestPack = TESSALY_BINARY_DIR "/test-events/runner.dat";
// The square the tests run their scripts on: the table names no script for it.
constexpr int kSquare = 2;

// A new game whose opening has run out, with the test scripts loaded over the game's own.
class EventScripts : public test::GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        new_game(0);
        test::event_run_out();
        ASSERT_EQ(event_pack_load(kTestPack), 1) << kTestPack;
        ASSERT_EQ(event_pack_overflows(), 0);
        human_ = &test::player_at_slot(kSlotPlayersFirst);
        computer_ = &test::player_at_slot(kSlotPlayersFirst + 1);
        ASSERT_EQ(computer_->computer, 1);
    }
    // Starts script k for the player as a square's event does; the start frame has run.
    EventRunnerRecord& begin(int k, PlayerRecord* p) {
        g_game.event_script[kSquare - 1][g_game.event_stage[kSquare - 1]] = k;
        p->state = &event_wait;
        camera_hold();
        EXPECT_EQ(event_start(p, kSquare), 1);
        EventRunnerRecord* r = event_runner_find();
        EXPECT_NE(r, nullptr);
        tick();
        return *r;
    }
    // The runner's record, also after the event has ended.
    static const EventRunnerRecord& last() {
        return task_record<EventRunnerRecord>(&task_pool()[kSlotEventRunner]);
    }
    static std::string line_text(const int32_t* line) {
        char text[kMessageLineGlyphs * 4 + 1];
        return glyphs_to_text(line, kMessageLineGlyphs, text, sizeof text) < 0 ? "?" : text;
    }
    // Frames until the state is reached, at most limit.
    static bool run_until(EventState s, int limit = 600) {
        for (int i = 0; i < limit; ++i) {
            const EventRunnerRecord* r = event_runner_find();
            if (r && r->state == s) return true;
            tick();
        }
        return false;
    }
    static bool revealed() {
        for (int i = 0; i < 600; ++i) {
            const EventRunnerRecord* r = event_runner_find();
            if (!r) return false;
            if (r->state == &runner_message && r->reveal_line >= kMessageLines) return true;
            tick();
        }
        return false;
    }

    PlayerRecord* human_ = nullptr;
    PlayerRecord* computer_ = nullptr;
};

TEST_F(EventScripts, MessageWithPortraitInTheWindow) {
    EventRunnerRecord& r = begin(1, human_);
    ASSERT_TRUE(revealed());
    EXPECT_EQ(r.window_shown, 1);
    EXPECT_EQ(r.portrait, 0);
    EXPECT_EQ(line_text(r.shown_lines[0]), "よくぞ来た、旅の者よ。");
    EXPECT_EQ(line_text(r.shown_lines[2]), "よい村じゃ。");
    ticks(30);
    EXPECT_EQ(r.state, &runner_message);
    tick_press({kKeyEnter});
    ticks(4);
    EXPECT_EQ(event_runner_find(), nullptr);
    EXPECT_EQ(last().window_shown, 0);
    EXPECT_EQ(last().portrait, kPortraitNone);
}

TEST_F(EventScripts, ChoiceAnsweredYes) {
    EventRunnerRecord& r = begin(2, human_);
    ASSERT_TRUE(run_until(&runner_choice));
    EXPECT_EQ(line_text(r.shown_lines[0]), "村に入りますか？");
    EXPECT_EQ(line_text(r.shown_lines[1]), "はい");
    EXPECT_EQ(line_text(r.shown_lines[2]), "いいえ");
    tick_press({kKeyEnter});
    ASSERT_TRUE(revealed());
    EXPECT_EQ(r.portrait, 2);
    EXPECT_EQ(line_text(r.shown_lines[0]), "ようこそ！");
}

TEST_F(EventScripts, ChoiceAnsweredNo) {
    EventRunnerRecord& r = begin(2, human_);
    ASSERT_TRUE(run_until(&runner_choice));
    tick_press({kKeyDown});
    tick_press({kKeyZ});
    ASSERT_TRUE(revealed());
    EXPECT_EQ(r.portrait, 3);
    EXPECT_EQ(line_text(r.shown_lines[0]), "また来てね。");
    test::event_run_out();
    EXPECT_EQ(last().portrait, kPortraitNone);
}

TEST_F(EventScripts, ComputerPlayerGoesThroughAChoiceAlone) {
    begin(2, computer_);
    int frames = 0;
    while (event_runner_find() && frames < 1000) {
        tick();
        ++frames;
    }
    EXPECT_EQ(event_runner_find(), nullptr);
    // Option 0 after 20 frames, then the message stands 31 frames once revealed.
    EXPECT_GT(frames, 20 + 31);
    EXPECT_LT(frames, 100);
}

TEST_F(EventScripts, ActorsWalkAndAreRemoved) {
    EventRunnerRecord& r = begin(3, human_);
    tick();
    tick();
    const EventActorRecord* a = actor_in_slot(kSlotEventActorsFirst);
    const EventActorRecord* b = actor_in_slot(kSlotEventActorsFirst + 1);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    float x, z;
    test::cell_world(55, 50, x, z);
    EXPECT_FLOAT_EQ(a->x, x);
    EXPECT_EQ(b->model, 13);
    ASSERT_TRUE(run_until(&runner_actor_move));
    ASSERT_TRUE(run_until(&runner_frame_wait));
    EXPECT_FLOAT_EQ(a->x, x + 4.0f);
    EXPECT_FLOAT_EQ(a->z, z);
    ASSERT_TRUE(run_until(&runner_actor_move));
    ASSERT_TRUE(run_until(&runner_frame_wait));
    EXPECT_FLOAT_EQ(a->z, z + 4.0f);
    EXPECT_FLOAT_EQ(a->angle, 90.0f);
    EXPECT_FLOAT_EQ(b->angle, 270.0f);
    (void)r;
    test::event_run_out();
    EXPECT_EQ(task_kind_exists(kKindEventActor), 0);
}

TEST_F(EventScripts, CameraPansNorthAndBack) {
    const CameraRecord* c = camera_find();
    ASSERT_NE(c, nullptr);
    const Vec3 target = c->target;
    begin(4, human_);
    ASSERT_TRUE(run_until(&runner_frame_wait));
    EXPECT_FLOAT_EQ(c->target.z, target.z + 20.0f);
    EXPECT_FLOAT_EQ(c->target.x, target.x);
    test::event_run_out();
    EXPECT_FLOAT_EQ(c->target.z, target.z);
}

TEST_F(EventScripts, RequestRewardsPaidWithALevelUp) {
    const int32_t level = human_->level;
    const int32_t money = human_->money;
    human_->hit_points = 10;
    begin(5, human_);
    ASSERT_TRUE(run_until(&runner_message));
    EXPECT_EQ(human_->level, level + 1);
    EXPECT_EQ(human_->experience, 0);
    EXPECT_EQ(human_->money, money + 5 * g_game.requests[2].reward_money);
    EXPECT_EQ(human_->hit_points, human_->max_hit_points);
    EXPECT_EQ(human_->team_number, 0);
    EXPECT_EQ(g_game.requests[2].taken, 0);
    EXPECT_EQ(task_kind_exists(kKindLevelUpSign), 1);
}

TEST_F(EventScripts, EndPictureThenCreditsBackToTheTitle) {
    begin(6, human_);
    ticks(61);
    ASSERT_EQ(task_kind_exists(kKindEndPicture), 1);
    EXPECT_EQ(task_record<EndPictureRecord>(&task_pool()[kSlotEndPicture]).alpha, 255);
    ticks(2);
    ASSERT_EQ(task_kind_exists(kKindCredits), 1);
    EXPECT_EQ(task_kind_exists(kKindPlayer), 0);
    EXPECT_EQ(task_kind_exists(kKindEndPicture), 0);
    const CreditsRecord& c = task_record<CreditsRecord>(&task_pool()[kSlotCredits]);
    for (int i = 0; i < 4000 && c.step != &credits_prompt; ++i) tick();
    ASSERT_EQ(c.step, &credits_prompt);
    tick_press({kKeyZ});
    EXPECT_EQ(task_kind_exists(kKindCredits), 0);
    EXPECT_EQ(task_kind_exists(kKindTitle), 1);
}

TEST_F(EventScripts, SoundsWindowAndPortrait) {
    EventRunnerRecord& r = begin(7, human_);
    tick();
    EXPECT_TRUE(sound_requested(kSoundEventChime));
    tick();
    EXPECT_TRUE(sound_requested(kSoundMoney));
    tick();
    EXPECT_EQ(r.window_shown, 1);
    tick();
    EXPECT_EQ(r.portrait, 24);
    ticks(4);
    EXPECT_EQ(event_runner_find(), nullptr);
}

TEST_F(EventScripts, AllAchievedAcrossThePlayers) {
    begin(8, human_);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 1);
    human_->achievement_bits = 9;
    computer_->achievement_bits = 6;
    begin(8, human_);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 2);
}

TEST_F(EventScripts, BattlesOffSkipsTheRandomBattle) {
    g_game.settings[kSettingBattles] = 0;
    begin(9, human_);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 2);
}

TEST_F(EventScripts, RandomBattleFoughtByAComputerPlayer) {
    g_game.settings[kSettingBattles] = 1;
    begin(9, computer_);
    tick();
    tick();
    ASSERT_EQ(task_kind_exists(kKindBattle), 1);
    EXPECT_EQ(event_runner_find()->state, &runner_battle_wait);
    test::event_run_out();
    EXPECT_EQ(task_kind_exists(kKindBattle), 0);
    EXPECT_EQ(last().portrait, 1);
}

TEST_F(EventScripts, SetBattleAgainstTwo) {
    begin(10, human_);
    tick();
    const BattleRecord* b = battle_find();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->foe_count, 2);
    EXPECT_EQ(b->game_over, 1);
}

TEST_F(EventScripts, ShopWithItsItems) {
    EventRunnerRecord& r = begin(11, human_);
    tick();
    ASSERT_EQ(task_kind_exists(kKindShop), 1);
    const ShopRecord& shop = task_record<ShopRecord>(&task_pool()[kSlotShop]);
    EXPECT_EQ(shop.count, 3);
    EXPECT_EQ(shop.items[2], 11);
    EXPECT_EQ(r.state, &runner_shop_wait);
    // Leave: the menu's last entry, then yes.
    tick_press({kKeyUp});
    tick_press({kKeyEnter});
    tick_press({kKeyDown});
    tick_press({kKeyEnter});
    ASSERT_EQ(task_kind_exists(kKindShop), 0);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 1);
}

TEST_F(EventScripts, RequestThroughItsLife) {
    begin(12, human_);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 1);
    EXPECT_EQ(human_->team_number, 1);
    EXPECT_GE(human_->route_number, 3);
    EXPECT_LE(human_->route_number, 5);

    begin(12, human_);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 2);

    begin(12, computer_);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 3);

    human_->items[6] = g_game.requests[1].item_id;
    const int32_t money = human_->money;
    begin(12, human_);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 4);
    EXPECT_EQ(human_->items[6], 0);
    EXPECT_EQ(human_->money, money + g_game.requests[1].reward_money);
    EXPECT_EQ(g_game.requests[1].taken, 0);
}

TEST_F(EventScripts, HoldingAnotherRequest) {
    begin(13, human_);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 1);
    human_->team_number = 3;
    begin(13, human_);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 2);
}

TEST_F(EventScripts, BoardStagesPlayersAndTerrain) {
    human_->character_id = 2;
    human_->achievement_bits = 2;
    g_game.event_stage[6] = 1;
    begin(14, human_);
    tick();
    EXPECT_EQ(g_game.event_stage[24], 1);
    tick();
    EXPECT_EQ(g_game.event_stage[41], 2);
    tick();
    EXPECT_EQ(g_game.event_script[6][1], 0);
    EXPECT_EQ(g_game.event_script[6][0], 1);
    tick();
    EXPECT_EQ(human_->achievement_bits, 7);
    tick();
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) EXPECT_EQ(task_pool()[s].draw, 0);
    tick();
    EXPECT_EQ(g_game.terrain_layer[test::cell_index_of(60, 52)], 15);
    tick();
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) EXPECT_EQ(task_pool()[s].draw, 1);
}

TEST_F(EventScripts, ContinuesWithAnotherSquare) {
    EventRunnerRecord& r = begin(15, human_);
    ticks(2);
    EXPECT_EQ(r.square_index, 15);
    EXPECT_EQ(r.script_number, 16);
    tick();
    EXPECT_EQ(r.portrait, 9);
    test::event_run_out();
    EXPECT_EQ(last().portrait, 9);
}

TEST_F(EventScripts, SixActorsAtMostFourMoversAndRemovals) {
    begin(17, human_);
    ticks(7);
    for (int s = kSlotEventActorsFirst; s < kSlotEventActorsEnd; ++s) {
        ASSERT_NE(actor_in_slot(s), nullptr) << s;
    }
    EXPECT_EQ(actor_in_slot(kSlotEventActorsEnd - 1)->id, 6);
    test::event_run_out();
    EXPECT_EQ(actor_in_slot(kSlotEventActorsFirst), nullptr);
    EXPECT_EQ(actor_in_slot(kSlotEventActorsEnd - 1), nullptr);
    const EventActorRecord* third = actor_in_slot(kSlotEventActorsFirst + 2);
    ASSERT_NE(third, nullptr);
    float x, z;
    test::cell_world(52, 50, x, z);
    EXPECT_FLOAT_EQ(third->x, x - 2.0f);
    EXPECT_FLOAT_EQ(third->angle, 180.0f);
}

TEST_F(EventScripts, LineOfTwentyFourGlyphsThenTheNextLine) {
    EventRunnerRecord& r = begin(18, human_);
    ASSERT_TRUE(revealed());
    EXPECT_EQ(line_text(r.shown_lines[0]), "あいうえおかきくけこさしすせそたちつてとなにぬね");
    EXPECT_EQ(line_text(r.shown_lines[1]), "の");
}

}  // namespace
}  // namespace tessaly
