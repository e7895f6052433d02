#pragma once
// Inside the platform layer: what the device front hands to its back ends.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/gpu.hpp"

namespace tessaly::platform {

struct GpuTexture {
    int width;
    int height;
    uint32_t gl_name;
    std::vector<uint32_t> texels;  // kept by the recording device only
    int layer = -1;                // OpenGL: its layer in the array of tile-sized textures
    // OpenGL: whether any texel lets what is behind show (alpha under 255), and for a sheet
    // which ones, a bit each, row by row: what is drawn from opaque texels needs no blending.
    bool any_see_through = true;
    std::vector<uint64_t> see_through;
};

struct GpuMesh {
    uint32_t fvf;
    uint32_t gl_vertex_array;
    uint32_t gl_vertex_buffer;
    uint32_t gl_index_buffer;
    uint32_t vertex_count;
    std::vector<MeshSubset> subsets;
    // OpenGL: every vertex belongs to one subset and the subsets follow each other in the
    // index buffer, so consecutive subsets can be drawn by one call.
    bool subsets_joinable = false;
    bool white = false;  // OpenGL: every vertex colour is opaque white
    // OpenGL: whether every vertex colour has full alpha, and the texture coordinates each
    // subset spans (u0, v0, u1, v1), to tell the subsets that cover what is behind them.
    bool opaque_vertices = false;
    std::vector<std::array<float, 4>> subset_uv = {};
    // OpenGL: bytes per index, and the lowest and highest vertex each subset's indices reach.
    int gl_index_size = 4;
    std::vector<std::array<uint32_t, 2>> subset_vertices = {};
};

// Everything a draw depends on. version changes whenever any of it but the texture changes,
// so a back end can tell that two draws share state by comparing one number and a pointer.
struct GpuDrawState {
    uint64_t version;
    uint32_t fvf;
    GpuTexture* texture;
    bool alpha_blend, depth_test, lighting;
    GpuMaterial material;
    float world[16], view[16], projection[16];
    float viewport[6];
};

struct GpuBackendOps {
    bool (*create)(const GpuSettings& settings);
    void (*destroy)();
    bool (*texture_upload)(GpuTexture& texture, const Image& image);
    // Texels of a rectangle inside the texture, ARGB row by row from the top.
    bool (*texture_read)(const GpuTexture& texture, int x, int y, int w, int h, uint32_t* argb);
    void (*texture_release)(GpuTexture& texture);
    bool (*mesh_upload)(GpuMesh& mesh, const MeshData& data);
    void (*mesh_release)(GpuMesh& mesh);
    void (*clear)(const GpuDrawState& state, uint32_t argb, float depth);
    void (*draw_fan)(const GpuDrawState& state, const void* vertices, int triangles, int stride);
    void (*draw_subset)(const GpuDrawState& state, GpuMesh& mesh, int subset);
    bool (*frame_read)(uint32_t* argb);
    bool (*present)();
    int (*draw_calls_last_frame)();
    void (*finish)();
};

const GpuBackendOps& gpu_opengl_ops();
const GpuBackendOps& gpu_recording_ops();

// A fan vertex of any of the three formats, read into the screen-vertex layout (rhw 1 and
// white and (0, 0) where the format has no such field).
ScreenVertex gpu_fan_vertex(uint32_t fvf, const void* vertices, int stride, int index);

}  // namespace tessaly::platform
