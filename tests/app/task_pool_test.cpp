#include "app/task_pool.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tessaly {
namespace {

struct PoolFixture : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(pool_create());
        pool_reset();
    }
    void TearDown() override { pool_destroy(); }
};

struct Counter {
    int updates;
    int draws;
};

std::vector<int> g_order;

void count_update(Task* t) {
    task_record<Counter>(t).updates++;
    g_order.push_back(task_slot(t));
}
void count_draw(Task* t) {
    task_record<Counter>(t).draws++;
}

Task* make(int slot, int kind = 0) {
    Task* t = task_alloc_at(slot);
    if (t) task_start(t, kind, &count_update, &count_draw);
    return t;
}

using TaskPool = PoolFixture;

TEST_F(TaskPool, AllocAtTakenSlotLeavesItUntouched) {
    Task* t = make(5, 77);
    ASSERT_NE(t, nullptr);
    task_record<Counter>(t).updates = 42;
    EXPECT_EQ(task_alloc_at(5), nullptr);
    EXPECT_EQ(t->kind, 77);
    EXPECT_EQ(task_record<Counter>(t).updates, 42);
}

TEST_F(TaskPool, AllocationClearsTheWholeSlotButDoesNotMarkIt) {
    Task* t = make(7, 3);
    task_record<Counter>(t).draws = 9;
    t->spare = 5;
    t->in_use = 0;
    Task* again = task_alloc_at(7);
    ASSERT_EQ(again, t);
    EXPECT_EQ(again->kind, 0);
    EXPECT_EQ(again->spare, 0);
    EXPECT_EQ(task_record<Counter>(again).draws, 0);
    // Until the creator marks it, the same slot is handed out again.
    EXPECT_EQ(task_alloc_at(7), t);
}

TEST_F(TaskPool, RangeTakesLowestFreeSlotAndNeverItsEnd) {
    for (int s = 30; s < 50; ++s) {
        if (s != 33) make(s);
    }
    Task* t = task_alloc_in_range(30, 50);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(task_slot(t), 33);
    task_start(t, 0, &count_update, &count_draw);
    EXPECT_EQ(task_alloc_in_range(30, 50), nullptr);
    EXPECT_NE(task_alloc_in_range(30, 51), nullptr);
}

TEST_F(TaskPool, SlotNumbersAndRangeLimitsAreChecked) {
    EXPECT_EQ(task_alloc_at(-1), nullptr);
    EXPECT_EQ(task_alloc_at(kTaskSlots), nullptr);
    EXPECT_EQ(task_alloc_in_range(10, 10), nullptr);
    EXPECT_EQ(task_slot(task_alloc_in_range(995, 5000)), 995);
}

// A task in slot 10 creates one task above and one below it during the update pass.
void spawner_update(Task* t) {
    g_order.push_back(task_slot(t));
    if (Task* hi = task_alloc_at(20)) task_start(hi, 0, &count_update, &count_draw);
    if (Task* lo = task_alloc_at(3)) task_start(lo, 0, &count_update, &count_draw);
}

TEST_F(TaskPool, TaskCreatedDuringPassRunsAboveNowAndBelowNextTick) {
    Task* s = task_alloc_at(10);
    task_start(s, 0, &spawner_update, nullptr);
    g_order.clear();
    task_update_pass();
    EXPECT_EQ(g_order, (std::vector<int>{10, 20}));
    EXPECT_EQ(task_record<Counter>(&task_pool()[3]).updates, 0);
    g_order.clear();
    task_update_pass();
    EXPECT_EQ(g_order, (std::vector<int>{3, 10, 20}));
}

void end_all_update(Task* t) {
    g_order.push_back(task_slot(t));
    task_end_all();
}

TEST_F(TaskPool, EndingAllTasksStopsTheRestOfThePass) {
    make(1);
    Task* e = task_alloc_at(2);
    task_start(e, 0, &end_all_update, nullptr);
    make(3);
    g_order.clear();
    task_update_pass();
    EXPECT_EQ(g_order, (std::vector<int>{1, 2}));
    EXPECT_EQ(task_pool()[3].in_use, 0);
}

TEST_F(TaskPool, SignalsSetFlagsAndResumeShowsHiddenTasks) {
    Task* a = make(1, 100);
    Task* b = make(2, 200);
    task_signal_all(kSignalStopDraw);
    EXPECT_EQ(a->draw, 0);
    EXPECT_EQ(a->update, 1);
    task_signal_kind(200, kSignalStopUpdate);
    EXPECT_EQ(b->update, 0);
    task_signal_all(99);  // unknown codes do nothing
    EXPECT_EQ(a->update, 1);
    task_signal_all(kSignalResume);
    for (Task* t : {a, b}) {
        EXPECT_EQ(t->update, 1);
        EXPECT_EQ(t->draw, 1);
    }
    task_signal_kind(100, kSignalStopBoth);
    EXPECT_EQ(a->update + a->draw, 0);
    EXPECT_EQ(b->update + b->draw, 2);

    task_update_pass();
    task_draw_pass();
    EXPECT_EQ(task_record<Counter>(a).updates + task_record<Counter>(a).draws, 0);
    EXPECT_EQ(task_record<Counter>(b).updates, 1);
    EXPECT_EQ(task_record<Counter>(b).draws, 1);
}

TEST_F(TaskPool, SignalsSkipFreeSlots) {
    Task* t = make(4, 1);
    t->in_use = 0;
    t->update = 0;
    task_signal_all(kSignalResume);
    EXPECT_EQ(t->update, 0);
}

TEST_F(TaskPool, FindKindReturnsLowestSlotAndEndKindEndsAll) {
    make(12, 1010);
    make(11, 1010);
    make(13, 1020);
    EXPECT_EQ(task_slot(task_find_kind(1010)), 11);
    EXPECT_EQ(task_kind_exists(1020), 1);
    task_end_kind(1010);
    EXPECT_EQ(task_kind_exists(1010), 0);
    EXPECT_EQ(task_find_kind(1010), nullptr);
    EXPECT_EQ(task_kind_exists(1020), 1);
}

TEST_F(TaskPool, ResetClearsEverythingAndEndAllKeepsContents) {
    Task* t = make(8, 5);
    task_record<Counter>(t).updates = 3;
    task_end_all();
    EXPECT_EQ(t->in_use, 0);
    EXPECT_EQ(t->kind, 5);
    EXPECT_EQ(task_record<Counter>(t).updates, 3);
    pool_reset();
    EXPECT_EQ(t->kind, 0);
    EXPECT_EQ(task_record<Counter>(t).updates, 0);
}

TEST_F(TaskPool, EventRunningOnlyWhileTheRunnerHoldsItsSlot) {
    EXPECT_FALSE(event_running());
    // Another kind in the runner's slot is not an event.
    Task* other = make(kSlotEventRunner, kKindBattle);
    EXPECT_FALSE(event_running());
    other->in_use = 0;
    make(kSlotEventRunner, kKindEventRunner);
    EXPECT_TRUE(event_running());
    task_end_all();
    EXPECT_FALSE(event_running());
}

TEST_F(TaskPool, FreezeStopsEveryUpdateButKeepsDrawingAndResumeRestartsThem) {
    Task* board = make(10, kKindPlayer);
    Task* hidden = make(20, kKindMap);
    hidden->draw = 0;
    tasks_freeze();
    // The menu is made after the freeze and so runs alone.
    Task* menu = make(kSlotPauseMenu, kKindPauseMenu);
    task_update_pass();
    task_draw_pass();
    EXPECT_EQ(task_record<Counter>(board).updates, 0);
    EXPECT_EQ(task_record<Counter>(board).draws, 1);
    EXPECT_EQ(task_record<Counter>(menu).updates, 1);
    tasks_resume();
    task_update_pass();
    task_draw_pass();
    EXPECT_EQ(task_record<Counter>(board).updates, 1);
    // Resuming shows every task, also one that was hidden before the menu.
    EXPECT_EQ(task_record<Counter>(hidden).draws, 1);
}

struct Stepper {
    int32_t alive;
    void (*step)(Stepper&);
    int32_t steps;
};

void count_down(Stepper& s) {
    if (++s.steps == 3) s.alive = 0;
}

void lay_fresh(Stepper& s) {
    // A step that replaces its own record, as a scene that opens itself again does.
    s = Stepper{1, &count_down, 100};
}

TEST_F(TaskPool, StepUpdateRunsTheStepAndEndsTheTaskWhenAliveIsZero) {
    Task* t = task_alloc_at(5);
    task_start(t, 7, &task_step_update<Stepper>, nullptr);
    task_record<Stepper>(t) = Stepper{1, &count_down, 0};
    task_update_pass();
    task_update_pass();
    EXPECT_TRUE(t->in_use);
    task_update_pass();
    EXPECT_FALSE(t->in_use);
    EXPECT_EQ(task_record<Stepper>(t).steps, 3);

    Task* u = task_alloc_at(6);
    task_start(u, 7, &task_step_update<Stepper>, nullptr);
    task_record<Stepper>(u) = Stepper{0, &lay_fresh, 0};
    task_update_pass();
    EXPECT_TRUE(u->in_use);
    EXPECT_EQ(task_record<Stepper>(u).steps, 100);
}

TEST(TaskPoolLifetime, OperationsWithoutAPoolAreSafe) {
    pool_destroy();
    EXPECT_FALSE(event_running());
    tasks_freeze();
    tasks_resume();
    EXPECT_EQ(task_pool(), nullptr);
    EXPECT_EQ(task_alloc_at(1), nullptr);
    EXPECT_EQ(task_alloc_in_range(0, 10), nullptr);
    EXPECT_EQ(task_find_kind(1), nullptr);
    task_update_pass();
    task_draw_pass();
    task_signal_all(kSignalResume);
}

}  // namespace
}  // namespace tessaly
