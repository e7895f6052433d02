#pragma once
// Graphics in tests: the recording device with the build's data.dat, packs built in memory,
// and readers of what a recorded draw put where.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gpu.hpp"
#include "render/sprites.hpp"

namespace tessaly::test {

using PackEntries = std::vector<std::vector<unsigned char>>;

// The data.dat image of the entries (132 of them; missing ones are empty).
std::vector<unsigned char> pack_image(const PackEntries& entries);
// Makes the entries the loaded pack.
void pack_use(const PackEntries& entries);
// A PNG file in memory.
std::vector<unsigned char> png_bytes(int width, int height, const std::vector<uint32_t>& argb);
// An image of one colour.
std::vector<unsigned char> png_filled(int width, int height, uint32_t argb);
std::vector<unsigned char> bytes_of(const std::string& text);
// The row filter of every row of an 8-bit, non-interlaced PNG, read from its inflated
// image data; empty if the bytes are not such a PNG. Also gives its colour type.
std::vector<int> png_row_filters(const std::vector<unsigned char>& png, int* colour_type);
// A complete small pack: 8 x 8 sheets and tiles, 25 one-triangle meshes without textures,
// empty sounds. Tests replace the entries they care about.
PackEntries pack_entries_small();
// An X file of one mesh: the given vertices and triangles under one material per entry of
// textures (each names a texture file when its string is not empty).
std::string x_mesh(const std::vector<float>& positions, const std::vector<int>& triangles,
                   const std::vector<std::string>& textures);

// Reference drawing while it lives: a draw call per fan and per mesh subset, and no composed
// pictures (the backdrop and the minimap a quad a cell), as the screens' draw lists are given.
struct ReferenceDrawing {
    ReferenceDrawing() { platform::gpu_reference_drawing(true); }
    ~ReferenceDrawing() { platform::gpu_reference_drawing(false); }
    ReferenceDrawing(const ReferenceDrawing&) = delete;
    ReferenceDrawing& operator=(const ReferenceDrawing&) = delete;
};

// The destination rectangle a recorded sprite covers (the half-pixel shift undone) and the
// source rectangle its texture coordinates give on a sheet of the given size.
Rect recorded_dest(const platform::RecordedDraw& d);
Rect recorded_source(const platform::RecordedDraw& d, float sheet_width, float sheet_height);
// The recorded draws since the last clear.
const std::vector<platform::RecordedDraw>& recorded();

// Graphics on the recording device, started from the build's data.dat (or from a pack a
// test built and gave to pack_use before SetUp); graphics and the pack are released after
// the test.
struct RecordingDevice : ::testing::Test {
    void SetUp() override;
    void TearDown() override;
};

}  // namespace tessaly::test
