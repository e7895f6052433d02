#pragma once
// Fuzz targets whose loader reads a named file: the input is written to a file of its own
// in memory-backed storage first.
#include <unistd.h>

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

}  // namespace tessaly::fuzz
