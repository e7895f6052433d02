#pragma once
// Image files in memory (PNG, JPEG) decoded to 32-bit ARGB, and PNG writing.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaly::platform {

struct Image {
    int width = 0;
    int height = 0;
    // Row-major from the top-left, 0xAARRGGBB per pixel.
    std::vector<uint32_t> argb;
};

// Recognises the format from the data; false on anything it cannot decode.
bool image_decode(const unsigned char* data, size_t size, Image& out);
bool image_write_png(const char* path, int width, int height, const uint32_t* argb);

}  // namespace tessaly::platform
