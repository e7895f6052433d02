#include "platform/gpu.hpp"

#include <cstring>

#include "platform/gpu_backend.hpp"

namespace tessaly::platform {
namespace {

const GpuBackendOps* g_ops = nullptr;
GpuBackend g_backend = GpuBackend::OpenGL;
GpuDrawState g_state{};
GpuFrameCounts g_counts{};
GpuFrameCounts g_last_counts{};
bool g_reference_drawing = false;

void identity(float* m) {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

void state_reset() {
    g_state = GpuDrawState{};
    g_state.version = 1;
    g_state.fvf = kFvfScreen;
    g_state.depth_test = true;
    identity(g_state.world);
    identity(g_state.view);
    identity(g_state.projection);
    const float vp[6] = {0, 0, kBackBufferWidth, kBackBufferHeight, 0, 1};
    std::memcpy(g_state.viewport, vp, sizeof vp);
}

float* transform_of(GpuTransform which) {
    switch (which) {
        case GpuTransform::World:
            return g_state.world;
        case GpuTransform::View:
            return g_state.view;
        case GpuTransform::Projection:
            break;
    }
    return g_state.projection;
}

bool* state_flag(GpuState state) {
    switch (state) {
        case GpuState::AlphaBlend:
            return &g_state.alpha_blend;
        case GpuState::DepthTest:
            return &g_state.depth_test;
        case GpuState::Lighting:
            break;
    }
    return &g_state.lighting;
}

}  // namespace

ScreenVertex gpu_fan_vertex(uint32_t fvf, const void* vertices, int stride, int index) {
    const auto* p =
        static_cast<const unsigned char*>(vertices) + static_cast<size_t>(stride) * index;
    ScreenVertex v{0, 0, 0, 1, 0xFFFFFFFF, 0, 0};
    if (fvf == kFvfScreen) {
        std::memcpy(&v, p, sizeof v);
    } else if (fvf == kFvfTextured) {
        WorldVertex w;
        std::memcpy(&w, p, sizeof w);
        v = {w.x, w.y, w.z, 1, w.colour, w.u, w.v};
    } else {
        std::memcpy(&v.x, p, 12);
        std::memcpy(&v.colour, p + 12, 4);
    }
    return v;
}

bool gpu_create(GpuBackend backend, const GpuSettings& settings) {
    gpu_destroy();
    const GpuBackendOps& ops =
        backend == GpuBackend::OpenGL ? gpu_opengl_ops() : gpu_recording_ops();
    state_reset();
    if (!ops.create(settings)) return false;
    g_ops = &ops;
    g_backend = backend;
    return true;
}

void gpu_destroy() {
    if (!g_ops) return;
    g_ops->destroy();
    g_ops = nullptr;
}

bool gpu_exists() {
    return g_ops != nullptr;
}
GpuBackend gpu_backend() {
    return g_backend;
}

GpuTexture* gpu_texture_create(const Image& image) {
    if (!g_ops || image.width <= 0 || image.height <= 0 ||
        image.argb.size() != static_cast<size_t>(image.width) * image.height) {
        return nullptr;
    }
    auto* t = new GpuTexture{image.width, image.height, 0, {}, -1, true, {}};
    if (!g_ops->texture_upload(*t, image)) {
        delete t;
        return nullptr;
    }
    return t;
}

void gpu_texture_release(GpuTexture* texture) {
    if (!texture) return;
    if (g_state.texture == texture) gpu_texture_bind(nullptr);
    if (g_ops) g_ops->texture_release(*texture);
    delete texture;
}

int gpu_texture_width(const GpuTexture* texture) {
    return texture ? texture->width : 0;
}
int gpu_texture_height(const GpuTexture* texture) {
    return texture ? texture->height : 0;
}

bool gpu_texture_read(const GpuTexture* texture, int x, int y, int w, int h, uint32_t* argb) {
    if (!g_ops || !texture || !argb || x < 0 || y < 0 || w <= 0 || h <= 0 ||
        x > texture->width - w || y > texture->height - h) {
        return false;
    }
    return g_ops->texture_read(*texture, x, y, w, h, argb);
}
const uint32_t* gpu_texture_texels(const GpuTexture* texture) {
    return texture && !texture->texels.empty() ? texture->texels.data() : nullptr;
}

GpuMesh* gpu_mesh_create(const MeshData& data) {
    if (!g_ops || data.vertices.empty() || data.indices.size() % 3 != 0) return nullptr;
    for (uint32_t i : data.indices) {
        if (i >= data.vertices.size()) return nullptr;
    }
    for (const MeshSubset& s : data.subsets) {
        if (s.first_index + static_cast<uint64_t>(s.index_count) > data.indices.size()) {
            return nullptr;
        }
    }
    auto* m =
        new GpuMesh{data.fvf, 0, 0, 0, static_cast<uint32_t>(data.vertices.size()), data.subsets};
    if (!g_ops->mesh_upload(*m, data)) {
        delete m;
        return nullptr;
    }
    return m;
}

void gpu_mesh_release(GpuMesh* mesh) {
    if (!mesh) return;
    if (g_ops) g_ops->mesh_release(*mesh);
    delete mesh;
}

int gpu_mesh_subset_count(const GpuMesh* mesh) {
    return mesh ? static_cast<int>(mesh->subsets.size()) : 0;
}
uint32_t gpu_mesh_fvf(const GpuMesh* mesh) {
    return mesh ? mesh->fvf : 0;
}

void gpu_transform_set(GpuTransform which, const float* matrix) {
    float* m = transform_of(which);
    if (std::memcmp(m, matrix, 16 * sizeof(float)) == 0) return;
    std::memcpy(m, matrix, 16 * sizeof(float));
    ++g_state.version;
}

void gpu_transform_get(GpuTransform which, float* matrix) {
    std::memcpy(matrix, transform_of(which), 16 * sizeof(float));
}

void gpu_viewport_set(float x, float y, float width, float height, float min_z, float max_z) {
    const float vp[6] = {x, y, width, height, min_z, max_z};
    if (std::memcmp(vp, g_state.viewport, sizeof vp) == 0) return;
    std::memcpy(g_state.viewport, vp, sizeof vp);
    ++g_state.version;
}

void gpu_state_set(GpuState state, bool on) {
    bool* flag = state_flag(state);
    if (*flag == on) return;
    *flag = on;
    ++g_state.version;
}

bool gpu_state_get(GpuState state) {
    return *state_flag(state);
}

// The bound texture is not part of the version: a back end may draw fans that differ in
// their texture alone together.
void gpu_texture_bind(GpuTexture* texture) {
    g_state.texture = texture;
}

GpuTexture* gpu_texture_bound() {
    return g_state.texture;
}

void gpu_fvf_set(uint32_t fvf) {
    if (g_state.fvf == fvf) return;
    g_state.fvf = fvf;
    ++g_state.version;
}

void gpu_material_set(const GpuMaterial& material) {
    if (std::memcmp(&g_state.material, &material, sizeof material) == 0) return;
    g_state.material = material;
    ++g_state.version;
}

void gpu_clear(uint32_t argb, float depth) {
    if (g_ops) g_ops->clear(g_state, argb, depth);
}

void gpu_draw_fan(const void* vertices, int triangles, int stride) {
    if (!g_ops || !vertices || triangles <= 0) return;
    if (g_state.fvf != kFvfScreen && g_state.fvf != kFvfTextured && g_state.fvf != kFvfColoured) {
        return;
    }
    ++g_counts.fans;
    g_ops->draw_fan(g_state, vertices, triangles, stride);
}

void gpu_mesh_draw_subset(GpuMesh* mesh, int subset) {
    if (!g_ops || !mesh || subset < 0 || subset >= static_cast<int>(mesh->subsets.size())) {
        return;
    }
    // A mesh draws with its own vertex format, as a mesh object sets it when it draws.
    gpu_fvf_set(mesh->fvf);
    ++g_counts.subsets;
    g_ops->draw_subset(g_state, *mesh, subset);
}

bool gpu_frame_read(uint32_t* argb) {
    return g_ops && argb && g_ops->frame_read(argb);
}

bool gpu_present() {
    const bool ok = g_ops ? g_ops->present() : true;
    g_last_counts = {g_ops ? g_ops->draw_calls_last_frame() : 0, g_counts.fans, g_counts.subsets};
    g_counts = {};
    return ok;
}

GpuFrameCounts gpu_counts_last_frame() {
    return g_last_counts;
}

void gpu_reference_drawing(bool on) {
    g_reference_drawing = on;
}

bool gpu_reference_drawing_on() {
    return g_reference_drawing;
}

void gpu_finish() {
    if (g_ops) g_ops->finish();
}

int gpu_draw_calls_last_frame() {
    return g_ops ? g_ops->draw_calls_last_frame() : 0;
}

}  // namespace tessaly::platform
