// Fuzz target: epack.dat through the event pack loader, the script splitter and the number
// reader over every script it split.
#include <cstddef>
#include <cstdint>

#include "event/event_pack.hpp"
#include "field/map.hpp"
#include "fuzz_file.hpp"
#include "state/game_state.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessaly;
    static const bool ready = map_alloc() != 0;
    if (!ready) return 0;
    const std::string path = fuzz::input_file("epack.dat", data, size);
    if (event_pack_load(path.c_str()) && g_game.event_buffer) {
        // Every script read as numbers until its end, as the interpreter reads them.
        for (int s = 0; s < event_script_count(); ++s) {
            const unsigned char* script =
                g_game.event_buffer + static_cast<size_t>(s) * kEventScriptBytes;
            int32_t position = 0;
            for (int n = 0; n < kEventScriptBytes && position < kEventScriptBytes - 1; ++n)
                script_read_number(position, script);
        }
    }
    std::remove(path.c_str());
    return 0;
}
