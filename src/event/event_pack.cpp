#include "event/event_pack.hpp"

#include <cstring>
#include <string>

#include "app/file_fields.hpp"
#include "platform/files.hpp"
#include "platform/window.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

// The stored text of the last load, complemented back only as it is split.
unsigned char g_staging[kEventStagingBytes];
int g_overflows = 0;
std::string g_pack_file = kEventPackFile;

constexpr int kMaxNumberDigits = 6;

// The skip length, the skipped block and the text length; false when the file ends first.
bool pack_header(platform::File* f, uint32_t& length) {
    FileFields<4> skip(f);
    const uint32_t skip_length = skip.reader.u32();
    if (!skip.reader.ok() || !platform::file_skip(f, skip_length)) return false;
    FileFields<4> text(f);
    length = text.reader.u32();
    return text.reader.ok();
}

bool is_digit(unsigned char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

const char* event_pack_file() {
    return g_pack_file.c_str();
}

void event_pack_file_set(const char* path) {
    g_pack_file = path ? path : kEventPackFile;
}

int event_script_count() {
    int32_t largest = 0;
    for (const auto& row : g_game.event_script) {
        for (int32_t n : row) largest = n > largest ? n : largest;
    }
    return largest + 1;
}

int event_pack_overflows() {
    return g_overflows;
}

int event_pack_load(const char* path) {
    std::memset(g_staging, 0, sizeof g_staging);
    platform::File* f = platform::file_open_read(path);
    if (!f) return 0;
    uint32_t length = 0;
    // A header that ends early is refused like a missing file: nothing is changed.
    if (!pack_header(f, length)) {
        platform::file_close(f);
        return 0;
    }
    if (length > static_cast<uint32_t>(kEventStagingBytes)) {
        platform::error_box("", kEventStagingOverflowText);
        platform::file_close(f);
        return 0;
    }
    // A file shorter than its length leaves zero bytes, which the splitter reports.
    platform::file_read(f, g_staging, length);
    platform::file_close(f);

    const int count = event_script_count();
    // A script number past the last buffer would be split past the event buffer: refused.
    if (count > kEventScriptBuffers || !g_game.event_buffer) return 0;
    std::memset(g_game.event_buffer, 0,
                static_cast<size_t>(kEventScriptBuffers) * kEventScriptBytes);
    g_overflows = 0;
    int32_t position = 0;
    for (int k = 0; k < count; ++k) {
        unsigned char* script = g_game.event_buffer + static_cast<size_t>(k) * kEventScriptBytes;
        if (!event_split(script, g_staging, position)) {
            ++g_overflows;
            platform::error_box("", kEventScriptOverflowText);
        }
    }
    return 1;
}

int event_split(unsigned char* script, const unsigned char* staging, int32_t& position) {
    int written = 0;
    for (;;) {
        // The last staging byte is never used; a comment may already have run past it.
        if (position < 0 || position >= kEventStagingBytes) return 0;
        unsigned char c = static_cast<unsigned char>(~staging[position]);
        ++position;
        if (written >= kEventScriptBytes || position > kEventStagingBytes - 1) return 0;
        if (c == kScriptComment) {
            while (position < kEventStagingBytes) {
                c = static_cast<unsigned char>(~staging[position]);
                ++position;
                if (c == '\n') break;
            }
            continue;
        }
        if (c == kScriptEnd) return 1;
        if (c == '\n' || c == '\r' || c == ' ') continue;
        // A 2048th text byte is counted (so the overflow falls where the stored text expects
        // it) but not stored: the buffer keeps its final zero, which ends every script.
        if (written < kEventScriptTextMax) script[written] = c;
        ++written;
    }
}

int script_read_number(int32_t& position, const unsigned char* script) {
    if (position < 0) position = 0;
    int value = 0;
    int digits = 0;
    while (digits < kMaxNumberDigits && position + digits < kEventScriptBytes &&
           is_digit(script[position + digits])) {
        value = value * 10 + (script[position + digits] - '0');
        ++digits;
    }
    position += digits + 1;
    // Reading on from the last byte finds its zero, which ends the script.
    if (position > kEventScriptTextMax) position = kEventScriptTextMax;
    return value;
}

}  // namespace tessaly
