#include "app/state_hash.hpp"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "app/app.hpp"
#include "app/keys.hpp"
#include "app/random.hpp"
#include "app/task_pool.hpp"
#include "field/players.hpp"
#include "field/terrain.hpp"
#include "state/game_state.hpp"

// The bounds of the program image, from the linker.
extern "C" char __executable_start[];
extern "C" char _end[];

namespace tessaly {
namespace {

// 64-bit FNV-1a.
struct Hasher {
    uint64_t h = 14695981039346656037ull;
    void bytes(const void* data, size_t n) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < n; ++i) {
            h ^= p[i];
            h *= 1099511628211ull;
        }
    }
    void u64(uint64_t v) { bytes(&v, sizeof v); }
};

struct Region {
    uintptr_t first;
    size_t size;
};

constexpr uint64_t kTagImage = 1;
constexpr uint64_t kTagElsewhere = 0xFFFF;
// Where user-space mappings of this platform live (program, heap, libraries, stacks); a
// word below is data, whatever its type.
constexpr uint64_t kMappingsFirst = 0x550000000000ull;
constexpr uint64_t kMappingsEnd = 0x800000000000ull;

// The blocks an address can point into: the image first, then the heap blocks the game
// allocates at start-up.
int regions(Region* out) {
    int n = 0;
    out[n++] = {reinterpret_cast<uintptr_t>(__executable_start),
                static_cast<size_t>(_end - __executable_start)};
    out[n++] = {reinterpret_cast<uintptr_t>(task_pool()), sizeof(Task) * kTaskSlots};
    out[n++] = {reinterpret_cast<uintptr_t>(g_game.terrain_layer), kGridCells};
    out[n++] = {reinterpret_cast<uintptr_t>(g_game.square_layer), kGridCells};
    out[n++] = {reinterpret_cast<uintptr_t>(g_game.event_buffer), kEventBufferBytes};
    return n;
}

// A word that may be an address, as the block it points into and the offset there.
uint64_t address_word(uint64_t v, const Region* r, int n) {
    if (v < kMappingsFirst || v >= kMappingsEnd) return v;
    for (int i = 0; i < n; ++i) {
        if (r[i].first != 0 && v >= r[i].first && v - r[i].first <= r[i].size)
            return ((kTagImage + i) << 48) | (v - r[i].first);
    }
    return kTagElsewhere << 48;
}

// Bytes that may hold addresses at 8-byte boundaries (task records, the state record).
void hash_words(Hasher& h, const unsigned char* p, size_t n, const Region* r, int count) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t v;
        std::memcpy(&v, p + i, 8);
        h.u64(address_word(v, r, count));
    }
    h.bytes(p + i, n - i);
}

template <class T, class F>
void zero_field(unsigned char* priv, F T::*field) {
    T record;
    std::memcpy(&record, priv, sizeof record);
    std::memset(&(record.*field), 0, sizeof(F));
    std::memcpy(priv, &record, sizeof record);
}

// What a save leaves out of a task's record, cleared in a copy.
void clear_unsaved(int kind, unsigned char* priv) {
    if (kind == kKindMap) {
        zero_field(priv, &MapTaskRecord::water_phase);
        zero_field(priv, &MapTaskRecord::water_level);
    } else if (kind == kKindPlayer) {
        PlayerRecord p;
        std::memcpy(&p, priv, sizeof p);
        // The camera ranks and hides the players anew every frame.
        p.hidden = 0;
        p.turn_rank = 0;
        p.experience = 0;
        if (p.state == &die_spin) p.steps_left = 0;
        p.computer_wait = 0;
        p.banner_timer = 0;
        p.heal_left = 0;
        for (MemberRecord& m : p.members) m.step_frame = 0;
        std::memcpy(priv, &p, sizeof p);
    }
}

}  // namespace

uint64_t state_hash(HashScope scope) {
    Region r[5];
    const int rn = regions(r);
    Hasher h;
    if (Task* pool = task_pool()) {
        static unsigned char priv[kTaskPrivateBytes];
        for (int s = 0; s < kTaskSlots; ++s) {
            const Task& t = pool[s];
            if (!t.in_use) continue;
            const int32_t head[] = {s, t.in_use, t.update, t.draw, t.kind};
            h.bytes(head, sizeof head);
            h.u64(address_word(reinterpret_cast<uintptr_t>(t.update_fn), r, rn));
            h.u64(address_word(reinterpret_cast<uintptr_t>(t.draw_fn), r, rn));
            // The save menu keeps the files' dates, which come from the clock.
            if (t.kind == kKindSaveMenu) continue;
            std::memcpy(priv, t.priv, sizeof priv);
            if (scope == HashScope::Saved) clear_unsaved(t.kind, priv);
            hash_words(h, priv, sizeof priv, r, rn);
        }
    }
    const GameState& g = g_game;
    h.bytes(g.event_stage, sizeof g.event_stage);
    h.bytes(&g.square_count, sizeof g.square_count);
    if (scope == HashScope::Whole) h.bytes(&g.minimap_flag, sizeof g.minimap_flag);
    h.bytes(&g.map_height, sizeof g.map_height);
    h.bytes(&g.map_width, sizeof g.map_width);
    h.bytes(g.settings, sizeof g.settings);
    h.bytes(g.requests, sizeof g.requests);
    h.bytes(g.items, sizeof g.items);
    h.bytes(g.event_script, sizeof g.event_script);
    if (g.terrain_layer) h.bytes(g.terrain_layer, kGridCells);
    if (g.square_layer) h.bytes(g.square_layer, kGridCells);
    if (g.event_buffer) h.bytes(g.event_buffer, kEventBufferBytes);
    h.u64(random_state());
    const KeyEntry* keys = key_table();
    for (int i = 0; i < kKeyCount; ++i) {
        const uint16_t k[2] = {keys[i].current, keys[i].previous};
        h.bytes(k, sizeof k);
    }
    return h.h;
}

std::string state_hash_text(HashScope scope) {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(state_hash(scope)));
    return text;
}

}  // namespace tessaly
