#include "render_support.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>
#include <zlib.h>

#include "app/asset_pack.hpp"
#include "platform/image.hpp"
#include "render/device.hpp"
#include "render/textures.hpp"

namespace tessaly::test {

std::vector<unsigned char> pack_image(const PackEntries& entries) {
    std::vector<unsigned char> out(kPackTableBytes);
    auto put = [&out](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    for (int i = 0; i < kPackEntries; ++i) {
        const std::vector<unsigned char> none;
        const auto& data = i < static_cast<int>(entries.size()) ? entries[i] : none;
        const size_t offset = out.size() - kPackTableBytes;
        put(4 * i, static_cast<uint32_t>(offset));
        out.resize(out.size() + 4);
        put(out.size() - 4, static_cast<uint32_t>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

void pack_use(const PackEntries& entries) {
    const std::vector<unsigned char> image = pack_image(entries);
    auto* buffer = static_cast<unsigned char*>(std::malloc(image.size()));
    std::copy(image.begin(), image.end(), buffer);
    pack_adopt(buffer, image.size());
}

std::vector<unsigned char> png_bytes(int width, int height, const std::vector<uint32_t>& argb) {
    static int serial = 0;
    // Tests run side by side in one directory: the process id keeps their files apart.
    const std::string path =
        "render-support-" + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".png";
    std::vector<unsigned char> bytes;
    if (platform::image_write_png(path.c_str(), width, height, argb.data())) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::remove(path.c_str());
    return bytes;
}

std::vector<unsigned char> png_filled(int width, int height, uint32_t argb) {
    return png_bytes(width, height,
                     std::vector<uint32_t>(static_cast<size_t>(width) * height, argb));
}

std::vector<unsigned char> bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<int> png_row_filters(const std::vector<unsigned char>& png, int* colour_type) {
    auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(png[at]) << 24 | static_cast<uint32_t>(png[at + 1]) << 16 |
               static_cast<uint32_t>(png[at + 2]) << 8 | png[at + 3];
    };
    uint32_t width = 0, height = 0;
    int channels = 0;
    std::vector<unsigned char> idat;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = u32(at);
        if (at + 12 + length > png.size()) return {};
        const std::string type(png.begin() + static_cast<long>(at) + 4,
                               png.begin() + static_cast<long>(at) + 8);
        const auto data = png.begin() + static_cast<long>(at) + 8;
        if (type == "IHDR" && length >= 13) {
            width = u32(at + 8);
            height = u32(at + 12);
            if (data[8] != 8 || data[12] != 0) return {};  // 8 bits, not interlaced
            *colour_type = data[9];
            channels = data[9] == 2 ? 3 : data[9] == 6 ? 4 : data[9] == 0 ? 1 : 0;
        } else if (type == "IDAT") {
            idat.insert(idat.end(), data, data + length);
        }
        at += 12 + length;
    }
    if (channels == 0 || width == 0) return {};
    const size_t stride = 1 + static_cast<size_t>(width) * channels;
    std::vector<unsigned char> raw(stride * height);
    uLongf size = raw.size();
    if (uncompress(raw.data(), &size, idat.data(), idat.size()) != Z_OK || size != raw.size()) {
        return {};
    }
    std::vector<int> filters;
    for (uint32_t y = 0; y < height; ++y) filters.push_back(raw[y * stride]);
    return filters;
}

std::string x_mesh(const std::vector<float>& positions, const std::vector<int>& triangles,
                   const std::vector<std::string>& textures) {
    std::ostringstream x;
    x << "xof 0303txt 0032\nMesh {\n " << positions.size() / 3 << ";\n";
    for (size_t i = 0; i < positions.size(); i += 3) {
        x << " " << positions[i] << ";" << positions[i + 1] << ";" << positions[i + 2] << ";"
          << (i + 3 < positions.size() ? "," : ";") << "\n";
    }
    const size_t faces = triangles.size() / 3;
    x << " " << faces << ";\n";
    for (size_t f = 0; f < faces; ++f) {
        x << " 3;" << triangles[3 * f] << "," << triangles[3 * f + 1] << "," << triangles[3 * f + 2]
          << ";" << (f + 1 < faces ? "," : ";") << "\n";
    }
    x << " MeshMaterialList {\n  " << textures.size() << ";\n  " << faces << ";\n";
    // Face f uses material f modulo the count, so every material has faces when there
    // are enough of them.
    for (size_t f = 0; f < faces; ++f) {
        x << "  " << (textures.empty() ? 0 : f % textures.size()) << (f + 1 < faces ? "," : ";;")
          << "\n";
    }
    for (size_t m = 0; m < textures.size(); ++m) {
        x << "  Material {\n   1.0;1.0;1.0;1.0;;\n   4.0;\n   0.0;0.0;0.0;;\n   0.5;0.25;"
          << (0.1 * static_cast<double>(m)) << ";;\n";
        if (!textures[m].empty()) x << "   TextureFilename { \"" << textures[m] << "\"; }\n";
        x << "  }\n";
    }
    x << " }\n}\n";
    return x.str();
}

PackEntries pack_entries_small() {
    PackEntries e(kPackEntries);
    e[kEntryAtlas] = png_filled(8, 8, 0xFFFFFFFF);
    e[kEntrySecondSheet] = png_filled(8, 8, 0xFFFFFFFF);
    for (int n = 0; n < kTextureSlots; ++n)
        e[kEntryTextureSlots + n] = png_filled(8, 8, 0xFF808080);
    const std::string triangle = x_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2}, {""});
    for (int n = 0; n < 25; ++n) e[kEntryMeshes + n] = bytes_of(triangle);
    return e;
}

Rect recorded_dest(const platform::RecordedDraw& d) {
    return Rect{d.vertices[0].x + 0.5f, d.vertices[0].y + 0.5f, d.vertices[2].x + 0.5f,
                d.vertices[2].y + 0.5f};
}

Rect recorded_source(const platform::RecordedDraw& d, float sheet_width, float sheet_height) {
    return Rect{d.vertices[0].u * sheet_width, d.vertices[0].v * sheet_height,
                d.vertices[2].u * sheet_width, d.vertices[2].v * sheet_height};
}

const std::vector<platform::RecordedDraw>& recorded() {
    return platform::gpu_recorded_draws();
}

void RecordingDevice::SetUp() {
    if (!pack_buffer()) {
        ASSERT_EQ(pack_load(), 1) << "data.dat of the build";
    }
    graphics_backend_select(platform::GpuBackend::Recording);
    ASSERT_EQ(graphics_start(), 1);
    platform::gpu_recording_reset();
}

void RecordingDevice::TearDown() {
    graphics_release();
    graphics_backend_select(platform::GpuBackend::OpenGL);
    pack_release();
}

}  // namespace tessaly::test
