#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "platform/files.hpp"
#include "platform/image.hpp"

namespace tessaly::platform {
namespace {

struct PngReader {
    const unsigned char* data;
    size_t size;
    size_t at;
};

void png_read_memory(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
    if (r->at + n > r->size) png_error(png, "truncated");
    std::memcpy(out, r->data + r->at, n);
    r->at += n;
}

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

bool side_ok(uint64_t w, uint64_t h) {
    return w > 0 && h > 0 && w <= kImageMaxSide && h <= kImageMaxSide;
}

// Every longjmp lands in one of these small functions, whose own locals are plain values
// set before setjmp: nothing with a destructor changes between setjmp and a possible
// longjmp, and the pixel memory is owned by the caller.
bool png_header(png_structp png, png_infop info, png_uint_32& w, png_uint_32& h) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    w = png_get_image_width(png, info);
    h = png_get_image_height(png, info);
    if (!side_ok(w, h)) return false;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    // Bytes B, G, R, A are the 32-bit word 0xAARRGGBB in little-endian memory; A, R, G, B
    // in big-endian memory.
    if constexpr (kLittleEndian) {
        png_set_bgr(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    } else {
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        png_set_swap_alpha(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == static_cast<size_t>(w) * 4;
}

bool png_pixels(png_structp png, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

bool decode_png(const unsigned char* data, size_t size, Image& out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    PngReader reader{data, size, 0};
    png_set_read_fn(png, &reader, &png_read_memory);
    png_uint_32 w = 0, h = 0;
    bool ok = png_header(png, info, w, h);
    if (ok) {
        try {
            // Decoded straight into the image's own texels, row by row.
            out.argb.resize(static_cast<size_t>(w) * h);
            std::vector<png_bytep> rows(h);
            for (png_uint_32 y = 0; y < h; ++y)
                rows[y] = reinterpret_cast<png_bytep>(out.argb.data() + static_cast<size_t>(y) * w);
            ok = png_pixels(png, rows.data());
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) {
        out = Image{};
        return false;
    }
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    return true;
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void jpeg_fail(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}
void jpeg_quiet(j_common_ptr) {}

bool jpeg_header(jpeg_decompress_struct& cinfo, JpegError& err, const unsigned char* data,
                 size_t size) {
    if (setjmp(err.jump)) return false;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (!side_ok(cinfo.image_width, cinfo.image_height)) return false;
    // Four bytes a pixel that are the 32-bit word 0xAARRGGBB in memory, alpha opaque.
    cinfo.out_color_space = kLittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    jpeg_start_decompress(&cinfo);
    return cinfo.output_components == 4 && side_ok(cinfo.output_width, cinfo.output_height);
}

bool jpeg_pixels(jpeg_decompress_struct& cinfo, JpegError& err, uint32_t* texels) {
    if (setjmp(err.jump)) return false;
    const size_t w = cinfo.output_width;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(texels + cinfo.output_scanline * w);
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

bool decode_jpeg(const unsigned char* data, size_t size, Image& out) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = &jpeg_fail;
    err.mgr.output_message = &jpeg_quiet;
    jpeg_create_decompress(&cinfo);
    bool ok = jpeg_header(cinfo, err, data, size);
    if (ok) {
        try {
            out.argb.resize(static_cast<size_t>(cinfo.output_width) * cinfo.output_height);
            ok = jpeg_pixels(cinfo, err, out.argb.data());
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    const int w = static_cast<int>(cinfo.output_width);
    const int h = static_cast<int>(cinfo.output_height);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) {
        out = Image{};
        return false;
    }
    out.width = w;
    out.height = h;
    return true;
}

}  // namespace

bool image_is_png(const unsigned char* data, size_t size) {
    static const unsigned char kPngMagic[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return data && size >= 8 && std::memcmp(data, kPngMagic, 8) == 0;
}

bool image_decode(const unsigned char* data, size_t size, Image& out) {
    out = Image{};
    if (!data || size < 8) return false;
    if (image_is_png(data, size)) return decode_png(data, size, out);
    if (data[0] == 0xFF && data[1] == 0xD8) return decode_jpeg(data, size, out);
    return false;
}

namespace {

// How a picture is written: rows filtered as libpng chooses (smaller files of photographs and
// gradients), or unfiltered, which decodes about twice as fast.
enum class PngRows { Filtered, Unfiltered };

bool all_opaque(const Image& image) {
    return std::all_of(image.argb.begin(), image.argb.end(),
                       [](uint32_t c) { return (c >> 24) == 0xFF; });
}

bool png_encode(const int width, const int height, const uint32_t* const argb, const PngRows rows,
                const int channels, std::vector<unsigned char>& encoded) {
    encoded.clear();
    if (width <= 0 || height <= 0 || !argb) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<unsigned char> row(static_cast<size_t>(width) * channels);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        encoded.clear();
        return false;
    }
    png_set_write_fn(
        png, &encoded,
        [](png_structp p, png_bytep d, png_size_t n) {
            auto* v = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(p));
            v->insert(v->end(), d, d + n);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (rows == PngRows::Unfiltered) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_compression_level(png, 9);
    }
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t c = argb[static_cast<size_t>(y) * width + x];
            unsigned char* p = &row[static_cast<size_t>(x) * channels];
            p[0] = static_cast<unsigned char>(c >> 16);
            p[1] = static_cast<unsigned char>(c >> 8);
            p[2] = static_cast<unsigned char>(c);
            if (channels == 4) p[3] = static_cast<unsigned char>(c >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool image_write_png(const char* path, int width, int height, const uint32_t* argb) {
    std::vector<unsigned char> encoded;
    if (!png_encode(width, height, argb, PngRows::Filtered, 4, encoded)) return false;
    return file_write_atomic(path, encoded.data(), encoded.size());
}

bool image_encode_png_unfiltered(const Image& image, std::vector<unsigned char>& out) {
    if (image.argb.size() != static_cast<size_t>(image.width) * image.height) {
        out.clear();
        return false;
    }
    // No alpha channel where every texel is opaque.
    return png_encode(image.width, image.height, image.argb.data(), PngRows::Unfiltered,
                      all_opaque(image) ? 3 : 4, out);
}

}  // namespace tessaly::platform
