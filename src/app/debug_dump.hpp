#pragma once
// A text picture of the running game for the headless runner and the tests.
#include <string>

namespace tessaly {

// One line per live task ("slot 901 kind 2000 update 1 draw 1"), the game state's lines
// (event stages, requests 1..3, settings), then the sections that other subsystems add.
std::string debug_dump_text();

// A subsystem's own section of the dump, appended after the task lines.
using DumpSectionFn = void (*)(std::string& out);
void debug_dump_add_section(DumpSectionFn fn);

}  // namespace tessaly
