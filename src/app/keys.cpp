#include "app/keys.hpp"

#include <cstring>

#include "platform/window.hpp"

namespace tessaly {
namespace {

constexpr int32_t kVirtualKeys[kKeyCount] = {40, 38, 39, 37, 27, 17, 13, 90, 32, 16, 65, 83, 68};
constexpr const char* kKeyNames[kKeyCount] = {
    "Down", "Up", "Right", "Left", "Esc", "Ctrl", "Enter", "Z", "Space", "Shift", "A", "S", "D"};

KeyEntry g_keys[kKeyCount];
KeyStateFn g_source = &platform::key_down;
// Presses taken from the message queue since the last poll; only with the window's keys.
KeyStateFn g_latches = &platform::key_latched_take;

}  // namespace

void keys_set_source(KeyStateFn fn) {
    g_source = fn ? fn : &platform::key_down;
    g_latches = fn ? nullptr : &platform::key_latched_take;
}

void keys_init() {
    std::memset(g_keys, 0, sizeof g_keys);
    for (int i = 0; i < kKeyCount; ++i) {
        g_keys[i].current = 0;
        g_keys[i].previous = 128;
        g_keys[i].virtual_key = kVirtualKeys[i];
    }
}

void keys_poll() {
    for (KeyEntry& k : g_keys) {
        k.previous = k.current;
        // A key that went down since the last poll counts as just pressed now, even if it
        // was released again before this poll or was already down at the last one.
        const bool went_down = g_latches && g_latches(k.virtual_key);
        k.current = (went_down || g_source(k.virtual_key)) ? 128 : 0;
        if (went_down) k.previous = 0;
    }
}

int key_pressed(int index) {
    if (index < 0 || index >= kKeyCount) return 0;
    const KeyEntry& k = g_keys[index];
    return ((k.current & ~k.previous) & 0x80) ? 1 : 0;
}

const KeyEntry* key_table() {
    return g_keys;
}

int key_index_from_name(const char* name) {
    for (int i = 0; i < kKeyCount; ++i) {
        if (std::strcmp(name, kKeyNames[i]) == 0) return i;
    }
    return -1;
}

const char* key_name(int index) {
    return (index >= 0 && index < kKeyCount) ? kKeyNames[index] : "";
}

int key_virtual_code(int index) {
    return (index >= 0 && index < kKeyCount) ? kVirtualKeys[index] : 0;
}

}  // namespace tessaly
