// Fuzz target: a save file through the whole check that loading makes before it touches the
// game, for the size of the board the game ships with and for a small one.
#include <cstddef>
#include <cstdint>

#include "state/save_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessaly;
    save_image_valid(data, size, 64, 64);
    save_image_valid(data, size, 4, 2);
    return 0;
}
