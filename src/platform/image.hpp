#pragma once
// Image files in memory (PNG, JPEG) decoded to 32-bit ARGB, and PNG writing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace tessaly::platform {

// An allocator that leaves new elements uninitialised: a decoder writes every texel anyway.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using Texels = std::vector<uint32_t, UninitialisedAllocator<uint32_t>>;

struct Image {
    int width = 0;
    int height = 0;
    // Row-major from the top-left, 0xAARRGGBB per pixel.
    Texels argb;
};

// The largest picture the game has (the sprite sheet); larger ones are refused before any
// of their pixels is allocated.
constexpr int kImageMaxSide = 2048;

// Whether the data begins with the PNG signature.
bool image_is_png(const unsigned char* data, size_t size);
// Recognises the format from the data; false on anything it cannot decode.
bool image_decode(const unsigned char* data, size_t size, Image& out);
bool image_write_png(const char* path, int width, int height, const uint32_t* argb);
// PNG bytes that decode to the same texels about twice as fast as filtered rows: no row
// filters, the best compression, no alpha channel where every texel is opaque. For pictures
// built into the game's data; false (and out empty) on a bad image.
bool image_encode_png_unfiltered(const Image& image, std::vector<unsigned char>& out);

}  // namespace tessaly::platform
