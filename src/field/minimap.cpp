#include "field/minimap.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/task_pool.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "platform/gpu.hpp"
#include "render/sprites.hpp"
#include "render/textures.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr float kLeft = 380.0f;
constexpr float kTop = 20.0f;
constexpr float kCellPixels = 4.0f;
constexpr int kCellSide = 4;
constexpr float kMarkerInset = 2.0f;
constexpr float kPlayerMarkerHalf = 8.0f;

constexpr Rect kPlainCell = {320, 482, 324, 486};
// A square cell: brighter than a road cell, so that the squares stand out.
constexpr Rect kSquareCell = {320, 488, 324, 492};
// Destination markers 1..4.
constexpr Rect kDestinationMarkers[4] = {
    {330, 482, 338, 490},
    {350, 482, 358, 490},
    {340, 482, 348, 490},
    {360, 482, 368, 490},
};
// Player markers by character id.
constexpr Rect kPlayerMarkers[kCharacterCount] = {
    {203, 482, 219, 498},
    {221, 482, 237, 498},
    {239, 482, 255, 498},
};

// Calls fn with the terrain value, the square number and the column and row of every map
// cell, row by row.
template <class Fn>
void for_each_map_cell(Fn fn) {
    const int w = g_game.map_width, h = g_game.map_height;
    if (!g_game.terrain_layer || !g_game.square_layer || !map_size_fits(w, h)) return;
    const int r0 = (kGridSize - h) / 2, c0 = (kGridSize - w) / 2;
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const int cell = (row + r0) * kGridSize + col + c0;
            fn(g_game.terrain_layer[cell], g_game.square_layer[cell], col, row);
        }
    }
}

float cell_x(int col) {
    return kLeft + kCellPixels * static_cast<float>(col);
}
float cell_y(int row) {
    return kTop + kCellPixels * static_cast<float>(row);
}

bool plain_cell(int value) {
    return value == 0;
}
bool square_cell(int value, int square) {
    return square >= kSquareFirst && terrain_passable(value);
}

// The road and square cells a quad each: a plain cell translucent, a square opaque over it.
void cells_draw_each() {
    for_each_map_cell([](int value, int, int col, int row) {
        if (plain_cell(value)) atlas_draw(cell_x(col), cell_y(row), kPlainCell, kColourTranslucent);
    });
    for_each_map_cell([](int value, int square, int col, int row) {
        if (square_cell(value, square)) atlas_draw(cell_x(col), cell_y(row), kSquareCell);
    });
}

// What the road and square cells show, for telling when the picture of them must be made
// again: FNV-1a of the block's size and each cell's kind; 0 for no map.
uint64_t cells_key() {
    uint64_t key = 14695981039346656037ull;
    const auto mix = [&key](uint64_t v) { key = (key ^ v) * 1099511628211ull; };
    bool any = false;
    mix(static_cast<uint64_t>(g_game.map_width));
    mix(static_cast<uint64_t>(g_game.map_height));
    for_each_map_cell([&](int value, int square, int, int) {
        any = true;
        mix(square_cell(value, square) ? 2 : plain_cell(value) ? 1 : 0);
    });
    return any && key != 0 ? key : 0;
}

// A texel as the device draws it with the translucent colour: the colour is white, so only
// the alpha is scaled.
uint32_t translucent_texel(uint32_t texel) {
    const float a = static_cast<float>(texel >> 24) / 255.0f *
                    (static_cast<float>(kColourTranslucent >> 24) / 255.0f);
    return (texel & 0x00FFFFFFu) | static_cast<uint32_t>(std::lround(a * 255.0f)) << 24;
}

// The road and square cells as one picture, 4 texels a cell, transparent where neither is.
bool cells_compose(uint64_t key) {
    const int w = g_game.map_width, h = g_game.map_height;
    uint32_t plain[kCellSide * kCellSide], square[kCellSide * kCellSide];
    Texture* atlas = atlas_texture();
    if (!platform::gpu_texture_read(atlas, static_cast<int>(kPlainCell.left),
                                    static_cast<int>(kPlainCell.top), kCellSide, kCellSide,
                                    plain) ||
        !platform::gpu_texture_read(atlas, static_cast<int>(kSquareCell.left),
                                    static_cast<int>(kSquareCell.top), kCellSide, kCellSide,
                                    square)) {
        return false;
    }
    for (uint32_t& t : plain) t = translucent_texel(t);
    const int pitch = w * kCellSide;
    std::vector<uint32_t> texels(static_cast<size_t>(pitch) * h * kCellSide, 0);
    for_each_map_cell([&](int value, int sq, int col, int row) {
        const uint32_t* from = square_cell(value, sq) ? square
                               : plain_cell(value)    ? plain
                                                      : nullptr;
        if (!from) return;
        for (int y = 0; y < kCellSide; ++y) {
            for (int x = 0; x < kCellSide; ++x) {
                texels[static_cast<size_t>((row * kCellSide + y) * pitch + col * kCellSide + x)] =
                    from[y * kCellSide + x];
            }
        }
    });
    return picture_set(Picture::MinimapCells, pitch, h * kCellSide, texels.data(), key);
}

// A block of map cells: its first column and row, and its size in cells.
struct CellBlock {
    int col, row, cols, rows;
};

// The road and square cells as blocks that cover each of them once and no empty cell: an
// empty cell is transparent in the picture, so leaving it out changes no pixel (and the
// depth it would write is read by no later draw: the board's 3D comes before the camera's
// overlay), while on a software rasteriser blending it costs as much as blending a drawn
// one. Found again only when the cells change.
std::vector<CellBlock> g_blocks;
uint64_t g_blocks_key = 0;

void blocks_find(uint64_t key) {
    if (key == g_blocks_key) return;
    const int w = g_game.map_width, h = g_game.map_height;
    std::vector<uint8_t> open(static_cast<size_t>(w) * h, 0);  // shown and in no block yet
    for_each_map_cell([&](int value, int square, int col, int row) {
        open[static_cast<size_t>(row * w + col)] = square_cell(value, square) || plain_cell(value);
    });
    const auto is_open = [&](int col, int row) { return open[static_cast<size_t>(row * w + col)]; };
    g_blocks.clear();
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            if (!is_open(col, row)) continue;
            // As wide as the row's run, then as deep as the rows below have the same run.
            int cols = 1, rows = 1;
            while (col + cols < w && is_open(col + cols, row)) ++cols;
            const auto run_below = [&] {
                for (int c = col; c < col + cols; ++c) {
                    if (!is_open(c, row + rows)) return false;
                }
                return true;
            };
            while (row + rows < h && run_below()) ++rows;
            for (int r = row; r < row + rows; ++r) {
                std::fill_n(open.begin() + r * w + col, cols, uint8_t{0});
            }
            g_blocks.push_back({col, row, cols, rows});
        }
    }
    g_blocks_key = key;
}

// Batched drawing shows the cells from their picture, a quad a block, the picture made
// again only when they change; the reference drawing (and a device that cannot make the
// picture) a quad a cell.
void cells_draw() {
    if (platform::gpu_reference_drawing_on()) {
        cells_draw_each();
        return;
    }
    const uint64_t key = cells_key();
    if (key == 0) return;
    if (!picture_ready(Picture::MinimapCells, key, [key] { return cells_compose(key); })) {
        cells_draw_each();
        return;
    }
    blocks_find(key);
    const float w = static_cast<float>(kCellSide * g_game.map_width);
    const float h = static_cast<float>(kCellSide * g_game.map_height);
    Texture* picture = picture_texture(Picture::MinimapCells);
    for (const CellBlock& b : g_blocks) {
        const Rect cells{static_cast<float>(kCellSide * b.col),
                         static_cast<float>(kCellSide * b.row),
                         static_cast<float>(kCellSide * (b.col + b.cols)),
                         static_cast<float>(kCellSide * (b.row + b.rows))};
        sprite_draw(cell_x(b.col), cell_y(b.row), cells, w, h, kColourOpaque, picture);
    }
}

void player_marker(const PlayerRecord& p) {
    if (p.character_id < 0 || p.character_id >= kCharacterCount) return;
    const float x = (p.position.x / 2.0f + static_cast<float>(g_game.map_width / 2)) * kCellPixels +
                    kLeft - kPlayerMarkerHalf;
    const float y =
        (-p.position.z / 2.0f + static_cast<float>(g_game.map_height / 2)) * kCellPixels + kTop -
        kPlayerMarkerHalf;
    atlas_draw(x, y, kPlayerMarkers[p.character_id], kColourOpaque);
}

}  // namespace

void minimap_draw() {
    cells_draw();
    for_each_map_cell([](int value, int, int col, int row) {
        if (value >= kTerrainDestinationFirst && value <= kTerrainDestinationLast) {
            atlas_draw(cell_x(col) - kMarkerInset, cell_y(row) - kMarkerInset,
                       kDestinationMarkers[value - 1], kColourTranslucent);
        }
    });
    // The player on turn is drawn last, on top of the others.
    const PlayerRecord* players[kSlotPlayersEnd - kSlotPlayersFirst] = {};
    int n = 0;
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        if (const PlayerRecord* p = player_in_slot(s)) players[n++] = p;
    }
    if (g_game.settings[kSettingRivals] == 1) {
        for (int i = 0; i < n; ++i) {
            if (players[i]->state == &turn_waiting) player_marker(*players[i]);
        }
    }
    for (int i = 0; i < n; ++i) {
        if (players[i]->state != &turn_waiting) player_marker(*players[i]);
    }
}

}  // namespace tessaly
