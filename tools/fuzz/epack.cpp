// Fuzz target: epack.dat as a new game reads it (the loader and the splitter), then one of its
// scripts run by the event runner for the first player for up to kFrames frames, as the
// headless runner's --event does, with keys pressed in a pattern so that messages go on,
// choices change and battles and shops are played. No window and no graphics: only the
// update half of each frame runs.
//
// The pack's skip block, which the game passes over, steers the run: its first byte picks the
// script (modulo the script count; square 41's opening script when the block is empty), its
// second byte the key pattern.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/app.hpp"
#include "app/keys.hpp"
#include "app/random.hpp"
#include "app/task_pool.hpp"
#include "event/event_pack.hpp"
#include "event/event_runner.hpp"
#include "field/camera.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "fuzz_file.hpp"
#include "state/game_state.hpp"
#include "state/new_game.hpp"

namespace {

using namespace tessaly;

constexpr int kFrames = 300;
// Frames run on after the event ends, for what it left behind (a battle, a shop, a walk).
constexpr int kFramesAfterEvent = 20;
constexpr int kOpeningSquare = 41;

GameState g_fresh{};  // the game state before any input ran
bool g_ready = false;
uint32_t g_key_state = 1;
bool g_held[kKeyCount] = {};

bool g_held_virtual[256] = {};  // the same keys by virtual key code, as the poll asks

bool held_key(int virtual_key) {
    return virtual_key >= 0 && virtual_key < 256 && g_held_virtual[virtual_key];
}

// Confirm now and then (with gaps, so that each is a new press), up and down less often.
void keys_choose() {
    g_key_state ^= g_key_state << 13;
    g_key_state ^= g_key_state >> 17;
    g_key_state ^= g_key_state << 5;
    std::memset(g_held, 0, sizeof g_held);
    g_held[kKeyZ] = g_key_state % 3 == 0;
    g_held[kKeyDown] = g_key_state % 7 == 0;
    g_held[kKeyUp] = g_key_state % 11 == 0;
    g_held[kKeyRight] = g_key_state % 13 == 0;
    for (int i = 0; i < kKeyCount; ++i) {
        const int code = key_virtual_code(i);
        if (code >= 0 && code < 256) g_held_virtual[code] = g_held[i];
    }
}

uint32_t u32_at(const uint8_t* data, size_t size, size_t at) {
    if (at + 4 > size) return 0;
    return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
           static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
}

// The script a square-41 event runs for the first player, as the runner's --event starts it.
bool event_open(int script) {
    task_end_kind(kKindEventRunner);
    PlayerRecord* p = player_in_slot(kSlotPlayersFirst);
    if (!p) return false;
    const int square = kOpeningSquare - 1;
    g_game.event_script[square][g_game.event_stage[square]] = script;
    p->state = &event_wait;
    camera_hold();
    return event_start(p, kOpeningSquare) == 1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_ready = pool_create() && map_alloc() && fuzz::ensure_map_pack(kMapPackFile);
    apply_settings_defaults();  // battles on
    g_fresh = g_game;
    keys_set_source(&held_key);
    g_running = 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!g_ready) return 0;
    const std::string path = fuzz::input_file("epack.dat", data, size);
    event_pack_file_set(path.c_str());

    // Every input starts from the same game: tables, dice and keys.
    GameState kept = g_game;
    g_game = g_fresh;
    g_game.square_layer = kept.square_layer;
    g_game.terrain_layer = kept.terrain_layer;
    g_game.event_buffer = kept.event_buffer;
    random_seed(1);
    const uint32_t skip = u32_at(data, size, 0);
    g_key_state = 0x9E3779B9u ^ (skip >= 2 && size > 5 ? data[5] : 0);
    std::memset(g_held, 0, sizeof g_held);
    std::memset(g_held_virtual, 0, sizeof g_held_virtual);
    keys_init();
    keys_poll();

    new_game(0);
    const int opening = g_game.event_script[kOpeningSquare - 1][0];
    const int script = skip >= 1 && size > 4 ? data[4] % event_script_count() : opening;
    if (script == opening || event_open(script)) {
        int after = 0;
        for (int frame = 0; frame < kFrames && after < kFramesAfterEvent; ++frame) {
            keys_choose();
            update_frame();
            if (!event_runner_find()) ++after;
        }
    }
    task_end_all();
    event_pack_file_set(nullptr);
    std::remove(path.c_str());
    return 0;
}
