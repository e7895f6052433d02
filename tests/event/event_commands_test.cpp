#include "event/event_commands.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "event/ending.hpp"
#include "event/event_actors.hpp"
#include "event/runner_fixture.hpp"
#include "field/camera.hpp"
#include "scene/shop.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"
#include "state/new_game.hpp"
#include "state/progress.hpp"

namespace tessaly {
namespace {

using test::EventRunner;
using test::tick;
using test::tick_press;
using test::ticks;

using EventCommands = EventRunner;

bool slot_used(int slot) {
    return task_pool()[slot].in_use != 0;
}

// Runs the script's first command: the start frame, then the command's frame.
EventRunnerRecord& first_command(EventRunnerRecord& r) {
    ticks(2);
    return r;
}

TEST_F(EventCommands, SoundsOutsideTheEffectsAreIgnored) {
    EventRunnerRecord& r = start("#14,3,#14,14,#14,13,");
    first_command(r);
    EXPECT_TRUE(sound_requested(kSoundEventChime));
    tick();
    for (int i = 0; i < kEffectCount; ++i) EXPECT_FALSE(sound_requested(i)) << i;
    tick();
    EXPECT_TRUE(sound_requested(kSoundMoney));
}

TEST_F(EventCommands, AllAchievedJumpsOnlyWhenTheLivePlayersHoldAllFour) {
    float x, z;
    test::cell_world(5, 1, x, z);
    PlayerRecord* other = player_create(x, kPlayerHeight, z, 1, 1);
    other->state = &turn_waiting;
    player_->achievement_bits = 3;
    other->achievement_bits = 4;
    EventRunnerRecord& r = start("#15,#3,1,#99,all_achieved#3,2,");
    first_command(r);
    tick();
    EXPECT_EQ(r.portrait, 1);
    frames_to_end();

    other->achievement_bits = 12;
    EventRunnerRecord& again = start("#15,#3,1,#99,all_achieved#3,2,");
    first_command(again);
    tick();
    EXPECT_EQ(again.portrait, 2);
}

TEST_F(EventCommands, BattlesSettingTestJumpsToKaihiWhenBattlesAreOff) {
    g_game.settings[kSettingBattles] = 1;
    EventRunnerRecord& r = start("#20,#3,1,#99,kaihi#3,2,");
    first_command(r);
    tick();
    EXPECT_EQ(r.portrait, 1);
    frames_to_end();
    g_game.settings[kSettingBattles] = 0;
    EventRunnerRecord& off = start("#20,#3,1,#99,kaihi#3,2,");
    first_command(off);
    tick();
    EXPECT_EQ(off.portrait, 2);
}

TEST_F(EventCommands, RandomBattleOnlyWithTheBattlesSetting) {
    g_game.settings[kSettingBattles] = 0;
    EventRunnerRecord& r = start("#6,#3,1,");
    first_command(r);
    EXPECT_EQ(r.state, &runner_battle_wait);
    EXPECT_FALSE(slot_used(kSlotBattle));
    tick();
    EXPECT_EQ(r.state, &runner_run);
    frames_to_end();

    g_game.settings[kSettingBattles] = 1;
    EventRunnerRecord& on = start("#6,#3,1,");
    first_command(on);
    ASSERT_TRUE(slot_used(kSlotBattle));
    EXPECT_EQ(task_pool()[kSlotBattle].kind, kKindBattle);
    ticks(3);
    EXPECT_EQ(on.state, &runner_battle_wait);
    task_pool()[kSlotBattle].in_use = 0;
    tick();
    EXPECT_EQ(on.state, &runner_run);
}

TEST_F(EventCommands, SetBattleReadsItsRowsWithoutTheSetting) {
    g_game.settings[kSettingBattles] = 0;
    EventRunnerRecord& r = start("#7,2,12,13,#3,1,");
    first_command(r);
    ASSERT_TRUE(slot_used(kSlotBattle));
    const BattleRecord* b = battle_find();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->foe_count, 2);
    task_pool()[kSlotBattle].in_use = 0;
    ticks(2);
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventCommands, SetBattleOfFiveOpponentsStartsNothing) {
    EventRunnerRecord& r = start("#7,5,12,13,14,15,16,#3,1,");
    first_command(r);
    EXPECT_FALSE(slot_used(kSlotBattle));
    ticks(2);
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventCommands, ShopOpensWithItsListAndTheRunnerWaits) {
    EventRunnerRecord& r = start("#10,3,1,2,5,#3,1,");
    first_command(r);
    ASSERT_TRUE(slot_used(kSlotShop));
    const ShopRecord& shop = task_record<ShopRecord>(&task_pool()[kSlotShop]);
    EXPECT_EQ(shop.count, 3);
    EXPECT_EQ(shop.items[2], 5);
    EXPECT_EQ(shop.player, player_);
    ticks(5);
    EXPECT_EQ(r.state, &runner_shop_wait);
    task_pool()[kSlotShop].in_use = 0;
    ticks(2);
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventCommands, ShowAndHidePlayers) {
    EventRunnerRecord& r = start("#21,0,#21,7,");
    first_command(r);
    EXPECT_EQ(task_pool()[kSlotPlayersFirst].draw, 0);
    tick();
    EXPECT_EQ(task_pool()[kSlotPlayersFirst].draw, 1);
}

TEST_F(EventCommands, TerrainChangeKeepsTheLowByte) {
    EventRunnerRecord& r = start("#22,3,2,271,#22,900,900,5,");
    const int cell = test::cell_index_of(3, 2);
    ASSERT_EQ(g_game.terrain_layer[cell], kTerrainFill);
    first_command(r);
    EXPECT_EQ(g_game.terrain_layer[cell], 15);
    // A cell off the grid is left alone.
    tick();
    EXPECT_TRUE(running());
}

TEST_F(EventCommands, ActorsArePlacedMovedAndRemoved) {
    EventRunnerRecord& r = start("#11,1,3,90,4,7,#18,1,7,0,8,#19,7,");
    first_command(r);
    EventActorRecord* a = actor_in_slot(kSlotEventActorsFirst);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(task_pool()[kSlotEventActorsFirst].spare, 7);
    float x, z;
    test::cell_world(1, 3, x, z);
    EXPECT_FLOAT_EQ(a->x, x);
    EXPECT_FLOAT_EQ(a->z, z);
    EXPECT_FLOAT_EQ(a->y, kActorHeight);
    EXPECT_FLOAT_EQ(a->angle, 90.0f);
    EXPECT_EQ(a->model, 4);
    // The command's own frame takes the first step.
    tick();
    EXPECT_EQ(r.state, &runner_actor_move);
    EXPECT_FLOAT_EQ(a->x, x + 0.5f);
    EXPECT_FLOAT_EQ(a->angle, 0.0f);
    ticks(6);
    EXPECT_EQ(r.state, &runner_actor_move);
    tick();
    EXPECT_EQ(r.state, &runner_run);
    // Eight frames: two cells.
    EXPECT_FLOAT_EQ(a->x, x + 4.0f);
    tick();
    EXPECT_EQ(a->alive, 0);
    tick();
    EXPECT_FALSE(slot_used(kSlotEventActorsFirst));
}

TEST_F(EventCommands, ActorMoveWithNoFramesResumesNextFrame) {
    EventRunnerRecord& r = start("#17,1,3,0,2,5,#18,2,5,0,0,5,90,0,#3,1,");
    first_command(r);
    const EventActorRecord* a = actor_in_slot(kSlotEventActorsFirst);
    ASSERT_NE(a, nullptr);
    const float x = a->x, z = a->z;
    tick();
    EXPECT_EQ(r.state, &runner_actor_move);
    tick();
    EXPECT_EQ(r.state, &runner_run);
    EXPECT_FLOAT_EQ(a->x, x);
    EXPECT_FLOAT_EQ(a->z, z);
    tick();
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventCommands, MoversPastFourAreLeftOut) {
    EventRunnerRecord& r = start("#18,6,1,0,3,2,0,3,3,0,3,4,0,3,5,0,3,6,0,3,#3,1,");
    first_command(r);
    EXPECT_EQ(r.mover_count, kMoversMax);
    EXPECT_EQ(r.mover_ids[3], 4);
    ticks(3);
    EXPECT_EQ(r.state, &runner_run);
    tick();
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventCommands, WalkingActorIsPutOnWholeNumbersEveryEighthFrame) {
    ASSERT_EQ(actor_place(1, 1, 0.0f, 0, 3), 1);
    EventActorRecord* a = actor_in_slot(kSlotEventActorsFirst);
    a->x = 1.3f;
    a->z = -2.5f;
    actors_step(3, 270, 9);
    EXPECT_FLOAT_EQ(a->x, 1.3f);
    EXPECT_FLOAT_EQ(a->z, -3.0f);
    actors_step(3, 270, 8);
    EXPECT_FLOAT_EQ(a->x, 1.0f);
    EXPECT_FLOAT_EQ(a->z, -3.5f);
    EXPECT_FLOAT_EQ(a->angle, 270.0f);
    actors_step(3, 45, 7);
    EXPECT_FLOAT_EQ(a->z, -3.5f);
    EXPECT_FLOAT_EQ(a->angle, 270.0f);
}

TEST_F(EventCommands, SeventhActorFindsNoSlotAndRemovalTakesTheLowest) {
    for (int i = 0; i < 6; ++i) ASSERT_EQ(actor_place(1, 1, 0.0f, 0, i < 3 ? 1 : 2), 1);
    EXPECT_EQ(actor_place(1, 1, 0.0f, 0, 9), 0);
    EventRunnerRecord& r = start("#19,2,#19,8,");
    first_command(r);
    EXPECT_EQ(actor_in_slot(kSlotEventActorsFirst + 3)->alive, 0);
    EXPECT_EQ(actor_in_slot(kSlotEventActorsFirst + 4)->alive, 1);
    tick();
    EXPECT_FALSE(slot_used(kSlotEventActorsFirst + 3));
    for (int s = kSlotEventActorsFirst + 4; s < kSlotEventActorsEnd; ++s) EXPECT_TRUE(slot_used(s));
}

TEST_F(EventCommands, TakingARequestChoosesOneOfItsRoutes) {
    player_->route_die_step = 4;
    player_->route_direction_step = 2;
    EventRunnerRecord& r = start("#30,2,3,17,18,19,#3,1,");
    first_command(r);
    const RequestRecord& row = g_game.requests[2];
    EXPECT_EQ(row.taken, 1);
    EXPECT_EQ(row.holder, player_->character_id);
    EXPECT_EQ(player_->team_number, 2);
    EXPECT_EQ(player_->team_target, row.item_id);
    EXPECT_GE(player_->route_number, 17);
    EXPECT_LE(player_->route_number, 19);
    EXPECT_EQ(player_->route_die_step, 0);
    EXPECT_EQ(player_->route_direction_step, 0);
    // The command ends in the actor move, which finds nothing and resumes.
    EXPECT_EQ(r.state, &runner_actor_move);
    tick();
    EXPECT_EQ(r.state, &runner_run);
    tick();
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventCommands, RoutesPastTwelveAreLeftOut) {
    std::string routes;
    for (int i = 0; i < 20; ++i) routes += std::to_string(i < 12 ? 40 : 90) + ",";
    EventRunnerRecord& r = start("#30,1,20," + routes + "#3,1,");
    first_command(r);
    EXPECT_EQ(player_->route_number, 40);
    ticks(2);
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventCommands, RouteChoiceIsUniform) {
    int seen[3] = {};
    for (int i = 0; i < 60; ++i) {
        reset_requests();
        start("#30,1,3,0,1,2,");
        first_command(*event_runner_find());
        ASSERT_GE(player_->route_number, 0);
        ASSERT_LE(player_->route_number, 2);
        seen[player_->route_number] += 1;
        frames_to_end();
    }
    for (int n : seen) EXPECT_GT(n, 5);
}

TEST_F(EventCommands, RequestConditions) {
    g_game.requests[3].taken = 1;
    player_->team_number = 2;
    for (int i = 0; i < kItemSlots; ++i) player_->items[i] = 1;
    player_->items[5] = g_game.requests[1].item_id;
    struct Case {
        std::string command;
        const char* label;
        bool jumps;
    } cases[] = {
        {"#31,3,", "requested", true}, {"#31,2,", "requested", false},
        {"#32,2,", "no_team", false},  {"#32,1,", "no_team", true},
        {"#33,1,", "achieved", true},  {"#33,2,", "achieved", false},
        {"#36,2,", "other", false},    {"#36,1,", "other", true},
    };
    for (const Case& c : cases) {
        EventRunnerRecord& r = start(c.command + "#3,1,#99," + c.label + "#3,2,");
        ticks(3);
        EXPECT_EQ(r.portrait, c.jumps ? 2 : 1) << c.command;
        frames_to_end();
    }
    player_->team_number = 0;
    EventRunnerRecord& r = start("#36,1,#3,1,#99,other#3,2,");
    ticks(3);
    EXPECT_EQ(r.portrait, 1);
}

TEST_F(EventCommands, RequestForItemZeroIsAchievedWithAnEmptySlot) {
    g_game.requests[4].item_id = 0;
    for (int32_t& item : player_->items) item = 1;
    EventRunnerRecord& full = start("#33,4,#3,1,#99,achieved#3,2,");
    ticks(3);
    EXPECT_EQ(full.portrait, 1);
    frames_to_end();
    player_->items[7] = 0;
    EventRunnerRecord& r = start("#33,4,#3,1,#99,achieved#3,2,");
    ticks(3);
    EXPECT_EQ(r.portrait, 2);
}

TEST_F(EventCommands, CompletingRowTwoWhileHoldingRowOneEndsRowOneAndPaysRowTwo) {
    RequestRecord& one = g_game.requests[1];
    RequestRecord& two = g_game.requests[2];
    two.reward_exp = 1200;
    two.reward_money = 2500;
    ASSERT_GE(one.square, 1);
    g_game.event_stage[one.square - 1] = 1;
    g_game.event_stage[two.square - 1] = 1;
    one.taken = 1;
    one.holder = player_->character_id;
    player_->team_number = 1;
    player_->items[3] = two.item_id;
    player_->experience = 100;
    player_->level = 10;
    player_->hit_points = 5;
    const int32_t money = player_->money;
    EventRunnerRecord& r = start("#34,2,");
    first_command(r);
    EXPECT_EQ(player_->items[3], 0);
    EXPECT_EQ(one.taken, 0);
    EXPECT_EQ(one.holder, kNoHolder);
    EXPECT_EQ(g_game.event_stage[one.square - 1], 0);
    EXPECT_EQ(g_game.event_stage[two.square - 1], 1);
    EXPECT_EQ(player_->team_number, 0);
    EXPECT_EQ(player_->money, money + 2500);
    EXPECT_EQ(player_->experience, 0);
    EXPECT_EQ(player_->level, 11);
    EXPECT_EQ(player_->hit_points, player_->max_hit_points);
    EXPECT_TRUE(sound_requested(kSoundLevelUp));
    EXPECT_TRUE(slot_used(kSlotLevelUpSign));
}

TEST_F(EventCommands, StagesAndScriptsOfSquares) {
    g_game.event_script[6][1] = 2;
    player_->character_id = 2;
    EventRunnerRecord& r = start("#35,7,1,#38,7,#39,9,#35,8,4,#35,61,1,#38,0,");
    first_command(r);
    EXPECT_EQ(g_game.event_stage[6], 1);
    tick();
    EXPECT_EQ(g_game.event_script[6][1], 0);
    tick();
    EXPECT_EQ(g_game.event_stage[8], 2);
    // A stage past the table's columns and squares off the board change nothing.
    ticks(3);
    EXPECT_EQ(g_game.event_stage[7], 0);
    EXPECT_TRUE(running());
}

TEST_F(EventCommands, AchievementBitsAreAdded) {
    player_->achievement_bits = 1;
    EventRunnerRecord& r = start("#37,4,#37,5,");
    first_command(r);
    EXPECT_EQ(player_->achievement_bits, 5);
    tick();
    EXPECT_EQ(player_->achievement_bits, 5);
}

TEST_F(EventCommands, ContinuesWithAnotherSquaresScript) {
    put_script(46, "#3,8,");
    g_game.event_stage[2] = 3;
    g_game.event_script[2][3] = 46;
    EventRunnerRecord& r = start("#40,3,#3,1,");
    first_command(r);
    EXPECT_EQ(r.square_index, 2);
    EXPECT_EQ(r.script_number, 46);
    EXPECT_EQ(r.read_position, 0);
    tick();
    EXPECT_EQ(r.portrait, 8);
    tick();
    EXPECT_FALSE(running());
}

TEST_F(EventCommands, ContinuingWithASquareOffTheBoardRunsSquareOne) {
    EventRunnerRecord& r = start("#3,4,#40,77,");
    first_command(r);
    r.portrait = kPortraitNone;
    tick();
    EXPECT_EQ(r.square_index, 0);
    tick();
    EXPECT_EQ(r.portrait, 4);
}

TEST_F(EventCommands, EndPictureFadesInOverFiftyOneFrames) {
    EventRunnerRecord& r = start("#41,");
    first_command(r);
    ASSERT_TRUE(slot_used(kSlotEndPicture));
    const EndPictureRecord& e = task_record<EndPictureRecord>(&task_pool()[kSlotEndPicture]);
    EXPECT_EQ(task_pool()[kSlotEndPicture].kind, kKindEndPicture);
    // Its slot comes after the runner's: it fades once in the frame it starts.
    EXPECT_EQ(e.alpha, 5);
    ticks(49);
    EXPECT_EQ(e.alpha, 250);
    tick();
    EXPECT_EQ(e.alpha, 255);
    ticks(100);
    EXPECT_EQ(e.alpha, 255);
    EXPECT_TRUE(slot_used(kSlotEndPicture));
}

TEST_F(EventCommands, CreditsRollThenWaitForAKeyAndReturnToTheTitle) {
    EventRunnerRecord& r = start("#41,#42,#3,1,");
    first_command(r);
    tick();
    // Every task ended, the runner and the end picture with them.
    EXPECT_FALSE(running());
    EXPECT_FALSE(slot_used(kSlotEndPicture));
    EXPECT_FALSE(slot_used(kSlotPlayersFirst));
    ASSERT_TRUE(slot_used(kSlotCredits));
    const CreditsRecord& c = task_record<CreditsRecord>(&task_pool()[kSlotCredits]);
    ticks(199);
    EXPECT_EQ(c.sprites[0].active, 0);
    tick();
    ASSERT_EQ(c.sprites[0].active, 1);
    EXPECT_FLOAT_EQ(c.sprites[0].y, kCreditStartY - 1.0f);
    EXPECT_FLOAT_EQ(c.sprites[0].source.left, kCredits[0].left);
    // The last credit is placed 14 × 200 frames after the start and leaves 541 frames later.
    int frames = 200;
    while (c.step != &credits_prompt && frames < 5000) {
        tick();
        ++frames;
    }
    EXPECT_EQ(frames, 14 * 200 + 540);
    ticks(50);
    EXPECT_TRUE(slot_used(kSlotCredits));
    tick_press({kKeyEnter});
    EXPECT_FALSE(slot_used(kSlotCredits));
    EXPECT_TRUE(slot_used(kSlotTitle));
    EXPECT_EQ(task_pool()[kSlotTitle].kind, kKindTitle);
}

}  // namespace
}  // namespace tessaly
