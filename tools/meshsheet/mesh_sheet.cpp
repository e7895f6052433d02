// tessaly-meshsheet: draws the 25 meshes of data.dat with the game's own mesh drawing and
// writes contact sheets as PNG.
//
//   tessaly-meshsheet MODELS.png [BOARD.png]
//
// Run in the directory that holds data.dat. MODELS.png gets one cell per mesh, in mesh order,
// row by row, five to a row: each model turned a little from the front, framed by its own
// height. BOARD.png shows the board textures and the three parties' leaders as the board
// camera sees them: a patch of every tile, the hint arrows over it, and the members in file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/asset_pack.hpp"
#include "platform/gpu.hpp"
#include "platform/image.hpp"
#include "platform/window.hpp"
#include "render/device.hpp"
#include "render/primitives.hpp"
#include "render/textures.hpp"
#include "render/transforms.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr int kColumns = 5;
constexpr int kCell = 256;
constexpr uint32_t kBackground = 0xFF2A3044;
constexpr int kFrameW = platform::kBackBufferWidth;
constexpr int kFrameH = platform::kBackBufferHeight;
// The projection has aspect 1 and is stretched to 4:3; a cell samples the frame back to square.
constexpr float kModelFacing = 250.0f;  // a little turned from the viewer (270 faces it)

using Frame = std::vector<uint32_t>;

bool frame_grab(Frame& out) {
    out.assign(static_cast<size_t>(kFrameW) * kFrameH, 0);
    return platform::gpu_frame_read(out.data());
}

// The whole frame, squeezed back to square, box-filtered into a kCell x kCell cell at (cx, cy).
void cell_put(const Frame& frame, std::vector<uint32_t>& sheet, int sheet_w, int cx, int cy) {
    for (int j = 0; j < kCell; ++j) {
        for (int i = 0; i < kCell; ++i) {
            const int x0 = i * kFrameW / kCell, x1 = std::max(x0 + 1, (i + 1) * kFrameW / kCell);
            const int y0 = j * kFrameH / kCell, y1 = std::max(y0 + 1, (j + 1) * kFrameH / kCell);
            uint32_t r = 0, g = 0, b = 0, n = 0;
            for (int y = y0; y < y1; ++y) {
                for (int x = x0; x < x1; ++x) {
                    const uint32_t p = frame[static_cast<size_t>(y) * kFrameW + x];
                    r += p >> 16 & 0xFF;
                    g += p >> 8 & 0xFF;
                    b += p & 0xFF;
                    ++n;
                }
            }
            sheet[static_cast<size_t>(cy + j) * sheet_w + cx + i] =
                0xFF000000u | (r / n) << 16 | (g / n) << 8 | (b / n);
        }
    }
}

bool models_sheet(const char* path) {
    const int rows = (kMeshCount + kColumns - 1) / kColumns;
    const int w = kColumns * kCell, h = rows * kCell;
    std::vector<uint32_t> sheet(static_cast<size_t>(w) * h, kBackground);
    Frame frame;
    for (int n = 0; n < kMeshCount; ++n) {
        const MeshRecord& mesh = mesh_record(n);
        // Frame the model by its size: the camera backs off until its largest measure fills
        // about four fifths of the cell.
        const float extent = std::max({mesh.height, mesh.width, mesh.depth * 0.8f, 0.5f});
        const float mid_y = (mesh.box_min.y + mesh.box_max.y) * 0.5f;
        const float distance = extent * 2.35f;
        camera_set({0.0f, mid_y, 0.0f}, {0.0f, mid_y + distance * 0.28f, -distance});
        platform::gpu_clear(kBackground, 1.0f);
        Matrix world;
        float facing = kModelFacing;
        world_yaw(world, {0.0f, 0.0f, 0.0f}, facing);
        mesh_draw(mesh, world);
        if (!frame_grab(frame)) return false;
        cell_put(frame, sheet, w, (n % kColumns) * kCell, (n / kColumns) * kCell);
    }
    return platform::image_write_png(path, w, h, sheet.data());
}

void floor_quad(float x, float z, float y, Texture* texture) {
    QuadVertex v[4];
    quad_vertex_set(v[0], x, y, z, 0.0f, 0.0f);
    quad_vertex_set(v[1], x + 2.0f, y, z, 1.0f, 0.0f);
    quad_vertex_set(v[2], x + 2.0f, y, z - 2.0f, 1.0f, 1.0f);
    quad_vertex_set(v[3], x, y, z - 2.0f, 0.0f, 1.0f);
    quad_draw(v, 0xFFFFFFFF, texture);
}

void side_quad(float x0, float z0, float x1, float z1, float top, Texture* texture) {
    QuadVertex v[4];
    quad_vertex_set(v[0], x0, top, z0, 0.0f, 0.0f);
    quad_vertex_set(v[1], x1, top, z1, 1.0f, 0.0f);
    quad_vertex_set(v[2], x1, top - 6.0f, z1, 1.0f, 1.0f);
    quad_vertex_set(v[3], x0, top - 6.0f, z0, 0.0f, 1.0f);
    quad_draw(v, 0xFFFFFFFF, texture);
}

// Terrain of the little board: grass all round, a corridor of plain floor with the four
// destinations, a raised block and a pool.
constexpr int kHalf = 12;
constexpr int kWater = 45, kBlock = 30, kGrass = 15;

int terrain_at(int r, int c) {
    if (r >= 2 && r <= 4 && c >= -5 && c <= -3) return kWater;
    if (r >= 2 && r <= 3 && c >= 3 && c <= 4) return kBlock;
    if (r == 0 && (c == -7 || c == 7)) return c < 0 ? 1 : 2;
    if (c == 0 && (r == -8 || r == 7)) return r < 0 ? 3 : 4;
    if (r == 0 || c == 0 || (r == -4 && c > -6 && c < 6)) return 0;
    return kGrass;
}

// The terrain as the board draws it: a floor quad per cell, and a side face on every edge
// toward a neighbour of another value, from the surface six units down.
void terrain_draw() {
    for (int r = -kHalf; r < kHalf; ++r) {
        for (int c = -kHalf; c < kHalf; ++c) {
            const int v = terrain_at(r, c);
            const float x = 2.0f * c, z = -2.0f * r;
            const float h = v == kBlock ? 3.0f : (v == kWater ? -1.5f : 0.0f);
            const int tile = v == kWater ? 7 : v == kBlock ? 6 : v == kGrass ? 5 : v;
            floor_quad(x, z, h, texture_slot(tile));
            if (v == kWater) continue;
            struct Edge {
                int dr, dc;
                float x0, z0, x1, z1;
            };
            const Edge edges[4] = {{0, 1, x + 2, z, x + 2, z - 2},
                                   {0, -1, x, z - 2, x, z},
                                   {-1, 0, x, z, x + 2, z},
                                   {1, 0, x + 2, z - 2, x, z - 2}};
            for (const Edge& e : edges) {
                if (terrain_at(r + e.dr, c + e.dc) == v) continue;
                side_quad(e.x0, e.z0, e.x1, e.z1, h, texture_slot(8));
            }
        }
    }
}

// The little board under the board camera: terrain, the hint arrows around the crossing,
// the three leaders and the knight's party in file.
bool board_sheet(const char* path) {
    platform::gpu_clear(0xFF000000, 1.0f);
    const Vec3 target = {0.0f, 0.0f, -1.0f};
    float ex = 0, ez = 0;
    direction_offset(ex, ez, target.x, target.z, 270.0f, 20.0f);
    camera_set(target, {ex, 60.0f, ez});
    world_transform_identity();
    terrain_draw();
    // Hints around the crossing: destination d toward direction q uses slot 4d + q + 5.
    const int dest_of[4] = {2, 3, 1, 4};  // east, north, west, south
    for (int q = 0; q < 4; ++q) {
        const int slot = 4 * dest_of[q] + q + 5;
        float cx = 0, cz = 0;
        direction_offset(cx, cz, 1.0f, -1.0f, q * 90.0f, 3.0f);
        QuadVertex v[4];
        const float a[4] = {135.0f, 45.0f, 315.0f, 225.0f};
        const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int k = 0; k < 4; ++k) {
            float px = 0, pz = 0;
            direction_offset(px, pz, cx, cz, a[k], 1.4f);
            quad_vertex_set(v[k], px, 4.0f, pz, uv[k][0], uv[k][1]);
        }
        Texture* texture = nullptr;
        if (slot < kTextureSlots) {
            texture = texture_slot(slot);
        } else {
            // The 25th hint has no slot; the board shows entry 26 for it.
            texture_from_entry(&texture, kEntryUnused);
        }
        quad_draw(v, 0xFFFFFFFF, texture);
        if (slot >= kTextureSlots) platform::gpu_texture_release(texture);
    }
    // The three leaders on the corridor, and the knight's party in file behind its leader.
    const float spots[][3] = {{-5.0f, -1.0f, 0.0f},  {-7.0f, -1.0f, 0.0f},  {-9.0f, -1.0f, 0.0f},
                              {-11.0f, -1.0f, 0.0f}, {1.0f, -9.0f, 270.0f}, {7.0f, 7.0f, 90.0f}};
    const int meshes[] = {0, 1, 2, 3, 4, 8};
    for (int k = 0; k < 6; ++k) {
        Matrix world;
        float facing = spots[k][2];
        world_yaw(world, {spots[k][0], 0.0f, spots[k][1]}, facing);
        mesh_draw(mesh_record(meshes[k]), world);
    }
    Frame frame;
    if (!frame_grab(frame)) return false;
    return platform::image_write_png(path, kFrameW, kFrameH, frame.data());
}

}  // namespace
}  // namespace tessaly

int main(int argc, char** argv) {
    using namespace tessaly;
    if (argc < 2) {
        std::fprintf(stderr, "usage: tessaly-meshsheet MODELS.png [BOARD.png]\n");
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    apply_settings_defaults();
    if (!platform::window_create("Tessaly", "KORVIN")) {
        std::fprintf(stderr, "tessaly-meshsheet: no window\n");
        return 1;
    }
    if (!pack_load()) {
        std::fprintf(stderr, "tessaly-meshsheet: data.dat missing or damaged\n");
        return 1;
    }
    graphics_backend_select(platform::GpuBackend::OpenGL);
    if (!graphics_start()) {
        std::fprintf(stderr, "tessaly-meshsheet: graphics could not start\n");
        return 1;
    }
    bool ok = models_sheet(argv[1]);
    if (ok && argc > 2) ok = board_sheet(argv[2]);
    graphics_release();
    pack_release();
    platform::video_quit();
    if (!ok) std::fprintf(stderr, "tessaly-meshsheet: drawing or writing failed\n");
    return ok ? 0 : 1;
}
