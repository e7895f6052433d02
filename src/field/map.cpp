#include "field/map.hpp"

#include <cstdlib>
#include <cstring>

#include "app/file_fields.hpp"
#include "event/event_pack.hpp"
#include "platform/files.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

int block_row_offset(int height) {
    return (kGridSize - height) / 2;
}
int block_column_offset(int width) {
    return (kGridSize - width) / 2;
}

// 2 * (trunc(v) div 2), truncating toward zero.
float even_floor(float v) {
    return static_cast<float>(2 * (static_cast<int>(v) / 2));
}

}  // namespace

int map_alloc() {
    g_game.terrain_layer = nullptr;
    g_game.square_layer = nullptr;
    g_game.event_buffer = nullptr;
    g_game.map_width = 0;
    g_game.map_height = 0;
    g_game.terrain_layer = static_cast<int8_t*>(std::malloc(kGridCells));
    if (!g_game.terrain_layer) return 0;
    g_game.square_layer = static_cast<int8_t*>(std::malloc(kGridCells));
    if (!g_game.square_layer) {
        map_free();
        return 0;
    }
    g_game.event_buffer = static_cast<unsigned char*>(std::malloc(kEventBufferBytes));
    if (!g_game.event_buffer) {
        map_free();
        return 0;
    }
    map_clear();
    return 1;
}

void map_clear() {
    if (g_game.square_layer) std::memset(g_game.square_layer, 0, kGridCells);
    if (g_game.event_buffer) std::memset(g_game.event_buffer, 0, kEventBufferBytes);
    if (g_game.terrain_layer) std::memset(g_game.terrain_layer, kTerrainFill, kGridCells);
}

void map_free() {
    std::free(g_game.terrain_layer);
    std::free(g_game.square_layer);
    std::free(g_game.event_buffer);
    g_game.terrain_layer = nullptr;
    g_game.square_layer = nullptr;
    g_game.event_buffer = nullptr;
}

bool map_size_fits(int width, int height) {
    // An odd size would put the cell centres on the grid's cell corners, where players
    // stand between cells: it cannot be centred and is refused.
    return width >= 0 && height >= 0 && width <= kGridSize && height <= kGridSize &&
           width % 2 == 0 && height % 2 == 0;
}

namespace {

// One block of a size that fits; false when the file ends first, leaving the rest of the block
// as it was.
bool block_read(platform::File* file, int8_t* layer, int width, int height) {
    const int r0 = block_row_offset(height);
    const int c0 = block_column_offset(width);
    unsigned char row[kGridSize];
    for (int r = 0; r < height; ++r) {
        const size_t got = platform::file_read(file, row, static_cast<size_t>(width));
        std::memcpy(layer + (r + r0) * kGridSize + c0, row, got);
        if (got < static_cast<size_t>(width)) return false;
    }
    return true;
}

}  // namespace

int map_block_read(platform::File* file, int8_t* layer, int width, int height) {
    // A size that cannot be centred in the grid is refused rather than written past it.
    if (!file || !layer || !map_size_fits(width, height)) return 0;
    block_read(file, layer, width, height);
    return 1;
}

int map_block_copy_in(const unsigned char* block, size_t n, int8_t* layer, int width, int height) {
    if (!block || !layer || !map_size_fits(width, height)) return 0;
    if (n < static_cast<size_t>(width) * static_cast<size_t>(height)) return 0;
    const int r0 = block_row_offset(height);
    const int c0 = block_column_offset(width);
    for (int r = 0; r < height; ++r) {
        std::memcpy(layer + (r + r0) * kGridSize + c0, block + static_cast<size_t>(r) * width,
                    static_cast<size_t>(width));
    }
    return 1;
}

size_t map_block_write(unsigned char* out, size_t capacity, const int8_t* layer, int width,
                       int height) {
    if (!out || !layer || !map_size_fits(width, height)) return 0;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (bytes > capacity) return 0;
    const int r0 = block_row_offset(height);
    const int c0 = block_column_offset(width);
    for (int r = 0; r < height; ++r) {
        std::memcpy(out + static_cast<size_t>(r) * width, layer + (r + r0) * kGridSize + c0,
                    static_cast<size_t>(width));
    }
    return bytes;
}

namespace {

// The map pack's header up to its layers; false when it ends early or its size cannot be
// centred in the grid.
bool map_pack_header(platform::File* f, int32_t& width, int32_t& height) {
    FileFields<4> skip(f);
    const uint32_t skip_length = skip.reader.u32();
    if (!skip.reader.ok() || !platform::file_skip(f, skip_length)) return false;
    // Width, height and two words the game does not use.
    FileFields<16> header(f);
    ByteReader& r = header.reader;
    width = r.i32();
    height = r.i32();
    r.skip(8);
    return r.ok() && map_size_fits(width, height);
}

}  // namespace

int map_pack_size(const char* path, int& width, int& height) {
    platform::File* f = platform::file_open_read(path);
    if (!f) return 0;
    int32_t w = 0, h = 0;
    const bool ok = map_pack_header(f, w, h);
    platform::file_close(f);
    if (!ok) return 0;
    width = w;
    height = h;
    return 1;
}

const char* map_pack_read_text(MapPackRead result) {
    switch (result) {
        case MapPackRead::Loaded:
            return "read";
        case MapPackRead::Missing:
            return "cannot be opened";
        case MapPackRead::BadHeader:
            return "its header is cut short, or its skip length or map size is wrong";
        case MapPackRead::CutShort:
            return "it ends inside its layers";
        case MapPackRead::NoSquares:
            return "its map holds no square";
    }
    return "unknown";
}

MapPackRead map_pack_read(const char* path) {
    if (!g_game.terrain_layer || !g_game.square_layer) return MapPackRead::Missing;
    platform::File* f = platform::file_open_read(path);
    if (!f) return MapPackRead::Missing;
    int32_t width = 0, height = 0;
    // A header that ends early or a size that cannot be centred in the grid changes nothing.
    if (!map_pack_header(f, width, height)) {
        platform::file_close(f);
        return MapPackRead::BadHeader;
    }
    g_game.map_height = height;
    g_game.map_width = width;
    const bool whole = block_read(f, g_game.terrain_layer, width, height) &&
                       block_read(f, g_game.square_layer, width, height);
    platform::file_close(f);
    g_game.square_count = map_count_squares();
    if (!whole) return MapPackRead::CutShort;
    return g_game.square_count > 0 ? MapPackRead::Loaded : MapPackRead::NoSquares;
}

int map_pack_load(const char* path) {
    const MapPackRead r = map_pack_read(path);
    return r == MapPackRead::Missing || r == MapPackRead::BadHeader ? 0 : 1;
}

int map_count_squares() {
    if (!g_game.square_layer) return 0;
    int n = 0;
    for (int i = 0; i < kGridCells; ++i) {
        const int v = g_game.square_layer[i];
        if (v >= kSquareFirst && v <= kSquareLast) ++n;
    }
    return n;
}

int field_data_load(MapPackRead* map) {
    const MapPackRead r = map_pack_read(kMapPackFile);
    if (map) *map = r;
    if (r == MapPackRead::Missing || r == MapPackRead::BadHeader) return 0;
    return event_pack_load(event_pack_file());
}

int cell_index_at(float x, float z) {
    const int column = static_cast<int>(x + 300.0f) / 2;
    const int row = static_cast<int>(300.0f - z) / 2;
    return row * kGridSize + column;
}

void map_to_world(float& x, float& z) {
    const float w = static_cast<float>(g_game.map_width);
    const float h = static_cast<float>(g_game.map_height);
    x = 2.0f * x - w + 1.0f;
    z = h - 2.0f * z - 1.0f;
}

void snap_to_cell(float& x, float& z) {
    const float w = static_cast<float>(g_game.map_width);
    const float h = static_cast<float>(g_game.map_height);
    x = even_floor(x + w) - w + 1.0f;
    z = h - even_floor(h - z) - 1.0f;
}

int terrain_at(int cell) {
    if (!g_game.terrain_layer || cell < 0 || cell >= kGridCells) return kTerrainFill;
    return g_game.terrain_layer[cell];
}

int square_at(int cell) {
    if (!g_game.square_layer || cell < 0 || cell >= kGridCells) return 0;
    return g_game.square_layer[cell];
}

}  // namespace tessaly
