#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>

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

bool decode_png(const unsigned char* data, size_t size, Image& out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    PngReader reader{data, size, 0};
    std::vector<png_bytep> rows;
    std::vector<unsigned char> pixels;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, &png_read_memory);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    if (w == 0 || h == 0 || w > 16384 || h > 16384) png_error(png, "size");
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != w * 4) png_error(png, "layout");
    pixels.resize(static_cast<size_t>(w) * h * 4);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = pixels.data() + static_cast<size_t>(y) * w * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);

    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    out.argb.resize(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < out.argb.size(); ++i) {
        const unsigned char* p = &pixels[i * 4];
        out.argb[i] = static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                      static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
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

bool decode_jpeg(const unsigned char* data, size_t size, Image& out) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = &jpeg_fail;
    err.mgr.output_message = &jpeg_quiet;
    std::vector<unsigned char> row;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int w = static_cast<int>(cinfo.output_width);
    const int h = static_cast<int>(cinfo.output_height);
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384 || cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    out.width = w;
    out.height = h;
    out.argb.resize(static_cast<size_t>(w) * h);
    row.resize(static_cast<size_t>(w) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        JSAMPROW rp = row.data();
        jpeg_read_scanlines(&cinfo, &rp, 1);
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = &row[static_cast<size_t>(x) * 3];
            out.argb[static_cast<size_t>(y) * w + x] = 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

bool image_decode(const unsigned char* data, size_t size, Image& out) {
    out = Image{};
    if (!data || size < 8) return false;
    static const unsigned char kPngMagic[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::memcmp(data, kPngMagic, 8) == 0) return decode_png(data, size, out);
    if (data[0] == 0xFF && data[1] == 0xD8) return decode_jpeg(data, size, out);
    return false;
}

bool image_write_png(const char* path, int width, int height, const uint32_t* argb) {
    if (width <= 0 || height <= 0 || !argb) return false;
    std::vector<unsigned char> encoded;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
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
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t c = argb[static_cast<size_t>(y) * width + x];
            unsigned char* p = &row[static_cast<size_t>(x) * 4];
            p[0] = static_cast<unsigned char>(c >> 16);
            p[1] = static_cast<unsigned char>(c >> 8);
            p[2] = static_cast<unsigned char>(c);
            p[3] = static_cast<unsigned char>(c >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file_write_atomic(path, encoded.data(), encoded.size());
}

}  // namespace tessaly::platform
