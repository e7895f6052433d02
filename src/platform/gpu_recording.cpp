// The recording device: keeps every draw of the frame with the state it was drawn in, so
// tests can check what a draw callback drew without a GPU.
#include <algorithm>
#include <cstring>

#include "platform/gpu_backend.hpp"

namespace tessaly::platform {
namespace {

std::vector<RecordedDraw> g_draws;
int g_clears = 0;
int g_frame_calls = 0;
int g_last_frame_calls = 0;
GpuSettings g_settings{};

RecordedDraw record_of(const GpuDrawState& s) {
    RecordedDraw r{};
    r.fvf = s.fvf;
    r.texture = s.texture;
    r.alpha_blend = s.alpha_blend;
    r.depth_test = s.depth_test;
    r.lighting = s.lighting;
    r.material = s.material;
    std::memcpy(r.world, s.world, sizeof r.world);
    std::memcpy(r.view, s.view, sizeof r.view);
    std::memcpy(r.projection, s.projection, sizeof r.projection);
    return r;
}

bool create(const GpuSettings& settings) {
    g_settings = settings;
    gpu_recording_reset();
    g_last_frame_calls = 0;
    return true;
}

void destroy() {}

bool texture_upload(GpuTexture& t, const Image& image) {
    t.texels.assign(image.argb.begin(), image.argb.end());
    return true;
}

bool texture_read(const GpuTexture& t, int x, int y, int w, int h, uint32_t* argb) {
    if (t.texels.size() != static_cast<size_t>(t.width) * t.height) return false;
    for (int row = 0; row < h; ++row) {
        const uint32_t* from = t.texels.data() + static_cast<size_t>(y + row) * t.width + x;
        std::copy(from, from + w, argb + static_cast<size_t>(row) * w);
    }
    return true;
}

void texture_release(GpuTexture& t) {
    t.texels.clear();
}

bool mesh_upload(GpuMesh&, const MeshData&) {
    return true;
}

void mesh_release(GpuMesh&) {}

void clear(const GpuDrawState&, uint32_t, float) {
    g_draws.clear();
    ++g_clears;
}

void draw_fan(const GpuDrawState& s, const void* vertices, int triangles, int stride) {
    RecordedDraw r = record_of(s);
    r.triangles = triangles;
    r.vertex_count =
        triangles + 2 < RecordedDraw::kMaxVertices ? triangles + 2 : RecordedDraw::kMaxVertices;
    for (int i = 0; i < r.vertex_count; ++i)
        r.vertices[i] = gpu_fan_vertex(s.fvf, vertices, stride, i);
    g_draws.push_back(r);
    ++g_frame_calls;
}

void draw_subset(const GpuDrawState& s, GpuMesh& mesh, int subset) {
    RecordedDraw r = record_of(s);
    r.mesh = &mesh;
    r.subset = subset;
    r.triangles = static_cast<int>(mesh.subsets[subset].index_count / 3);
    g_draws.push_back(r);
    ++g_frame_calls;
}

bool frame_read(uint32_t*) {
    return false;
}

bool present() {
    g_last_frame_calls = g_frame_calls;
    g_frame_calls = 0;
    return true;
}

int draw_calls_last_frame() {
    return g_last_frame_calls;
}

void finish() {}

const GpuBackendOps kOps = {create,
                            destroy,
                            texture_upload,
                            texture_read,
                            texture_release,
                            mesh_upload,
                            mesh_release,
                            clear,
                            draw_fan,
                            draw_subset,
                            frame_read,
                            present,
                            draw_calls_last_frame,
                            finish};

}  // namespace

const GpuBackendOps& gpu_recording_ops() {
    return kOps;
}

const std::vector<RecordedDraw>& gpu_recorded_draws() {
    return g_draws;
}
int gpu_recorded_clears() {
    return g_clears;
}
GpuSettings gpu_recorded_settings() {
    return g_settings;
}
void gpu_recording_reset() {
    g_draws.clear();
    g_clears = 0;
    g_frame_calls = 0;
}

}  // namespace tessaly::platform
