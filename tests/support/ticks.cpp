#include "support/ticks.hpp"

#include "app/app.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"

namespace tessaly::test {
namespace {

bool g_held[256];

bool held_key(int virtual_key) {
    return virtual_key >= 0 && virtual_key < 256 && g_held[virtual_key];
}

}  // namespace

void keys_hold(std::initializer_list<int> keys) {
    keys_release_all();
    for (int k : keys) g_held[key_virtual_code(k)] = true;
}

void keys_release_all() {
    for (bool& h : g_held) h = false;
}

void tick() {
    update_frame();
}

void ticks(int n) {
    for (int i = 0; i < n; ++i) tick();
}

void tick_press(std::initializer_list<int> keys) {
    bool still_down = false;
    for (int k : keys) still_down = still_down || key_table()[k].current != 0;
    if (still_down) {
        keys_release_all();
        tick();
    }
    keys_hold(keys);
    tick();
    keys_release_all();
}

void draw_frame() {
    task_draw_pass();
}

void TickFixture::SetUp() {
    ASSERT_TRUE(pool_create());
    pool_reset();
    keys_release_all();
    keys_set_source(&held_key);
    keys_init();
    // Start from a keyboard at rest, so the first test frame sees only what the test holds.
    keys_poll();
    g_running = 1;
}

void TickFixture::TearDown() {
    keys_set_source(nullptr);
    pool_reset();
}

}  // namespace tessaly::test
