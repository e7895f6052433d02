#pragma once
// Little-endian fields read straight from a file: the next N bytes in front of a ByteReader,
// which runs short when the file ends first.
#include <cstddef>

#include "app/byte_io.hpp"
#include "platform/files.hpp"

namespace tessaly {

template <size_t N>
struct FileFields {
    unsigned char bytes[N];
    ByteReader reader;
    explicit FileFields(platform::File* f) : reader(bytes, platform::file_read(f, bytes, N)) {}
};

}  // namespace tessaly
