#include "app/debug_dump.hpp"

#include <cstdio>

#include "app/task_pool.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr int kMaxSections = 16;
DumpSectionFn g_sections[kMaxSections];
int g_section_count = 0;
// The rows the board's requests use.
constexpr int kDumpedRequestRows = 3;

// The game state's lines: the squares whose stage is not 0 ("stages 41:2 8:1", or "stages
// none"), the taken flag and holder of request rows 1..3, and the eleven settings in order.
void game_state_lines(std::string& out) {
    char line[160];
    out += "stages";
    bool any = false;
    for (int i = 0; i < kSquareCount; ++i) {
        if (g_game.event_stage[i] == 0) continue;
        std::snprintf(line, sizeof line, " %d:%d", i + 1, g_game.event_stage[i]);
        out += line;
        any = true;
    }
    out += any ? "\n" : " none\n";
    for (int row = 1; row <= kDumpedRequestRows; ++row) {
        const RequestRecord& r = g_game.requests[row];
        std::snprintf(line, sizeof line, "request %d taken %d holder %d\n", row, r.taken, r.holder);
        out += line;
    }
    out += "settings";
    for (int32_t v : g_game.settings) {
        std::snprintf(line, sizeof line, " %d", v);
        out += line;
    }
    out += "\n";
}

}  // namespace

void debug_dump_add_section(DumpSectionFn fn) {
    for (int i = 0; i < g_section_count; ++i) {
        if (g_sections[i] == fn) return;
    }
    if (g_section_count < kMaxSections) g_sections[g_section_count++] = fn;
}

std::string debug_dump_text() {
    std::string out;
    Task* pool = task_pool();
    char line[96];
    for (int i = 0; pool && i < kTaskSlots; ++i) {
        const Task& t = pool[i];
        if (!t.in_use) continue;
        std::snprintf(line, sizeof line, "slot %d kind %d update %d draw %d\n", i, t.kind, t.update,
                      t.draw);
        out += line;
    }
    game_state_lines(out);
    for (int i = 0; i < g_section_count; ++i) g_sections[i](out);
    return out;
}

}  // namespace tessaly
