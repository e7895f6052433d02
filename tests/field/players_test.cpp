#include "field/players.hpp"

#include <gtest/gtest.h>

#include "app/debug_dump.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "board_helpers.hpp"
#include "event/event_runner.hpp"
#include "field/camera.hpp"
#include "field/map.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using test::BoardFixture;
using test::cell_index_of;
using test::cell_world;
using test::tick;
using test::tick_press;
using test::ticks;

struct Players : BoardFixture {
    void SetUp() override {
        BoardFixture::SetUp();
        test::lay_board(test::kFourSquareBoard);
    }
    PlayerRecord& human_at(int column, int row) {
        float x, z;
        cell_world(column, row, x, z);
        PlayerRecord* p = player_create(x, kPlayerHeight, z, 0, 0);
        EXPECT_NE(p, nullptr);
        p->next_player = p;
        return *p;
    }
    // Lets the die spin until the next frame shows value, then stops it there.
    void roll(PlayerRecord& p, int value) {
        if (p.state == &turn_start) tick();
        ASSERT_EQ(p.state, &die_spin);
        while (p.steps_left % kDieFaces + 1 != value) tick();
        tick_press({kKeyEnter});
        ASSERT_EQ(p.steps_left, value);
        ASSERT_EQ(p.state, &choose_direction);
    }
    // Presses a direction key and walks until the player waits on a square again (or its
    // turn goes on past the walk).
    void go(PlayerRecord& p, int key) {
        tick_press({key});
        for (int i = 0; i < 200 && p.state == &walk; ++i) tick();
        ASSERT_NE(p.state, &walk);
    }
    int cell(const PlayerRecord& p) { return cell_index_at(p.position.x, p.position.z); }
};

TEST_F(Players, CreationSetsTheStartingRecord) {
    PlayerRecord* p = player_create(3.0f, kPlayerHeight, -5.0f, 1, 2);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(task_pool()[kSlotPlayersFirst].kind, kKindPlayer);
    EXPECT_EQ(p->alive, 1);
    EXPECT_EQ(p->computer, 1);
    EXPECT_EQ(p->character_id, 2);
    EXPECT_EQ(p->state, &turn_waiting);
    EXPECT_EQ(p->level, 10);
    EXPECT_EQ(p->hit_points, 200);
    EXPECT_EQ(p->max_hit_points, 200);
    EXPECT_EQ(p->money, 1000);
    EXPECT_FLOAT_EQ(p->facing, 180.0f);
    EXPECT_EQ(p->steps_left, 1);
    EXPECT_EQ(p->items[0], 1);
    EXPECT_EQ(p->items[1], 1);
    EXPECT_EQ(p->items[2], 2);
    EXPECT_EQ(p->items[3], 0);
    for (int h : p->route_hints) EXPECT_EQ(h, -1);
    for (int i = 0; i < kMembersPerPlayer; ++i) {
        const MemberRecord& m = p->members[i];
        EXPECT_EQ(m.data.id, 8 + i);
        EXPECT_EQ(m.owner, p);
        EXPECT_EQ(m.ahead, i == 0 ? nullptr : &p->members[i - 1]);
        EXPECT_EQ(m.state, i == 0 ? &member_idle : &member_follow);
        EXPECT_FLOAT_EQ(m.position.x, 3.0f);
        EXPECT_FLOAT_EQ(m.position.z, -5.0f);
    }
    PlayerRecord* human = player_create(0, 0, 0, 0, 1);
    ASSERT_NE(human, nullptr);
    EXPECT_EQ(human->state, &turn_start);
}

TEST_F(Players, CreationRefusesWhenSlotsTenToTwelveAreTaken) {
    for (int i = 0; i < 3; ++i) ASSERT_NE(player_create(0, 0, 0, 1, i), nullptr);
    EXPECT_EQ(player_create(0, 0, 0, 1, 0), nullptr);
    EXPECT_FALSE(task_pool()[kSlotPlayersEnd].in_use);
}

TEST_F(Players, StatsAreTheMembersMeanTruncated) {
    int32_t a = -1, d = -1;
    player_stats_from_members(1, a, d);
    int32_t sa = 0, sd = 0;
    for (int i = 4; i < 8; ++i) {
        sa += kMemberData[i].attack;
        sd += kMemberData[i].defence;
    }
    EXPECT_EQ(a, sa / 4);
    EXPECT_EQ(d, sd / 4);
    int32_t a0, d0, ax, dx;
    player_stats_from_members(0, a0, d0);
    player_stats_from_members(7, ax, dx);
    EXPECT_EQ(ax, a0);
    EXPECT_EQ(dx, d0);
}

TEST_F(Players, TurnRingLinksSlotOrderWithRivals) {
    PlayerRecord* a = player_create(0, 0, 0, 0, 0);
    PlayerRecord* b = player_create(0, 0, 0, 1, 1);
    PlayerRecord* c = player_create(0, 0, 0, 1, 2);
    EXPECT_EQ(turn_ring_link(), a);
    EXPECT_EQ(a->next_player, b);
    EXPECT_EQ(b->next_player, c);
    EXPECT_EQ(c->next_player, a);
}

TEST_F(Players, WithoutRivalsTheHumanTakesEveryTurn) {
    g_game.settings[kSettingRivals] = 0;
    PlayerRecord* a = player_create(0, 0, 0, 0, 0);
    player_create(0, 0, 0, 1, 1);
    EXPECT_EQ(turn_ring_link(), a);
    EXPECT_EQ(a->next_player, a);
}

TEST_F(Players, PlayersCreateLaysOutTheNewGame) {
    test::lay_board(std::vector<std::string>(64, std::string(64, '.')));
    ASSERT_EQ(players_create(2), 1);
    PlayerRecord& human = test::player_at_slot(10);
    PlayerRecord& second = test::player_at_slot(11);
    PlayerRecord& third = test::player_at_slot(12);
    EXPECT_EQ(human.computer, 0);
    EXPECT_EQ(human.character_id, 2);
    EXPECT_EQ(second.character_id, 0);
    EXPECT_EQ(third.character_id, 1);
    EXPECT_EQ(second.computer, 1);
    EXPECT_EQ(third.computer, 1);
    float x, z;
    cell_world(59, 52, x, z);
    EXPECT_FLOAT_EQ(human.position.x, x);
    EXPECT_FLOAT_EQ(human.position.z, z);
    EXPECT_FLOAT_EQ(human.position.y, 0.05f);
    cell_world(59, 45, x, z);
    EXPECT_FLOAT_EQ(second.position.z, z);
    cell_world(59, 59, x, z);
    EXPECT_FLOAT_EQ(third.position.z, z);
    EXPECT_EQ(human.next_player, &second);
    CameraRecord* cam = camera_find();
    ASSERT_NE(cam, nullptr);
    EXPECT_EQ(cam->followed, &human);
    EXPECT_FLOAT_EQ(cam->angle, 270.0f);
    EXPECT_FLOAT_EQ(cam->eye.y, 60.0f);
    EXPECT_FLOAT_EQ(cam->target.y, 0.05f);
    EXPECT_EQ(g_game.event_stage[40], 2);
    EXPECT_TRUE(task_pool()[kSlotEventRunner].in_use);
    // A second event cannot start while the opening one runs.
    EXPECT_EQ(event_start(&human, 3), 0);
}

TEST_F(Players, DieRunsOneToSixAndStopsOnConfirm) {
    PlayerRecord& p = human_at(1, 4);
    tick();
    ASSERT_EQ(p.state, &die_spin);
    int seen[12];
    for (int& v : seen) {
        tick();
        v = p.steps_left;
    }
    for (int i = 0; i < 12; ++i) EXPECT_EQ(seen[i], (1 + i) % 6 + 1);
    const int before = p.steps_left;
    tick_press({kKeyZ});
    EXPECT_EQ(p.steps_left, before % 6 + 1);
    EXPECT_EQ(p.state, &choose_direction);
    EXPECT_EQ(p.history_count, 0);
}

TEST_F(Players, DieOfThreeWalksToTheThirdSquare) {
    PlayerRecord& p = human_at(1, 4);
    roll(p, 3);
    go(p, kKeyUp);
    EXPECT_EQ(cell(p), cell_index_of(1, 1));
    EXPECT_EQ(p.steps_left, 2);
    go(p, kKeyRight);
    EXPECT_EQ(cell(p), cell_index_of(4, 1));
    go(p, kKeyRight);
    EXPECT_EQ(cell(p), cell_index_of(7, 1));
    EXPECT_EQ(p.steps_left, 0);
    EXPECT_EQ(p.state, &arrive);
    EXPECT_EQ(p.history_count, 3);
    EXPECT_EQ(p.history[0], cell_index_of(1, 4));
    EXPECT_EQ(p.history[1], cell_index_of(1, 1));
    EXPECT_EQ(p.history[3], cell_index_of(7, 1));
}

TEST_F(Players, WalkTakesFourFramesPerCellAndCorridorsCostNothing) {
    PlayerRecord& p = human_at(1, 4);
    roll(p, 2);
    const float z0 = p.position.z;
    tick_press({kKeyUp});
    EXPECT_EQ(p.state, &walk);
    EXPECT_FLOAT_EQ(p.facing, 90.0f);
    for (int frame = 1; frame <= 12; ++frame) {
        tick();
        EXPECT_FLOAT_EQ(p.position.z, z0 + 0.5f * frame) << frame;
    }
    EXPECT_EQ(p.state, &choose_direction);
    EXPECT_EQ(p.steps_left, 1);
}

TEST_F(Players, BlockedDirectionKeepsThePlayerWaiting) {
    PlayerRecord& p = human_at(1, 4);
    roll(p, 2);
    tick_press({kKeyLeft});
    tick_press({kKeyDown});
    EXPECT_EQ(p.state, &choose_direction);
    // Only the first key that fires counts: Right (blocked) before Up.
    tick_press({kKeyRight, kKeyUp});
    EXPECT_EQ(p.state, &choose_direction);
}

TEST_F(Players, WalkingBackOntoTheSquareJustLeftRefundsBothSteps) {
    PlayerRecord& p = human_at(4, 1);
    roll(p, 2);
    go(p, kKeyRight);
    EXPECT_EQ(cell(p), cell_index_of(7, 1));
    EXPECT_EQ(p.steps_left, 1);
    go(p, kKeyLeft);
    EXPECT_EQ(cell(p), cell_index_of(4, 1));
    EXPECT_EQ(p.steps_left, 2);
    EXPECT_EQ(p.history_count, 0);
    EXPECT_EQ(p.state, &choose_direction);
}

TEST_F(Players, BlindCorridorTurnsBackAndCostsAStep) {
    PlayerRecord& p = human_at(4, 1);
    roll(p, 2);
    go(p, kKeyDown);
    EXPECT_EQ(cell(p), cell_index_of(4, 1));
    EXPECT_FLOAT_EQ(p.facing, 90.0f);
    EXPECT_EQ(p.steps_left, 1);
    EXPECT_EQ(p.history_count, 1);
    EXPECT_EQ(p.state, &choose_direction);
    // The last step then ends the walk on the next square.
    go(p, kKeyLeft);
    EXPECT_EQ(cell(p), cell_index_of(1, 1));
    EXPECT_EQ(p.state, &arrive);
}

// A walk of three cells ends before the last member has set off: it closes up all the same.
TEST_F(Players, ArriveWaitsForTheFileThenRunsTheSquareEventAndEndsTheTurn) {
    PlayerRecord& p = human_at(1, 4);
    roll(p, 1);
    go(p, kKeyUp);
    ASSERT_EQ(p.state, &arrive);
    // The members are still strung out behind.
    EXPECT_GE(std::abs(p.members[3].position.z - p.members[0].position.z), 0.5f);
    int frames = 0;
    while (p.state == &arrive && frames < 100) {
        tick();
        ++frames;
    }
    EXPECT_GT(frames, 1);
    EXPECT_EQ(p.state, &event_wait);
    EXPECT_LT(std::abs(p.members[3].position.z - p.members[0].position.z), 0.5f);
    EXPECT_TRUE(task_pool()[kSlotEventRunner].in_use);
    // The empty event ends after a frame; the next frame ends the turn.
    ticks(3);
    EXPECT_FALSE(task_pool()[kSlotEventRunner].in_use);
    EXPECT_EQ(p.state, &turn_waiting);
    EXPECT_EQ(p.steps_left, 1);
    EXPECT_EQ(p.history_count, 0);
    for (const MemberRecord& m : p.members) {
        EXPECT_FLOAT_EQ(m.position.x, p.position.x);
        EXPECT_FLOAT_EQ(m.position.z, p.position.z);
        EXPECT_EQ(m.step_frame, 0);
    }
    EXPECT_EQ(p.members[1].state, &member_follow);
}

// Whatever the length of the final walk, the file closes up and the turn ends: members still
// stacked on the member ahead must not settle before that member has moved.
TEST_F(Players, EveryFinalWalkLengthEndsTheTurn) {
    // Squares at columns 1, 2, 4, 7 and 11 of one corridor: walks of 1, 2, 3 and 4 cells.
    test::lay_board({"##############", "#oo.o..o...o##", "##############", "##############"});
    const int from[4] = {1, 2, 4, 7};
    for (int length = 1; length <= 4; ++length) {
        for (int s = 0; s < kTaskSlots; ++s) task_pool()[s].in_use = 0;
        PlayerRecord& p = human_at(from[length - 1], 1);
        roll(p, 1);
        go(p, kKeyRight);
        EXPECT_EQ(p.steps_left, 0) << "walk of " << length;
        int frames = 0;
        while (p.state != &turn_waiting && frames < 300) {
            tick();
            ++frames;
        }
        EXPECT_EQ(p.state, &turn_waiting) << "walk of " << length << " cells hangs";
        EXPECT_EQ(cell(p), cell_index_of(from[length - 1] + length, 1));
    }
}

TEST_F(Players, ArriveOffASquareEndsTheTurnWithoutAnEvent) {
    PlayerRecord& p = human_at(1, 2);
    p.state = &arrive;
    tick();
    EXPECT_EQ(p.state, &turn_waiting);
    EXPECT_FALSE(task_pool()[kSlotEventRunner].in_use);
}

TEST_F(Players, NothingMovesWhileAnEventRuns) {
    PlayerRecord& p = human_at(1, 4);
    roll(p, 2);
    tick_press({kKeyUp});
    ASSERT_EQ(p.state, &walk);
    Task* runner = task_alloc_at(kSlotEventRunner);
    task_start(runner, kKindEventRunner, nullptr, nullptr);
    const float z = p.position.z;
    const float mz = p.members[1].position.z;
    ticks(10);
    EXPECT_FLOAT_EQ(p.position.z, z);
    EXPECT_FLOAT_EQ(p.members[1].position.z, mz);
    EXPECT_EQ(p.step_frame, 0);
    runner->in_use = 0;
    tick();
    EXPECT_FLOAT_EQ(p.position.z, z + 0.5f);
}

TEST_F(Players, DeadPlayerEndsItsTask) {
    PlayerRecord& p = human_at(1, 4);
    p.alive = 0;
    tick();
    EXPECT_FALSE(task_pool()[kSlotPlayersFirst].in_use);
}

TEST_F(Players, DumpShowsEveryFieldOtherSubsystemsRead) {
    players_dump_register();
    PlayerRecord& p = human_at(1, 4);
    p.level = 7;
    p.hit_points = 33;
    p.max_hit_points = 140;
    p.attack = 41;
    p.defence = 29;
    p.money = 9999999;
    p.experience = 999;
    for (int i = 0; i < kItemSlots; ++i) p.items[i] = i + 5;
    p.team_number = 2;
    p.team_target = 12;
    p.route_number = 11;
    p.route_die_step = 3;
    p.route_direction_step = 4;
    p.achievement_bits = 13;
    p.skip_turn = 1;
    const std::string dump = debug_dump_text();
    EXPECT_NE(dump.find("player 10 level 7 hp 33/140 attack 41 defence 29 money 9999999 "
                        "experience 999 items 5 6 7 8 9 10 11 12\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("player 10 team 2 target 12 route 11 die_step 3 direction_step 4 "
                        "achievements 13 skip_turn 1\n"),
              std::string::npos)
        << dump;
}

}  // namespace
}  // namespace tessaly
