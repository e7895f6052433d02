#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "battle/battle_stage.hpp"
#include "field/member_data.hpp"
#include "support/ticks.hpp"

namespace tessaly {
namespace {

using test::tick;

// A battle record that is not a task: the stage only reads it and hands back to it.
struct Stage : test::TickFixture {
    BattleRecord battle{};
    void SetUp() override {
        TickFixture::SetUp();
        battle.alive = 1;
        battle.side = 0;
        battle.player_hp = 30;
        battle.foe_hp = 20;
        battle.foe_count = 1;
        battle.member_count = 4;
        for (int i = 0; i < 4; ++i) battle.members[i] = kMemberData[i];
        for (int i = 0; i < 4; ++i) battle.foes[i] = kMemberData[12 + i];
        battle.step = &battle_idle;
    }
    void striker_style(int style) {
        MemberData& m =
            battle.side == 0 ? battle.members[battle.player_card] : battle.foes[battle.foe_card];
        m.further[0] = style;
        m.further[1] = style;
    }
    std::vector<CombatantRecord*> side(int s) {
        std::vector<CombatantRecord*> out;
        for (int i = kSlotBattleFiguresFirst; i < kSlotBattleFiguresEnd; ++i) {
            Task* t = &task_pool()[i];
            if (!t->in_use || t->kind != kKindCombatant) continue;
            CombatantRecord& c = task_record<CombatantRecord>(t);
            if (c.side == s) out.push_back(&c);
        }
        return out;
    }
    // Ticks until the stage has handed back; the number of ticks, or -1 past the limit.
    int run_out(int limit = 3000) {
        for (int i = 0; i < limit; ++i) {
            if (!stage_find()) return i;
            tick();
        }
        return -1;
    }
};

TEST(BattleStageStyle, DamageNineUsesTheFirstValueAndTenTheSecond) {
    MemberData m = kMemberData[0];
    m.further[0] = 4;
    m.further[1] = 5;
    EXPECT_EQ(attack_style(m, 1), 4);
    EXPECT_EQ(attack_style(m, 9), 4);
    EXPECT_EQ(attack_style(m, 10), 5);
    EXPECT_EQ(attack_style(m, 40), 5);
}

TEST(BattleStageDirection, MeasuresFromEastCounterClockwise) {
    EXPECT_NEAR(direction_toward(20, 0, -20, 0), 180.0f, 1e-3);
    EXPECT_NEAR(direction_toward(-20, 0, 20, 0), 0.0f, 1e-3);
    EXPECT_NEAR(direction_toward(0, 0, 0, 5), 90.0f, 1e-3);
    EXPECT_NEAR(direction_toward(0, 0, 0, -5), 270.0f, 1e-3);
    EXPECT_NEAR(direction_toward(0, 0, -1, 1), 135.0f, 1e-3);
    EXPECT_NEAR(direction_toward(0, 0, 1, -1), -45.0f, 1e-3);
}

TEST_F(Stage, LinesUpBothSidesInReelOrderWithOppositeNumbersAsTargets) {
    battle.player_card = 2;
    battle.foe_count = 2;
    battle.foe_card = 1;
    ASSERT_EQ(battle_stage_open(&battle, 3), 1);
    const auto members = side(0);
    const auto foes = side(1);
    ASSERT_EQ(members.size(), 4u);
    ASSERT_EQ(foes.size(), 2u);
    const int member_rows[] = {2, 3, 0, 1};
    for (int q = 0; q < 4; ++q) {
        EXPECT_EQ(members[q]->data.id, member_rows[q]);
        EXPECT_FLOAT_EQ(members[q]->position.x, 20.0f + 2 * q);
        EXPECT_FLOAT_EQ(members[q]->facing, 180.0f);
    }
    EXPECT_EQ(foes[0]->data.id, 13);
    EXPECT_EQ(foes[1]->data.id, 12);
    EXPECT_FLOAT_EQ(foes[1]->position.x, -22.0f);
    EXPECT_EQ(members[0]->target, foes[0]);
    EXPECT_EQ(members[1]->target, foes[1]);
    EXPECT_EQ(members[2]->target, nullptr);
    EXPECT_EQ(members[3]->target, nullptr);
    EXPECT_EQ(foes[0]->target, members[0]);
    EXPECT_EQ(foes[1]->target, members[1]);
    // The first member created attacks; the others stand.
    EXPECT_EQ(members[0]->state, &combatant_start);
    EXPECT_EQ(members[1]->state, &combatant_idle);
    StageRecord* s = stage_find();
    ASSERT_NE(s, nullptr);
    EXPECT_FLOAT_EQ(s->look_at.x, 20.0f);
    EXPECT_FLOAT_EQ(s->eye.z, -20.0f);
}

TEST_F(Stage, TakenSlotOpensNothing) {
    Task* t = task_alloc_at(kSlotBattleStage);
    task_start(t, 0, nullptr, nullptr, 0, 0);
    EXPECT_EQ(battle_stage_open(&battle, 3), 0);
    EXPECT_TRUE(side(0).empty());
}

// Every style, struck by either side, knocks the defending side back, ends, and hands
// back to the battle with every figure gone.
TEST_F(Stage, EveryStyleOfEitherSideKnocksBackAndHandsBack) {
    for (int striker = 0; striker < 2; ++striker) {
        for (int style = 0; style < kStyleCount; ++style) {
            SCOPED_TRACE(testing::Message() << "side " << striker << " style " << style);
            pool_reset();
            battle.side = striker;
            battle.step = &battle_idle;
            battle.timer = 0;
            striker_style(style);
            ASSERT_EQ(battle_stage_open(&battle, 5), 1);
            const StageRecord* s = stage_find();
            EXPECT_FLOAT_EQ(s->look_at.x, striker == 1 ? -20.0f : 20.0f);
            bool knocked = false;
            bool panned = false;
            for (int i = 0; i < 2000 && stage_find(); ++i) {
                for (CombatantRecord* c : side(1 - striker)) {
                    if (c->state == &combatant_knock_back) {
                        knocked = true;
                        // Rolled over from its first frame of knock-back on.
                        if (c->timer < kKnockBackFrames) {
                            EXPECT_TRUE(c->roll == 315.0f || c->roll == 45.0f);
                        }
                    }
                }
                panned = panned || stage_find()->pan_done == 1;
                tick();
            }
            EXPECT_EQ(stage_find(), nullptr);
            EXPECT_TRUE(knocked);
            EXPECT_TRUE(panned);
            EXPECT_EQ(battle.step, &battle_result);
            EXPECT_EQ(battle.timer, 70);
            EXPECT_FALSE(task_kind_exists(kKindCombatant));
            EXPECT_FALSE(task_kind_exists(kKindOrb));
            EXPECT_FALSE(task_kind_exists(kKindProp));
        }
    }
}

TEST_F(Stage, ASideOneThrowTurnsWithinFortyFiveFrames) {
    battle.side = 1;
    striker_style(kStyleThrow);
    ASSERT_EQ(battle_stage_open(&battle, 5), 1);
    CombatantRecord* thrower = side(1)[0];
    ASSERT_TRUE(task_kind_exists(kKindProp));
    for (int i = 0; i < 30; ++i) tick();
    int turning = 0;
    while (thrower->timer <= 0 || thrower->state == &combatant_start || turning == 0) {
        tick();
        ++turning;
        if (thrower->timer == 50) break;
        ASSERT_LT(turning, 200);
    }
    EXPECT_LE(turning, 46);
    EXPECT_FLOAT_EQ(thrower->facing, 270.0f);
}

TEST_F(Stage, RainSpawnsFiveRisingAndFiveFallingOrbsAndKnocksBackWithTheLast) {
    striker_style(kStyleRain);
    ASSERT_EQ(battle_stage_open(&battle, 5), 1);
    int rising = 0, falling = 0, falling_at_knock = -1, in_flight_at_knock = -1;
    bool was_live[kTaskSlots] = {};
    for (int i = 0; i < 2000 && stage_find(); ++i) {
        tick();
        int in_flight = 0;
        for (int s = kSlotBattleFiguresFirst; s < kSlotBattleFiguresEnd; ++s) {
            Task* t = &task_pool()[s];
            const bool live = t->in_use && t->kind == kKindOrb;
            if (live && !was_live[s]) {
                const OrbRecord& o = task_record<OrbRecord>(t);
                (o.position.y >= 18 ? falling : rising) += 1;
            }
            if (live && task_record<OrbRecord>(t).hit == 0) ++in_flight;
            was_live[s] = live;
        }
        if (falling_at_knock < 0 && side(1)[0]->state == &combatant_knock_back) {
            falling_at_knock = falling;
            in_flight_at_knock = in_flight;
        }
    }
    EXPECT_EQ(rising, 5);
    EXPECT_EQ(falling, 5);
    EXPECT_EQ(falling_at_knock, 5);
    EXPECT_EQ(in_flight_at_knock, 0);
}

TEST_F(Stage, DefeatedSideSinksOnlyAfterEveryOtherAnimation) {
    striker_style(kStyleCharge);
    battle.foe_hp = 0;
    ASSERT_EQ(battle_stage_open(&battle, 5), 1);
    bool sank = false;
    bool knocked = false;
    for (int i = 0; i < 2000 && stage_find(); ++i) {
        tick();
        if (!stage_find()) break;
        knocked = knocked || side(1)[0]->state == &combatant_knock_back;
        if (side(1)[0]->state != &combatant_sink || sank) continue;
        sank = true;
        EXPECT_TRUE(knocked);
        for (CombatantRecord* c : side(0)) EXPECT_EQ(c->state, &combatant_idle);
        for (CombatantRecord* c : side(1)) EXPECT_EQ(c->state, &combatant_sink);
    }
    EXPECT_TRUE(sank);
    EXPECT_EQ(stage_find(), nullptr);
}

TEST_F(Stage, LostPlayerSinksItsMembersAndNotTheFoes) {
    battle.side = 1;
    striker_style(kStyleShot);
    battle.player_hp = 0;
    ASSERT_EQ(battle_stage_open(&battle, 5), 1);
    float lowest = 1;
    for (int i = 0; i < 2000 && stage_find(); ++i) {
        tick();
        if (!stage_find()) break;
        EXPECT_NE(side(1)[0]->state, &combatant_sink);
        lowest = std::min(lowest, side(0)[3]->position.y);
    }
    EXPECT_LT(lowest, -1.0f);
}

TEST_F(Stage, NoFreeFigureSlotNeverHangs) {
    for (int s = kSlotBattleFiguresFirst; s < kSlotBattleFiguresEnd; ++s) {
        task_start(task_alloc_at(s), 0, nullptr, nullptr, 0, 0);
    }
    ASSERT_EQ(battle_stage_open(&battle, 5), 1);
    EXPECT_GE(run_out(), 0);
    EXPECT_EQ(battle.step, &battle_result);
}

TEST_F(Stage, StylesWithoutRoomForOrbsOrPropsStillEnd) {
    for (int style : {kStyleThrow, kStyleChargeWithProp, kStyleShot, kStyleRain}) {
        SCOPED_TRACE(style);
        pool_reset();
        battle.step = &battle_idle;
        striker_style(style);
        // Room for the four members and the one foe, none for anything else.
        for (int s = kSlotBattleFiguresFirst + 5; s < kSlotBattleFiguresEnd; ++s) {
            task_start(task_alloc_at(s), 0, nullptr, nullptr, 0, 0);
        }
        ASSERT_EQ(battle_stage_open(&battle, 5), 1);
        EXPECT_EQ(side(0).size(), 4u);
        EXPECT_GE(run_out(), 0);
        EXPECT_EQ(battle.step, &battle_result);
    }
}

}  // namespace
}  // namespace tessaly
