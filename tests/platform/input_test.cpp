// Key presses and gamepads as the window layer takes them from SDL's message queue.
#include <gtest/gtest.h>

#include "app/keys.hpp"
#include "platform/window.hpp"

namespace tessaly {
namespace {

void drain_messages() {
    while (platform::message_take() != platform::Message::None) {
    }
}

struct WindowInput : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(platform::video_init());
        drain_messages();
        keys_set_source(nullptr);
        keys_init();
        keys_poll();
        keys_poll();
    }
    void TearDown() override {
        platform::gamepad_virtual_detach();
        drain_messages();
        platform::video_quit();
    }
};

TEST(WindowDriver, HeadlessDriversOnlyWhenAskedForByName) {
    EXPECT_TRUE(platform::video_driver_acceptable("x11", nullptr));
    EXPECT_TRUE(platform::video_driver_acceptable("wayland", ""));
    EXPECT_FALSE(platform::video_driver_acceptable("offscreen", nullptr));
    EXPECT_FALSE(platform::video_driver_acceptable("offscreen", "x11"));
    EXPECT_FALSE(platform::video_driver_acceptable("dummy", ""));
    EXPECT_TRUE(platform::video_driver_acceptable("offscreen", "offscreen"));
    EXPECT_TRUE(platform::video_driver_acceptable("dummy", "x11,dummy"));
    EXPECT_FALSE(platform::video_driver_acceptable(nullptr, "x11"));
}

TEST(WindowScale, LargestWholeMultipleThatFits) {
    EXPECT_EQ(platform::window_scale_for(640, 480), 1);
    EXPECT_EQ(platform::window_scale_for(1279, 959), 1);
    EXPECT_EQ(platform::window_scale_for(1920, 1032), 2);  // 1080p less a panel
    EXPECT_EQ(platform::window_scale_for(3840, 2112), 4);  // 4K less a panel
    EXPECT_EQ(platform::window_scale_for(2560, 1392), 2);  // height limits first
    EXPECT_EQ(platform::window_scale_for(800, 400), 1);    // never below 1
    EXPECT_EQ(platform::window_scale_for(0, 0), 1);
}

TEST(GamepadMapping, ButtonsStandForTheGameKeys) {
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadA), 13);
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadB), 27);
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadX), 90);
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadStart), 16);
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadBack), 17);
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadDpadUp), 38);
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadDpadDown), 40);
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadDpadLeft), 37);
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadDpadRight), 39);
    EXPECT_EQ(platform::gamepad_key_for_button(platform::kPadY), 0);
    EXPECT_EQ(platform::gamepad_button_for_key(13), platform::kPadA);
    EXPECT_EQ(platform::gamepad_button_for_key(32), platform::kPadNone);
    EXPECT_TRUE(platform::gamepad_stick_key(0, 30000, 40));
    EXPECT_TRUE(platform::gamepad_stick_key(-30000, 0, 37));
    EXPECT_FALSE(platform::gamepad_stick_key(8000, 8000, 39));  // inside the dead zone
    EXPECT_FALSE(platform::gamepad_stick_key(30000, 0, 13));
}

TEST_F(WindowInput, TapBetweenTwoPollsCountsOnce) {
    platform::key_event_push(13, true);
    platform::key_event_push(13, false);
    drain_messages();
    EXPECT_FALSE(platform::key_down(13));
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyEnter), 1);
    EXPECT_EQ(key_pressed(kKeyZ), 0);
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyEnter), 0);
}

TEST_F(WindowInput, EveryTapOfAQuickSeriesCounts) {
    int presses = 0;
    for (int i = 0; i < 6; ++i) {
        platform::key_event_push(40, true);
        platform::key_event_push(40, false);
        drain_messages();
        keys_poll();
        presses += key_pressed(kKeyDown);
    }
    EXPECT_EQ(presses, 6);
}

TEST_F(WindowInput, TwoTapsInOneFrameAreOnePress) {
    for (int i = 0; i < 2; ++i) {
        platform::key_event_push(90, true);
        platform::key_event_push(90, false);
    }
    drain_messages();
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyZ), 1);
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyZ), 0);
}

TEST_F(WindowInput, ScriptedKeysIgnoreTheQueue) {
    keys_set_source(+[](int) { return false; });
    platform::key_event_push(13, true);
    drain_messages();
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyEnter), 0);
    keys_set_source(nullptr);
}

TEST_F(WindowInput, VirtualGamepadDrivesTheKeysAndCanBeUnplugged) {
    ASSERT_TRUE(platform::gamepad_virtual_attach());
    drain_messages();  // the device-added message opens it
    ASSERT_EQ(platform::gamepad_count(), 1);

    platform::gamepad_virtual_button(platform::kPadA, true);
    drain_messages();
    EXPECT_TRUE(platform::key_down(13));
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyEnter), 1);
    platform::gamepad_virtual_button(platform::kPadA, false);

    // A tap of Start between two polls: down and up reach the queue before the poll.
    platform::gamepad_virtual_button(platform::kPadStart, true);
    drain_messages();
    platform::gamepad_virtual_button(platform::kPadStart, false);
    drain_messages();
    EXPECT_FALSE(platform::key_down(16));
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyShift), 1);

    platform::gamepad_virtual_stick(0, 32000);
    drain_messages();
    keys_poll();
    EXPECT_EQ(key_pressed(kKeyDown), 1);
    platform::gamepad_virtual_stick(0, 0);
    drain_messages();

    platform::gamepad_virtual_detach();
    drain_messages();
    EXPECT_EQ(platform::gamepad_count(), 0);
    EXPECT_FALSE(platform::key_down(13));

    ASSERT_TRUE(platform::gamepad_virtual_attach());  // plugged in again while running
    drain_messages();
    EXPECT_EQ(platform::gamepad_count(), 1);
}

}  // namespace
}  // namespace tessaly
