#include <gtest/gtest.h>

#include <vector>

#include "app/app.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "battle/battle_helpers.hpp"
#include "battle/battle_stage.hpp"
#include "field/member_data.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using test::BattleFixture;
using test::line_glyphs;
using test::tick;
using test::tick_press;
using test::ticks;

using Battle = BattleFixture;

// 129 + d for each digit d.
std::vector<int32_t> digits(std::initializer_list<int> ds) {
    std::vector<int32_t> out;
    for (int d : ds) out.push_back(129 + d);
    return out;
}

std::vector<int32_t> joined(std::initializer_list<std::vector<int32_t>> parts) {
    std::vector<int32_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(Battle, RandomStartTakesTheSlotPausesTheBoardAndFacesOneOfSixFoes) {
    ASSERT_EQ(battle_start_random(&player), 1);
    Task& t = task_pool()[kSlotBattle];
    EXPECT_EQ(t.kind, kKindBattle);
    BattleRecord& r = battle();
    EXPECT_EQ(r.foe_count, 1);
    EXPECT_GE(r.foes[0].id, 12);
    EXPECT_LE(r.foes[0].id, 17);
    EXPECT_EQ(r.foe_hp, kMemberData[r.foes[0].id].value_a);
    EXPECT_EQ(r.foe_max_hp, r.foe_hp);
    EXPECT_EQ(r.reward_money, kMemberData[r.foes[0].id].further[2]);
    EXPECT_EQ(r.game_over, 0);
    EXPECT_EQ(r.aim, 0);
    EXPECT_EQ(r.side, 1);
    EXPECT_EQ(r.timer, 70);
    EXPECT_EQ(r.player_hp, 30);
    EXPECT_EQ(r.step, &battle_opening);
    EXPECT_EQ(line_glyphs(r.message[0]), (std::vector<int32_t>{157, 50, 153, 39, 16}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(r.player_reel[i], 64 + 260 * i);
    // The camera stops and hides; the map and the players only hide.
    EXPECT_EQ(task_pool()[kSlotCamera].update, 0);
    EXPECT_EQ(task_pool()[kSlotCamera].draw, 0);
    EXPECT_EQ(task_pool()[kSlotMap].update, 1);
    EXPECT_EQ(task_pool()[kSlotMap].draw, 0);
    EXPECT_EQ(task_pool()[kSlotPlayersFirst].draw, 0);
}

TEST_F(Battle, TakenSlotStartsNothingAndLeavesTheBoardRunning) {
    Task* other = task_alloc_at(kSlotBattle);
    task_start(other, 0, nullptr, nullptr, 0, 0);
    EXPECT_EQ(battle_start_random(&player), 0);
    const int32_t rows[] = {18};
    EXPECT_EQ(battle_start_set(&player, 1, rows), 0);
    EXPECT_EQ(task_pool()[kSlotCamera].update, 1);
    EXPECT_EQ(task_pool()[kSlotMap].draw, 1);
    EXPECT_EQ(task_pool()[kSlotPlayersFirst].draw, 1);
    EXPECT_EQ(other->kind, 0);
}

TEST_F(Battle, SetStartSumsFoesAndRefusesBadCountsAndRows) {
    const int32_t rows[] = {18, 12, 20, 21, 22};
    EXPECT_EQ(battle_start_set(&player, 0, rows), 0);
    EXPECT_EQ(battle_start_set(&player, 5, rows), 0);
    const int32_t bad[] = {12, 24};
    EXPECT_EQ(battle_start_set(&player, 2, bad), 0);
    const int32_t negative[] = {-1};
    EXPECT_EQ(battle_start_set(&player, 1, negative), 0);
    EXPECT_FALSE(task_pool()[kSlotBattle].in_use);
    EXPECT_EQ(task_pool()[kSlotCamera].update, 1);

    ASSERT_EQ(battle_start_set(&player, 2, rows), 1);
    BattleRecord& r = battle();
    EXPECT_EQ(r.foe_count, 2);
    EXPECT_EQ(r.foe_hp, 50 + 15);
    EXPECT_EQ(r.reward_money, 600);
    EXPECT_EQ(r.reward_experience, 600);
    EXPECT_EQ(r.game_over, 1);
    EXPECT_EQ(r.aim, 1);
    EXPECT_EQ(r.foe_reel[1], 324);
}

TEST(BattleGauges, RunDownFromTheirMaximumAndBounceAtBothEnds) {
    Gauge a{30, 30, 2};
    gauge_move(a, true);
    EXPECT_EQ(a.value, 30);
    EXPECT_EQ(a.speed, -2);
    for (int i = 0; i < 15; ++i) gauge_move(a, true);
    EXPECT_EQ(a.value, 0);
    EXPECT_EQ(a.speed, 2);
    gauge_move(a, true);
    EXPECT_EQ(a.value, 2);
    Gauge odd{5, 5, -2};
    gauge_move(odd, true);
    gauge_move(odd, true);
    gauge_move(odd, true);
    EXPECT_EQ(odd.value, 0);  // 5, 3, 1, then -1 is held at 0
    Gauge d{20, 20, 1};
    gauge_move(d, false);
    EXPECT_EQ(d.speed, -1);
    gauge_move(d, false);
    EXPECT_EQ(d.value, 19);
}

TEST(BattleDamage, DefenceAtOrAboveAttackStillDealsOne) {
    BattleRecord r{};
    r.side = 0;
    r.player_attack.value = 7;
    r.foe_defence.value = 7;
    EXPECT_EQ(battle_damage(r), 1);
    r.foe_defence.value = 19;
    EXPECT_EQ(battle_damage(r), 1);
    r.side = 1;
    r.foe_attack.value = 0;
    r.player_defence.value = 0;
    EXPECT_EQ(battle_damage(r), 1);
    r.foe_attack.value = 25;
    r.player_defence.value = 3;
    EXPECT_EQ(battle_damage(r), 22);
}

TEST(BattleReels, SettleWithinTwentyFramesOnACardAtTheTopWithTheRingKept) {
    for (int offset = 0; offset < 80; ++offset) {
        int32_t tops[4];
        int32_t card = 0;
        reel_reset(tops, 4);
        for (int i = 0; i < offset; ++i) reel_move(tops, 4, card);
        int frames = 0;
        while (!reel_settle(tops, 4, card)) {
            ++frames;
            ASSERT_LE(frames, 20) << offset;
        }
        EXPECT_EQ(tops[card], 64);
        for (int i = 1; i < 4; ++i) {
            EXPECT_EQ(tops[(card + i) % 4], 64 + 260 * i) << "offset " << offset;
        }
    }
}

TEST(BattleMessages, NumbersGoInDigitByDigitAndAFullLineTakesNothing) {
    int32_t line[kBattleLineGlyphs] = {5, 6};
    glyphs_append_number(line, 1500);
    EXPECT_EQ(line_glyphs(line), joined({{5, 6}, digits({1, 5, 0, 0})}));
    glyphs_append_number(line, 0);
    EXPECT_EQ(line[6], 129);
    int32_t full[kBattleLineGlyphs];
    for (int32_t& g : full) g = 9;
    const int32_t more[] = {1, 2};
    glyphs_append(full, more, 2);
    for (int32_t g : full) EXPECT_EQ(g, 9);
    int32_t near[kBattleLineGlyphs] = {};
    for (int i = 0; i < 23; ++i) near[i] = 3;
    glyphs_append(near, more, 2);
    EXPECT_EQ(near[23], 1);
}

// Opening and the foes' turn dismissed, then the first bout's spin.
void to_first_spin(BattleFixture& f) {
    tick_press({kKeyEnter});
    EXPECT_EQ(f.battle().step, &battle_turn_message);
    tick_press({kKeyZ});
    EXPECT_EQ(f.battle().step, &battle_spin);
}

TEST_F(Battle, HumanWaitsForEnterOrZ) {
    ASSERT_EQ(battle_start_random(&player), 1);
    ticks(200);
    EXPECT_EQ(battle().step, &battle_opening);
    to_first_spin(*this);
    BattleRecord& r = battle();
    EXPECT_EQ(r.player_attack.max, 30);
    EXPECT_EQ(r.player_defence.value, 20);
    EXPECT_EQ(r.foe_attack.speed, 2);
    EXPECT_EQ(r.player_attack.speed, 1);
    EXPECT_EQ(r.foe_wait, r.computer_wait);
    EXPECT_GE(r.foe_wait, 20);
    EXPECT_LE(r.foe_wait, 75);
}

TEST_F(Battle, OneFoeCardNeverMovesInARandomBattle) {
    ASSERT_EQ(battle_start_random(&player), 1);
    to_first_spin(*this);
    for (int i = 0; i < 200 && battle().step != &battle_idle; ++i) {
        tick();
        EXPECT_EQ(battle().foe_reel[0], 64);
        EXPECT_NE(battle().step, &battle_foe_aim);
    }
    EXPECT_EQ(battle().step, &battle_idle);
}

TEST_F(Battle, OneFoeCardScrollsWhileAimingAndSettlesBackAtTheTop) {
    const int32_t rows[] = {18};
    ASSERT_EQ(battle_start_set(&player, 1, rows), 1);
    to_first_spin(*this);
    BattleRecord& r = battle();
    while (r.step == &battle_spin) {
        EXPECT_EQ(r.foe_reel[0], 64);
        tick();
    }
    ASSERT_EQ(r.step, &battle_foe_aim);
    bool moved = false;
    while (r.step == &battle_foe_aim) {
        tick();
        moved = moved || r.foe_reel[0] != 64;
    }
    EXPECT_TRUE(moved);
    ASSERT_TRUE(run_until_step(&battle_strike, 30));
    EXPECT_EQ(r.foe_reel[0], 64);
    EXPECT_EQ(r.foe_card, 0);
}

TEST_F(Battle, EnterAtTwelveAgainstSevenDealsFive) {
    ASSERT_EQ(battle_start_random(&player), 1);
    BattleRecord& r = battle();
    r.step = &battle_spin;
    r.side = 0;
    r.foe_hp = 20;
    r.player_attack = Gauge{10, 30, 2};
    r.foe_defence = Gauge{8, 20, -1};
    tick_press({kKeyEnter});
    EXPECT_EQ(r.player_attack.value, 12);
    EXPECT_EQ(r.foe_defence.value, 7);
    EXPECT_EQ(r.step, &battle_stop);
    ASSERT_TRUE(run_until_step(&battle_strike, 30));
    EXPECT_EQ(r.player_attack.value, 12);  // the gauges stand still while the reel settles
    EXPECT_EQ(r.strike_wait, 50);
    ticks(49);
    EXPECT_EQ(r.step, &battle_strike);
    tick();
    EXPECT_EQ(r.step, &battle_idle);
    EXPECT_EQ(r.foe_hp, 15);
    EXPECT_EQ(line_glyphs(r.message[0]), joined({{116, 123, 86, 128, 123, 26},
                                                 digits({5}),
                                                 {25, 114, 101, 123, 117, 45, 156, 4, 16}}));
    EXPECT_EQ(r.message[1][0], 0);
    EXPECT_NE(stage_find(), nullptr);
}

TEST_F(Battle, StrikeLeavingBothStandingGoesToTheNextBoutAfterItsOneLine) {
    ASSERT_EQ(battle_start_random(&player), 1);
    to_first_spin(*this);
    ASSERT_TRUE(run_until_step(&battle_result));
    BattleRecord& r = battle();
    EXPECT_EQ(r.side, 1);
    EXPECT_GT(r.player_hp, 0);
    EXPECT_EQ(r.timer, 70);
    tick();
    EXPECT_EQ(r.step, &battle_result);
    tick_press({kKeyEnter});
    EXPECT_EQ(r.message_line, 1);
    tick();
    EXPECT_EQ(r.step, &battle_turn_message);
    EXPECT_EQ(r.side, 0);
    EXPECT_EQ(line_glyphs(r.message[0]),
              (std::vector<int32_t>{116, 123, 86, 128, 123, 25, 165, 166}));
    EXPECT_EQ(r.player_reel[3], 64 + 780);
}

TEST_F(Battle, WinPaysMoneyAndExperienceAndResumesTheBoard) {
    player.money = 10;
    player.experience = 900;
    ASSERT_EQ(battle_start_random(&player), 1);
    BattleRecord& r = battle();
    const int32_t reward = r.reward_money;
    r.side = 0;
    r.foe_hp = 1;
    r.player_hp = 12;
    battle_apply_strike(r, 3);
    EXPECT_EQ(r.foe_hp, 0);
    EXPECT_EQ(line_glyphs(r.message[1]),
              (std::vector<int32_t>{116, 123, 86, 128, 123, 26, 157, 45, 158, 12, 16}));
    const int h = reward / 100;
    EXPECT_EQ(line_glyphs(r.message[2]), joined({digits({h, 0, 0}),
                                                 {25, 5, 246, 20},
                                                 digits({h, 0, 0}),
                                                 {25, 174, 175, 176, 45, 177, 16}}));
    r.step = &battle_result;
    for (int i = 0; i < 3; ++i) tick_press({kKeyEnter});
    // Past the last line the bout ends on its own.
    EXPECT_NE(battle_find(), nullptr);
    tick();
    EXPECT_EQ(battle_find(), nullptr);
    EXPECT_EQ(player.money, 10 + reward);
    EXPECT_EQ(player.experience, 0);  // 900 + at least 100 reaches a level
    EXPECT_EQ(player.level, 4);
    EXPECT_EQ(player.hit_points, 30);  // the level-up heals
    EXPECT_EQ(task_pool()[kSlotLevelUpSign].kind, kKindLevelUpSign);
    EXPECT_EQ(task_pool()[kSlotCamera].update, 1);
    EXPECT_EQ(task_pool()[kSlotMap].draw, 1);
}

TEST_F(Battle, LostRandomBattleCostsATurnAndTheRequestButPlayGoesOn) {
    player.team_number = 3;
    ASSERT_EQ(battle_start_random(&player), 1);
    BattleRecord& r = battle();
    r.side = 1;
    r.player_hp = 2;
    battle_apply_strike(r, 5);
    EXPECT_EQ(r.player_hp, 0);
    EXPECT_EQ(line_glyphs(r.message[2]), (std::vector<int32_t>{130, 162, 163, 32, 53, 13}));
    r.step = &battle_result;
    for (int i = 0; i < 3; ++i) tick_press({kKeyEnter});
    tick();
    EXPECT_EQ(battle_find(), nullptr);
    EXPECT_EQ(player.skip_turn, 1);
    EXPECT_EQ(player.hit_points, 30);
    EXPECT_EQ(player.team_number, 0);
    EXPECT_TRUE(task_pool()[kSlotCamera].in_use);
    EXPECT_FALSE(task_pool()[kSlotTitle].in_use);
}

TEST_F(Battle, LostSetBattleReturnsToTheTitleWithEveryTaskCleared) {
    const int32_t rows[] = {18, 19};
    ASSERT_EQ(battle_start_set(&player, 2, rows), 1);
    BattleRecord& r = battle();
    r.side = 1;
    r.player_hp = 1;
    battle_apply_strike(r, 9);
    EXPECT_EQ(line_glyphs(r.message[2]), (std::vector<int32_t>{118, 123, 100, 72, 123, 115, 123}));
    r.step = &battle_result;
    for (int i = 0; i < 3; ++i) tick_press({kKeyEnter});
    tick();
    for (int s = 0; s < kTaskSlots; ++s) {
        if (s == kSlotTitle) continue;
        EXPECT_FALSE(task_pool()[s].in_use) << "slot " << s;
    }
    EXPECT_EQ(task_pool()[kSlotTitle].kind, kKindTitle);
    EXPECT_EQ(player.skip_turn, 1);
}

TEST_F(Battle, HumanWinsARandomBattleWithEnterAlone) {
    ASSERT_EQ(battle_start_random(&player), 1);
    const int32_t foe_hp = battle().foe_hp;
    int bouts = 0;
    bool idle = false;
    for (int i = 0; i < 5000 && battle_find(); ++i) {
        const bool now_idle = battle_find()->step == &battle_idle;
        if (now_idle && !idle) ++bouts;
        idle = now_idle;
        tick_press({kKeyEnter});
    }
    ASSERT_EQ(battle_find(), nullptr);
    EXPECT_GE(bouts, 2);
    // The members' attack outweighs any random foe's defence, and 30 hit points outlast it.
    EXPECT_EQ(player.skip_turn, 0);
    EXPECT_GT(player.money, 0);
    EXPECT_GT(foe_hp, 0);
    EXPECT_FALSE(stage_find());
}

TEST_F(Battle, ComputerPlayerFightsToTheEndWithoutKeys) {
    player.computer = 1;
    const int32_t rows[] = {16};
    ASSERT_EQ(battle_start_set(&player, 1, rows), 1);
    ASSERT_TRUE(run_until_step(&battle_turn_message, 80));
    // The opening goes on after its 70 frames' pause and one more.
    bool aimed = false;
    for (int i = 0; i < 20000 && battle_find(); ++i) {
        aimed = aimed || battle_find()->step == &battle_computer_aim;
        tick();
    }
    EXPECT_EQ(battle_find(), nullptr);
    EXPECT_TRUE(aimed);
    EXPECT_TRUE(task_pool()[kSlotCamera].in_use || task_pool()[kSlotTitle].in_use);
}

TEST_F(Battle, ComputerOpeningPausesSeventyOneFrames) {
    player.computer = 1;
    ASSERT_EQ(battle_start_random(&player), 1);
    ticks(70);
    EXPECT_EQ(battle().step, &battle_opening);
    tick();
    EXPECT_EQ(battle().step, &battle_turn_message);
}

TEST_F(Battle, StageThatCannotOpenGoesStraightToTheResult) {
    ASSERT_EQ(battle_start_random(&player), 1);
    Task* blocker = task_alloc_at(kSlotBattleStage);
    task_start(blocker, 0, nullptr, nullptr, 0, 0);
    BattleRecord& r = battle();
    r.step = &battle_strike;
    r.strike_wait = 1;
    tick();
    EXPECT_EQ(r.step, &battle_result);
}

}  // namespace
}  // namespace tessaly
