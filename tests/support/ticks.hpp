#pragma once
// Driving the game tick by tick in tests: a fresh pool, keys held by the test, and the
// update half (and on request the render half) of the frame tick.
#include <gtest/gtest.h>

#include <initializer_list>

namespace tessaly::test {

// Keys (indices of keys.hpp) down from now on, replacing whatever was held.
void keys_hold(std::initializer_list<int> keys);
void keys_release_all();

// One update frame with the held keys: sound requests cleared, keys polled, the update pass.
void tick();
// n update frames with the held keys.
void ticks(int n);
// One frame with exactly these keys down, then all keys released for the frames after it,
// so each key counts as just pressed in that frame alone. If one of the keys is still down
// from the frame before (a press right after a press of the same key), a frame with every
// key up runs first.
void tick_press(std::initializer_list<int> keys);
// The draw pass of one frame.
void draw_frame();

// A fresh, empty task pool and a keyboard that only the test presses; restores both after.
struct TickFixture : ::testing::Test {
    void SetUp() override;
    void TearDown() override;
};

}  // namespace tessaly::test
