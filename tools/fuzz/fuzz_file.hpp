#pragma once
// Fuzz targets whose loader reads a named file: the input is written to a file of its own
// in memory-backed storage first.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace tessaly::fuzz {

inline std::string input_file(const char* name, const unsigned char* data, size_t size) {
    const std::string path = "/dev/shm/tessaly-fuzz-" + std::to_string(getpid()) + "-" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

// Loading a game reads the map pack of the working directory (for the board's size, and
// before the event pack). Where there is none, one of the shipped size (64 x 64) is written
// there: a square every other cell of the middle row, the rest open ground. False when it
// can be neither found nor written.
inline bool ensure_map_pack(const char* name) {
    if (std::FILE* existing = std::fopen(name, "rb")) {
        std::fclose(existing);
        return true;
    }
    std::FILE* f = std::fopen(name, "wb");
    if (!f) return false;
    constexpr int kSide = 64;
    const int32_t header[5] = {0, kSide, kSide, 0, 0};
    std::fwrite(header, sizeof header, 1, f);
    for (int layer = 0; layer < 2; ++layer) {
        for (int i = 0; i < kSide * kSide; ++i) {
            const bool square = layer == 1 && i / kSide == kSide / 2 && i % 2 == 0;
            const int v = square ? 1 + (i % kSide) / 2 : 0;
            std::fputc(v, f);
        }
    }
    return std::fclose(f) == 0;
}

}  // namespace tessaly::fuzz
