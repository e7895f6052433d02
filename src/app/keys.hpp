#pragma once
// The 13 game keys, polled once per tick; tasks ask whether a key was just pressed.
#include <cstdint>

namespace tessaly {

constexpr int kKeyCount = 13;
constexpr int kKeyDown = 0;
constexpr int kKeyUp = 1;
constexpr int kKeyRight = 2;
constexpr int kKeyLeft = 3;
constexpr int kKeyEsc = 4;
constexpr int kKeyControl = 5;
constexpr int kKeyEnter = 6;
constexpr int kKeyZ = 7;
constexpr int kKeySpace = 8;
constexpr int kKeyShift = 9;
constexpr int kKeyA = 10;
constexpr int kKeyS = 11;
constexpr int kKeyD = 12;

struct KeyEntry {
    uint16_t current;
    uint16_t previous;
    int32_t virtual_key;
};

// Where the poll reads a virtual key's down state; the window's key state by default,
// a key script in the headless runner and in tests. With the window's keys, a press taken
// from the message queue since the last poll counts even when the key is up again by then.
using KeyStateFn = bool (*)(int virtual_key);
void keys_set_source(KeyStateFn fn);

void keys_init();
void keys_poll();
int key_pressed(int index);
const KeyEntry* key_table();
// The key's index from its name (Down Up Right Left Esc Ctrl Enter Z Space Shift A S D); -1 if
// none.
int key_index_from_name(const char* name);
int key_virtual_code(int index);
// The name key_index_from_name reads; "" for an index outside 0..12.
const char* key_name(int index);

// Confirm is Enter or Z; every confirming caller tests both.
inline bool key_confirm() {
    return key_pressed(kKeyEnter) || key_pressed(kKeyZ);
}

}  // namespace tessaly
