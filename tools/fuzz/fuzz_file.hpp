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
// there: one corridor along the middle row holding squares 1..60 one after the other and a
// destination at each end, walled in by fill, so that the route hints a player works out at
// every turn end within the row rather than tracing the whole board. False when it can be
// neither found nor written.
inline bool ensure_map_pack(const char* name) {
    if (std::FILE* existing = std::fopen(name, "rb")) {
        std::fclose(existing);
        return true;
    }
    std::FILE* f = std::fopen(name, "wb");
    if (!f) return false;
    constexpr int kSide = 64;
    constexpr int kFill = 15, kGround = 0, kWestEnd = 1, kEastEnd = 2;
    constexpr int kSquares = 60;  // every square of the game, square 41's opening included
    const int32_t header[5] = {0, kSide, kSide, 0, 0};
    std::fwrite(header, sizeof header, 1, f);
    for (int i = 0; i < kSide * kSide; ++i) {
        const int row = i / kSide, column = i % kSide;
        int terrain = row == kSide / 2 ? kGround : kFill;
        if (row == kSide / 2 && column == 0) terrain = kWestEnd;
        if (row == kSide / 2 && column == kSide - 1) terrain = kEastEnd;
        std::fputc(terrain, f);
    }
    for (int i = 0; i < kSide * kSide; ++i) {
        const int column = i % kSide;
        const bool square = i / kSide == kSide / 2 && column >= 2 && column < 2 + kSquares;
        std::fputc(square ? column - 1 : 0, f);
    }
    return std::fclose(f) == 0;
}

}  // namespace tessaly::fuzz
