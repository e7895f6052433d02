#pragma once
// The graphics device: a small fixed-function interface in the manner of Direct3D 9, with
// two back ends behind it: OpenGL 3.3 on the SDL window, and a recording device that keeps
// every call of the frame for tests that have no GPU.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/image.hpp"

namespace tessaly::platform {

struct GpuTexture;
struct GpuMesh;

enum class GpuBackend { OpenGL, Recording };

struct GpuSettings {
    bool windowed;
    bool vsync;
    bool depth24;  // 24-bit depth buffer, else 16-bit
};

// The size of the picture the device draws, whatever the window's size.
constexpr int kBackBufferWidth = 640;
constexpr int kBackBufferHeight = 480;

// Flexible vertex formats.
constexpr uint32_t kFvfScreen = 0x144;    // x y z rhw, diffuse, u v (pre-transformed)
constexpr uint32_t kFvfTextured = 0x142;  // x y z, diffuse, u v
constexpr uint32_t kFvfColoured = 0x42;   // x y z, diffuse
constexpr uint32_t kFvfMesh = 0x112;      // x y z, normal, u v (meshes from files)

struct ScreenVertex {
    float x, y, z, rhw;
    uint32_t colour;
    float u, v;
};
struct WorldVertex {
    float x, y, z;
    uint32_t colour;
    float u, v;
};
static_assert(sizeof(ScreenVertex) == 28 && sizeof(WorldVertex) == 24);

struct GpuColour {
    float r, g, b, a;
};
// A fixed-function material.
struct GpuMaterial {
    GpuColour diffuse, ambient, specular, emissive;
    float power;
};

enum class GpuTransform { World, View, Projection };
enum class GpuState { AlphaBlend, DepthTest, Lighting };

// Triangles grouped into subsets, the form in which meshes reach the device.
struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
    uint32_t colour;
};
struct MeshSubset {
    uint32_t first_index;
    uint32_t index_count;
};
struct MeshData {
    uint32_t fvf = kFvfMesh;
    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices;  // three per triangle
    std::vector<MeshSubset> subsets;
};

// Creates the device with the given back end; the OpenGL one draws into the main window.
bool gpu_create(GpuBackend backend, const GpuSettings& settings);
void gpu_destroy();
bool gpu_exists();
GpuBackend gpu_backend();

// A texture of the image's size (the caller has brought it to the final size and colours).
GpuTexture* gpu_texture_create(const Image& image);
void gpu_texture_release(GpuTexture* texture);
int gpu_texture_width(const GpuTexture* texture);
int gpu_texture_height(const GpuTexture* texture);
// The texels of a rectangle of the texture as uploaded (ARGB, row by row from the top):
// false, and nothing written, for a rectangle not wholly inside it.
bool gpu_texture_read(const GpuTexture* texture, int x, int y, int w, int h, uint32_t* argb);

GpuMesh* gpu_mesh_create(const MeshData& data);
void gpu_mesh_release(GpuMesh* mesh);
int gpu_mesh_subset_count(const GpuMesh* mesh);
uint32_t gpu_mesh_fvf(const GpuMesh* mesh);

// Matrices are 16 floats, row by row, in Direct3D's row-vector convention.
void gpu_transform_set(GpuTransform which, const float* matrix);
void gpu_transform_get(GpuTransform which, float* matrix);
void gpu_viewport_set(float x, float y, float width, float height, float min_z, float max_z);
void gpu_state_set(GpuState state, bool on);
bool gpu_state_get(GpuState state);
void gpu_texture_bind(GpuTexture* texture);  // null: untextured
GpuTexture* gpu_texture_bound();
void gpu_fvf_set(uint32_t fvf);
void gpu_material_set(const GpuMaterial& material);

// Clears the colour to argb and the depth to depth.
void gpu_clear(uint32_t argb, float depth);
// A triangle fan of triangles + 2 vertices in the current vertex format.
void gpu_draw_fan(const void* vertices, int triangles, int stride);
void gpu_mesh_draw_subset(GpuMesh* mesh, int subset);
// The picture drawn so far as 640 x 480 opaque ARGB, top row first.
bool gpu_frame_read(uint32_t* argb);
// Shows the frame; false if the device was lost (never on OpenGL).
bool gpu_present();
// Waits until everything drawn so far is finished (for measurements).
void gpu_finish();
// Draw calls the back end issued in the last presented frame.
int gpu_draw_calls_last_frame();
// What the last presented frame asked of the device: fans (quads and sprites) and mesh
// subsets, beside the draw calls the back end made of them.
struct GpuFrameCounts {
    int draw_calls;
    int fans;
    int subsets;
};
GpuFrameCounts gpu_counts_last_frame();
// Reference drawing: every fan and every mesh subset its own draw call, as a fixed-function
// device draws them. The picture is the same; benchmarks and picture tests compare the two.
void gpu_reference_drawing(bool on);
// Times the OpenGL device was released after its window was gone (none, in the right order).
int gpu_opengl_orphaned_releases();
// What presenting the last frame into a window of width x height shows, read back as ARGB
// rows from the top. For tests.
bool gpu_opengl_presented_read(int width, int height, uint32_t* argb);
// Whether whole multiples of the frame are presented by copying it through the CPU rather than
// by the driver's scaling blit. Chosen when the device is made: on where the renderer draws on
// the CPU. For tests.
void gpu_opengl_present_by_copy(bool on);
bool gpu_reference_drawing_on();
// Whether the OpenGL device may keep its stream buffers mapped for the whole run, where the
// driver offers it; if not, each batch maps its own range. Read when the device is created.
void gpu_opengl_persistent_streams(bool allowed);

// The recording device's view of what was drawn since the last clear.
struct RecordedDraw {
    static constexpr int kMaxVertices = 8;
    uint32_t fvf;
    const GpuTexture* texture;
    const GpuMesh* mesh;  // null for fans
    int subset;
    int triangles;
    int vertex_count;                     // vertices kept of a fan (all of them up to kMaxVertices)
    ScreenVertex vertices[kMaxVertices];  // rhw is 1 for formats without it
    float world[16], view[16], projection[16];
    bool alpha_blend, depth_test, lighting;
    GpuMaterial material;
};
const std::vector<RecordedDraw>& gpu_recorded_draws();
int gpu_recorded_clears();
// The settings the recording device was last made with.
GpuSettings gpu_recorded_settings();
void gpu_recording_reset();
// The texels a recording texture holds (ARGB, row by row); null elsewhere.
const uint32_t* gpu_texture_texels(const GpuTexture* texture);

}  // namespace tessaly::platform
