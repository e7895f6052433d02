// Fuzz target: mappack.dat through the map pack loader and the square count.
#include <cstddef>
#include <cstdint>

#include "field/map.hpp"
#include "fuzz_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessaly;
    static const bool ready = map_alloc() != 0;
    if (!ready) return 0;
    const std::string path = fuzz::input_file("mappack.dat", data, size);
    map_clear();
    if (map_pack_load(path.c_str())) map_count_squares();
    std::remove(path.c_str());
    return 0;
}
