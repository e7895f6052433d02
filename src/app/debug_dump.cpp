#include "app/debug_dump.hpp"

#include <cstdio>

#include "app/task_pool.hpp"

namespace tessaly {
namespace {

constexpr int kMaxSections = 16;
DumpSectionFn g_sections[kMaxSections];
int g_section_count = 0;

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
    for (int i = 0; i < g_section_count; ++i) g_sections[i](out);
    return out;
}

}  // namespace tessaly
