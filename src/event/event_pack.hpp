#pragma once
// The event pack: the script text of every square's events, split into one fixed-size
// buffer per script, and the one number reader of the script language.
#include <cstdint>

namespace tessaly {

// The event buffer holds 50 scripts of 2048 bytes; the stored text passes through a
// 36000-byte staging area first.
constexpr int kEventScriptBytes = 2048;
constexpr int kEventScriptBuffers = 50;
constexpr int kEventStagingBytes = 36000;
// Script text ends one byte before its buffer does, so every buffer ends in a zero byte.
constexpr int kEventScriptTextMax = kEventScriptBytes - 1;

// Bytes of the script text with a meaning to the splitter.
constexpr unsigned char kScriptEnd = '@';
constexpr unsigned char kScriptComment = '/';

// The loader's two messages, shown in a box with an empty caption.
constexpr const char* kEventStagingOverflowText = "イベント文を一時保存領域を超えました";
constexpr const char* kEventScriptOverflowText = "イベントデータは過大です";

// Reads the event pack into the event buffer: 1 if the file was opened and its text length
// accepted (even if some script overflowed), else 0 with the event buffer unchanged.
int event_pack_load(const char* path);

// Splits the next script off the staging area (complemented text) into a script buffer,
// reading on from position. 1 when the script ended with "@", 0 on overflow.
int event_split(unsigned char* script, const unsigned char* staging, int32_t& position);

// The number at the position of a script: at most six digits, then one separator byte
// passed over; no digits read as 0. The position never moves past the script's last byte.
int script_read_number(int32_t& position, const unsigned char* script);

constexpr const char* kEventPackFile = "epack.dat";

// The file a new game and a loaded game read their scripts from: epack.dat of the working
// directory unless the headless runner names another.
const char* event_pack_file();
void event_pack_file_set(const char* path);

// 1 + the largest script number of the event script table.
int event_script_count();

// How many overflow messages the last load showed; for tests and the runner's dump.
int event_pack_overflows();

}  // namespace tessaly
