#include "app/keys.hpp"

#include <gtest/gtest.h>

#include "app/task_pool.hpp"

namespace tessaly {
namespace {

bool g_down[256];
bool fake_keys(int vk) {
    return vk >= 0 && vk < 256 && g_down[vk];
}

struct KeysFixture : ::testing::Test {
    void SetUp() override {
        for (bool& d : g_down) d = false;
        keys_set_source(&fake_keys);
        keys_init();
    }
    void TearDown() override { keys_set_source(nullptr); }
};

using Keys = KeysFixture;

TEST_F(Keys, TableWatchesTheThirteenVirtualKeys) {
    const int expected[kKeyCount] = {40, 38, 39, 37, 27, 17, 13, 90, 32, 16, 65, 83, 68};
    for (int i = 0; i < kKeyCount; ++i) {
        EXPECT_EQ(key_table()[i].virtual_key, expected[i]);
        EXPECT_EQ(key_table()[i].current, 0);
        EXPECT_EQ(key_table()[i].previous, 128);
    }
    EXPECT_EQ(key_index_from_name("Shift"), kKeyShift);
    EXPECT_EQ(key_index_from_name("Ctrl"), kKeyControl);
    EXPECT_EQ(key_index_from_name("Tab"), -1);
}

TEST_F(Keys, HeldKeyConfirmsOnceUntilReleased) {
    g_down[13] = true;
    int presses = 0;
    for (int tick = 0; tick < 30; ++tick) {
        keys_poll();
        presses += key_pressed(kKeyEnter);
    }
    EXPECT_EQ(presses, 1);
    g_down[13] = false;
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyEnter), 0);
    g_down[13] = true;
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyEnter), 1);
}

TEST_F(Keys, KeyDownBeforeFirstPollCountsInFirstTickOnly) {
    g_down[90] = true;
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyZ), 1);
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyZ), 0);
}

TEST_F(Keys, KeyUpAtFirstPollIsNotPressed) {
    keys_poll();
    for (int i = 0; i < kKeyCount; ++i) EXPECT_EQ(key_pressed(i), 0);
}

TEST_F(Keys, IndexOutsideTableIsNeverPressed) {
    g_down[40] = true;
    keys_poll();
    EXPECT_EQ(key_pressed(-1), 0);
    EXPECT_EQ(key_pressed(kKeyCount), 0);
}

// A task created during the pass in a higher slot sees the press its creator saw.
int g_seen_by_child = -1;
void child_update(Task*) {
    g_seen_by_child = key_pressed(kKeyEnter);
}
void parent_update(Task*) {
    if (key_pressed(kKeyEnter)) {
        if (Task* c = task_alloc_at(20)) task_start(c, 0, &child_update, nullptr);
        if (Task* c = task_alloc_at(2)) task_start(c, 0, &child_update, nullptr);
    }
}

TEST_F(Keys, SceneCreatedAboveItsCreatorSeesTheSamePress) {
    ASSERT_TRUE(pool_create());
    pool_reset();
    Task* p = task_alloc_at(10);
    task_start(p, 0, &parent_update, nullptr);
    g_down[13] = true;
    keys_poll();
    task_update_pass();
    EXPECT_EQ(g_seen_by_child, 1);
    // The one below first runs in the next tick, when the press no longer counts.
    task_pool()[20].in_use = 0;
    keys_poll();
    task_update_pass();
    EXPECT_EQ(g_seen_by_child, 0);
    pool_destroy();
}

}  // namespace
}  // namespace tessaly
