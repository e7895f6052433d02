#pragma once
// The commands of the script language. Each reads its arguments in order from the runner's
// read position and returns the code that tells the runner what to do next.
#include <cstdint>

namespace tessaly {

struct EventRunnerRecord;

// Labels the conditional commands jump to when their condition holds.
constexpr const char* kLabelAllAchieved = "all_achieved";
constexpr const char* kLabelNoBattles = "kaihi";
constexpr const char* kLabelRequested = "requested";
constexpr const char* kLabelNoTeam = "no_team";
constexpr const char* kLabelAchieved = "achieved";
constexpr const char* kLabelOther = "other";

// All four achievement bits: the story's end is near.
constexpr int32_t kAllAchievements = 15;
// A request offers at most 12 routes; a set battle has 1 to 4 opponents.
constexpr int kRoutesMax = 12;
constexpr int kSetBattleRowsMax = 4;

// Executes command number (its arguments follow the read position) and returns its code.
// Numbers without a command do nothing and return 0.
int event_command(EventRunnerRecord& r, const unsigned char* script, int number);

// A message line: glyph numbers until a 0 or until 24 are stored; after the 24th one more
// number is read and dropped (normally the line's 0). The line's other entries are left as
// they are, so callers clear it first.
void script_read_line(int32_t& position, const unsigned char* script, int32_t* line);
// A choice label: the bytes up to the next "," (passed over, not stored), the end of the
// script text or its last byte. At most 19 bytes are kept, then a terminating zero.
void script_read_label(int32_t& position, const unsigned char* script, char* label);

}  // namespace tessaly
