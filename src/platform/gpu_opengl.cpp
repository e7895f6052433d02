// The OpenGL 3.3 core back end. It draws the game's 640 x 480 picture into a framebuffer of
// its own (with the chosen depth precision) and shows it in the window scaled to fit. One
// shader program stands in for the fixed-function pipeline: modulate of texture and diffuse,
// pre-transformed screen vertices, transformed vertices and emissive-only lighting.
//
// Consecutive fans drawn with the same state are gathered and drawn together, and so are the
// consecutive subsets of one mesh; the order of everything drawn stays the same, so the
// picture does too. A fragment reads one texture: either the one large texture of its batch
// (the sprite sheets) or a layer of one array that holds every tile-sized texture.
#include <SDL.h>
#define GL_GLEXT_PROTOTYPES
#include <GL/glcorearb.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/gpu_backend.hpp"
#include "platform/texel_cover.hpp"
#include "platform/window.hpp"

namespace tessaly::platform {
namespace {

struct GlVertex {
    float x, y, z, w;
    uint32_t colour;
    float u, v;
    uint32_t unit;  // fans: layer or 0, or kNoTexture; meshes: the vertex's subset
};

constexpr uint32_t kNoTexture = 255;
// Textures of this size live as layers of one array texture, so fans and mesh subsets that
// use different ones still draw together.
constexpr int kLayerSize = 64;
constexpr int kLayerCount = 254;
constexpr int kLayerUnit = 1;
constexpr int kBatchQuads = 16384;
constexpr int kBatchVertices = kBatchQuads * 4;
constexpr int kBatchIndices = kBatchQuads * 6;
// A batch is drawn by calls of at most this many 16-bit indices, each naming the range of
// vertices it uses: llvmpipe then shades a call's vertices in one pass, where a bigger or
// unranged call is cut into pieces of 1,024 indices, each with an allocation of its own.
constexpr int kDrawIndices = 4095;
constexpr int kBatchDraws = 64;
// Screen pixels an unblended batch must cover to be worth a draw call of its own.
constexpr float kUnblendedArea = 65536.0f;
// Subsets of one mesh drawn by one call at most.
constexpr int kRunSubsets = 64;

// The shaders come in variants, chosen per draw by where the colour comes from and which
// texture is read; each passes the rasteriser only what it uses, which on a software
// rasteriser is paid for per triangle and per pixel. COLOUR: 0 every vertex white (no
// colour), 1 the vertices' colours, 2 a lit material's (the same over each triangle).
const char* const kVertexShader = R"(
layout(location = 0) in vec4 a_position;
layout(location = 1) in vec4 a_colour;
layout(location = 2) in vec2 a_uv;
layout(location = 3) in uint a_unit;
uniform int u_pretransformed;
uniform mat4 u_wvp;
uniform vec4 u_viewport;
uniform vec4 u_lit_colour;
uniform int u_mesh_run;
uniform uint u_run_unit[64];
uniform vec4 u_run_colour[64];
#if COLOUR == 1
out vec4 v_colour;
#elif COLOUR == 2
flat out vec4 v_colour;
#endif
// Texture coordinates and the layer to read, -1 for none; a fan or a subset reads one layer.
out vec3 v_uvl;
void main() {
    if (u_pretransformed != 0) {
        // Screen pixels with Direct3D's pixel centres on whole coordinates; OpenGL puts
        // them half a pixel further right and down.
        float w = a_position.w > 0.0 ? 1.0 / a_position.w : 1.0;
        vec2 p = (a_position.xy + 0.5 - u_viewport.xy) / u_viewport.zw;
        vec2 ndc = vec2(p.x * 2.0 - 1.0, 1.0 - p.y * 2.0);
        gl_Position = vec4(ndc * w, (a_position.z * 2.0 - 1.0) * w, w);
    } else {
        vec4 c = u_wvp * vec4(a_position.xyz, 1.0);
        // The same half-pixel shift for transformed vertices, and clip depth 0..w of
        // Direct3D brought to OpenGL's -w..w.
        c.x += c.w / u_viewport.z;
        c.y -= c.w / u_viewport.w;
        c.z = 2.0 * c.z - c.w;
        gl_Position = c;
    }
    // A mesh vertex names its subset; the subset's texture and lit colour come from the run.
    uint i = min(a_unit, 63u);
    uint unit = u_mesh_run != 0 ? u_run_unit[i] : a_unit;
    v_uvl = vec3(a_uv, unit == 255u ? -1.0 : float(unit));
#if COLOUR == 1
    v_colour = a_colour;
#elif COLOUR == 2
    v_colour = u_mesh_run != 0 ? u_run_colour[i] : u_lit_colour;
#endif
}
)";

// Modulate of texture and diffuse for colour and alpha; no texture leaves the diffuse. A lit
// vertex takes the emissive colour with the diffuse alpha. One texture read per fragment; an
// array layer is the nearest whole number to the interpolated one.
const char* const kFragmentShader = R"(
#if COLOUR == 1
in vec4 v_colour;
#elif COLOUR == 2
flat in vec4 v_colour;
#endif
in vec3 v_uvl;
#if LAYERS
uniform sampler2DArray u_layers;
#else
uniform sampler2D u_texture;
#endif
out vec4 o_colour;
void main() {
#if LAYERS
    vec4 t = v_uvl.z < -0.5 ? vec4(1.0) : textureLod(u_layers, v_uvl, 0.0);
#else
    vec4 t = v_uvl.z < -0.5 ? vec4(1.0) : textureLod(u_texture, v_uvl.xy, 0.0);
#endif
#if COLOUR == 0
    o_colour = t;
#else
    o_colour = v_colour * t;
#endif
}
)";

struct Uniforms {
    GLint pretransformed, wvp, viewport, lit_colour, mesh_run, run_unit, run_colour;
};

// Where a draw's colour comes from: nowhere (every vertex is white, and modulating by white
// changes nothing), the vertices, or a lit material.
enum class ColourFrom { White, Vertices, Material };
constexpr int kColourSources = 3;

// Which texture a batch or a mesh run reads: none yet, one sprite sheet, or the layers.
enum class Reads { Nothing, Sheet, Layers };

struct Program {
    GLuint name;
    Uniforms uniforms;
};

// What was last given to OpenGL, so that unchanged state is not sent again.
struct Applied {
    bool valid;
    uint64_t version;
    bool blend, depth;
    int mesh_run;
    GLuint vertex_array;
    const Program* program;
    GLuint sheet;
};

SDL_GLContext g_context = nullptr;
SDL_Window* g_window = nullptr;
// By what they read (a sheet or nothing, the layers) and where the colour comes from.
Program g_programs[2][kColourSources] = {};
GLuint g_framebuffer = 0, g_colour_buffer = 0, g_depth_buffer = 0;
GLuint g_layers = 0;

// A renderer that draws on the CPU (Mesa's llvmpipe, softpipe) turns the frame upside down
// into a window by drawing a quad over it: about 1 ms at the window's size, 5 ms at twice it
// and 12 ms at three times. Read back, turned and scaled by the CPU into a picture stored the
// way the window is, the frame is copied into the window row by row instead: 0.3, 1.2 and
// 2.4 ms. Each band read and uploaded costs the driver an allocation or two.
struct PresentCopy {
    bool on;
    GLuint texture, framebuffer;  // the picture as shown, rows from the top
    int width, height;            // a whole multiple of the frame
    std::vector<uint32_t> frame;  // a band of the frame read back: A, B, G, R words
    std::vector<uint32_t> shown;  // the band as shown: A, R, G, B words
};
PresentCopy g_present{};
constexpr int kPresentBand = 240;  // rows; the frame's height is a multiple
static_assert(kBackBufferHeight % kPresentBand == 0);
bool g_layer_used[kLayerCount] = {};
Applied g_applied{};

// A buffer that batches are written into one after another. Where the driver offers it, the
// buffer stays mapped for the whole run and is used as a ring of four parts: a part is
// fenced when writing leaves it and waited for before it is written again. Otherwise each
// batch maps its own range, and a full buffer is given up for fresh storage.
struct Stream {
    GLenum target;
    GLuint buffer;
    int item_size;  // bytes
    int part;       // items in a quarter of the buffer
    int at;         // the next free item
    char* mapped;   // the whole buffer, when it stays mapped
    int quarter;    // the quarter being written, when it stays mapped
    GLsync fences[4];
};
GLuint g_stream_array = 0;
Stream g_stream_vertices{}, g_stream_indices{};
PFNGLBUFFERSTORAGEPROC g_buffer_storage = nullptr;
bool g_streams_may_stay_mapped = true;

// The batch being gathered: its state, its vertices and indices, and what it reads.
GlVertex* g_batch_vertices = nullptr;
uint16_t* g_batch_indices = nullptr;  // each relative to its draw's first vertex
int g_batch_vertex_count = 0;
int g_batch_index_count = 0;
// The draw calls the batch is cut into, each a run of whole fans.
struct BatchDraw {
    int first_index, index_count;
    int first_vertex, vertex_count;
};
BatchDraw g_batch_draws[kBatchDraws];
int g_batch_draw_count = 0;
GpuDrawState g_batch_state{};
bool g_batch_blend = false;     // the state's blending, off where all the batch draws is opaque
bool g_batch_white = true;      // every vertex of the batch is white
float g_batch_opaque_area = 0;  // screen pixels the batch covers with blending off
Reads g_batch_reads = Reads::Nothing;
GLuint g_batch_sheet = 0;

// Consecutive subsets of one mesh waiting to be drawn by one call.
struct MeshRun {
    GpuMesh* mesh;
    int first, count;
    GpuDrawState state;
    Reads reads;
    GLuint sheet;
    GLuint units[kRunSubsets];
    float colours[kRunSubsets][4];
    bool opaque;  // every subset so far covers what is behind it
};
MeshRun g_run{};

// Whether a mesh subset draws the same with blending off (see fan_cover).
bool subset_opaque(const GpuDrawState& s, const GpuMesh& mesh, int subset) {
    if (s.lighting ? !(s.material.diffuse.a >= 1.0f) : !mesh.opaque_vertices) return false;
    if (!s.texture) return true;
    if (subset < 0 || static_cast<size_t>(subset) >= mesh.subset_uv.size()) return false;
    const std::array<float, 4>& uv = mesh.subset_uv[static_cast<size_t>(subset)];
    return texels_opaque(*s.texture, uv[0], uv[1], uv[2], uv[3]);
}

int g_frame_calls = 0;
int g_last_frame_calls = 0;
int g_orphaned_releases = 0;

GLuint shader_compile(GLenum kind, const char* header, const char* source) {
    const GLuint s = glCreateShader(kind);
    const char* parts[] = {header, source};
    glShaderSource(s, 2, parts, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024];
        glGetShaderInfoLog(s, sizeof log, nullptr, log);
        std::fprintf(stderr, "tessaly: shader: %s\n", log);
        glDeleteShader(s);
        return 0;
    }
    return s;
}

// A linked program of the two sources under a header of definitions; 0 if either fails.
GLuint program_make(const char* header, const char* vertex, const char* fragment) {
    const GLuint vs = shader_compile(GL_VERTEX_SHADER, header, vertex);
    const GLuint fs = shader_compile(GL_FRAGMENT_SHADER, header, fragment);
    GLuint program = 0;
    if (vs && fs) {
        program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glLinkProgram(program);
        GLint ok = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            glDeleteProgram(program);
            program = 0;
        }
    }
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    return program;
}

bool program_link(Program& p, bool layers, int colour) {
    char header[96];
    std::snprintf(header, sizeof header,
                  "#version 330 core\n#define COLOUR %d\n#define LAYERS %d\n", colour,
                  layers ? 1 : 0);
    p.name = program_make(header, kVertexShader, kFragmentShader);
    if (!p.name) return false;
    Uniforms& u = p.uniforms;
    u.pretransformed = glGetUniformLocation(p.name, "u_pretransformed");
    u.wvp = glGetUniformLocation(p.name, "u_wvp");
    u.viewport = glGetUniformLocation(p.name, "u_viewport");
    u.lit_colour = glGetUniformLocation(p.name, "u_lit_colour");
    u.mesh_run = glGetUniformLocation(p.name, "u_mesh_run");
    u.run_unit = glGetUniformLocation(p.name, "u_run_unit");
    u.run_colour = glGetUniformLocation(p.name, "u_run_colour");
    glUseProgram(p.name);
    if (layers) {
        glUniform1i(glGetUniformLocation(p.name, "u_layers"), kLayerUnit);
    } else {
        glUniform1i(glGetUniformLocation(p.name, "u_texture"), 0);
    }
    return true;
}

bool program_build() {
    for (int layers = 0; layers < 2; ++layers) {
        for (int colour = 0; colour < kColourSources; ++colour) {
            if (!program_link(g_programs[layers][colour], layers != 0, colour)) return false;
        }
    }
    return true;
}

// The array of tile-sized textures, on its own unit for the whole run.
bool layers_build() {
    glGenTextures(1, &g_layers);
    glActiveTexture(GL_TEXTURE0 + kLayerUnit);
    glBindTexture(GL_TEXTURE_2D_ARRAY, g_layers);
    // One level, point sampling and wrapping: the sampler defaults of the fixed pipeline.
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAX_LEVEL, 0);
    glTexStorage3D(GL_TEXTURE_2D_ARRAY, 1, GL_RGBA8, kLayerSize, kLayerSize, kLayerCount);
    glActiveTexture(GL_TEXTURE0);
    for (bool& used : g_layer_used) used = false;
    return glGetError() == GL_NO_ERROR;
}

bool framebuffer_build(bool depth24) {
    glGenFramebuffers(1, &g_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, g_framebuffer);
    glGenRenderbuffers(1, &g_colour_buffer);
    glBindRenderbuffer(GL_RENDERBUFFER, g_colour_buffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kBackBufferWidth, kBackBufferHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              g_colour_buffer);
    glGenRenderbuffers(1, &g_depth_buffer);
    glBindRenderbuffer(GL_RENDERBUFFER, g_depth_buffer);
    glRenderbufferStorage(GL_RENDERBUFFER, depth24 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16,
                          kBackBufferWidth, kBackBufferHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, g_depth_buffer);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// with_unit: the unit comes from each vertex; otherwise from the attribute's current value.
void vertex_layout_set(bool with_unit) {
    const auto stride = static_cast<GLsizei>(sizeof(GlVertex));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(GlVertex, x)));
    glEnableVertexAttribArray(1);
    // ARGB words are B, G, R, A in memory.
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<const void*>(offsetof(GlVertex, colour)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(GlVertex, u)));
    if (with_unit) {
        glEnableVertexAttribArray(3);
        glVertexAttribIPointer(3, 1, GL_UNSIGNED_INT, stride,
                               reinterpret_cast<const void*>(offsetof(GlVertex, unit)));
    } else {
        glDisableVertexAttribArray(3);
    }
}

// A quarter holds the biggest batch with an item to spare: a draw never reads up to the
// very end of its buffer, which llvmpipe would take for an index buffer overrun.
bool stream_create(Stream& s, GLenum target, int item_size, int batch_items) {
    s = Stream{target, 0, item_size, batch_items + 1, 0, nullptr, 0, {}};
    const auto bytes = static_cast<GLsizeiptr>(item_size) * 4 * s.part;
    glGenBuffers(1, &s.buffer);
    glBindBuffer(target, s.buffer);
    if (g_buffer_storage) {
        const GLbitfield flags = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT;
        g_buffer_storage(target, bytes, nullptr, flags);
        s.mapped = static_cast<char*>(glMapBufferRange(target, 0, bytes, flags));
        if (s.mapped) return true;
        // Not mappable after all: this buffer is immutable, so start again without.
        glDeleteBuffers(1, &s.buffer);
        glGenBuffers(1, &s.buffer);
        glBindBuffer(target, s.buffer);
    }
    glBufferData(target, bytes, nullptr, GL_STREAM_DRAW);
    return glGetError() == GL_NO_ERROR;
}

void stream_release(Stream& s) {
    for (GLsync& f : s.fences) {
        if (f) glDeleteSync(f);
        f = nullptr;
    }
    // Deleting a mapped buffer unmaps it.
    if (s.buffer) glDeleteBuffers(1, &s.buffer);
    s = Stream{};
}

bool stream_build() {
    g_buffer_storage = nullptr;
    if (g_streams_may_stay_mapped && SDL_GL_ExtensionSupported("GL_ARB_buffer_storage")) {
        g_buffer_storage =
            reinterpret_cast<PFNGLBUFFERSTORAGEPROC>(SDL_GL_GetProcAddress("glBufferStorage"));
    }
    glGenVertexArrays(1, &g_stream_array);
    glBindVertexArray(g_stream_array);
    if (!stream_create(g_stream_vertices, GL_ARRAY_BUFFER, sizeof(GlVertex), kBatchVertices) ||
        !stream_create(g_stream_indices, GL_ELEMENT_ARRAY_BUFFER, sizeof(uint16_t),
                       kBatchIndices)) {
        return false;
    }
    glBindBuffer(GL_ARRAY_BUFFER, g_stream_vertices.buffer);
    vertex_layout_set(true);
    g_applied.vertex_array = g_stream_array;
    g_batch_vertices = new GlVertex[kBatchVertices];
    g_batch_indices = new uint16_t[kBatchIndices];
    g_batch_vertex_count = 0;
    g_batch_index_count = 0;
    g_batch_draw_count = 0;
    g_batch_reads = Reads::Nothing;
    g_run = MeshRun{};
    return true;
}

// The matrix product world × view × projection in the row-vector order, as 16 floats; read
// column by column by OpenGL it is the same transform for column vectors.
void wvp_compute(const GpuDrawState& s, float* out) {
    float wv[16];
    auto mul = [](const float* a, const float* b, float* r) {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                float sum = 0;
                for (int k = 0; k < 4; ++k) sum += a[i * 4 + k] * b[k * 4 + j];
                r[i * 4 + j] = sum;
            }
        }
    };
    mul(s.world, s.view, wv);
    mul(wv, s.projection, out);
}

float clamp01(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

void sheet_bind(GLuint name) {
    if (g_applied.sheet == name) return;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name);
    g_applied.sheet = name;
}

const Program& program_for(Reads reads, ColourFrom colour) {
    return g_programs[reads == Reads::Layers ? 1 : 0][static_cast<int>(colour)];
}

ColourFrom colour_from(const GpuDrawState& s, bool white) {
    if (s.lighting) return ColourFrom::Material;
    return white ? ColourFrom::White : ColourFrom::Vertices;
}

// Everything but the textures, for the program that reads what the draw reads.
void state_apply(const GpuDrawState& s, bool blend, GLuint vertex_array, const Program& program,
                 int mesh_run) {
    if (g_applied.vertex_array != vertex_array) {
        glBindVertexArray(vertex_array);
        g_applied.vertex_array = vertex_array;
    }
    if (g_applied.program != &program) {
        // Uniforms belong to a program: the other one's are sent again.
        glUseProgram(program.name);
        g_applied.program = &program;
        g_applied.valid = false;
    }
    const Uniforms& u = program.uniforms;
    if (!g_applied.valid || g_applied.mesh_run != mesh_run) {
        glUniform1i(u.mesh_run, mesh_run);
        g_applied.mesh_run = mesh_run;
    }
    if (!g_applied.valid || g_applied.blend != blend) {
        blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
        g_applied.blend = blend;
    }
    if (g_applied.valid && g_applied.version == s.version) return;
    if (!g_applied.valid || g_applied.depth != s.depth_test) {
        s.depth_test ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
        g_applied.depth = s.depth_test;
    }
    const bool pre = s.fvf == kFvfScreen;
    glUniform1i(u.pretransformed, pre ? 1 : 0);
    if (!pre) {
        float wvp[16];
        wvp_compute(s, wvp);
        glUniformMatrix4fv(u.wvp, 1, GL_FALSE, wvp);
    }
    glUniform4f(u.viewport, s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    glViewport(static_cast<GLint>(s.viewport[0]),
               static_cast<GLint>(kBackBufferHeight - s.viewport[1] - s.viewport[3]),
               static_cast<GLsizei>(s.viewport[2]), static_cast<GLsizei>(s.viewport[3]));
    glDepthRange(s.viewport[4], s.viewport[5]);
    // No lights and no ambient: a lit vertex is the emissive colour with the diffuse alpha.
    if (s.lighting) {
        const GpuMaterial& m = s.material;
        glUniform4f(u.lit_colour, clamp01(m.emissive.r), clamp01(m.emissive.g),
                    clamp01(m.emissive.b), clamp01(m.diffuse.a));
    }
    g_applied.valid = true;
    g_applied.version = s.version;
}

void fence_wait(GLsync& fence) {
    if (!fence) return;
    GLenum r = GL_TIMEOUT_EXPIRED;
    while (r == GL_TIMEOUT_EXPIRED) {
        r = glClientWaitSync(fence, GL_SYNC_FLUSH_COMMANDS_BIT, 100'000'000);
    }
    glDeleteSync(fence);
    fence = nullptr;
}

// Copies n items (at most a batch) into the stream; returns where they went. Written ranges
// are never in use by earlier draws. The stream's buffer must be bound to its target.
int stream_put(Stream& s, const void* data, int n) {
    const size_t size = static_cast<size_t>(s.item_size);
    if (s.mapped) {
        if (s.at + n >= (s.quarter + 1) * s.part) {
            s.fences[s.quarter] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
            s.quarter = (s.quarter + 1) % 4;
            fence_wait(s.fences[s.quarter]);
            s.at = s.quarter * s.part;
        }
        std::memcpy(s.mapped + size * static_cast<size_t>(s.at), data, size * n);
    } else {
        if (s.at + n >= 4 * s.part) {
            glBufferData(s.target, static_cast<GLsizeiptr>(size) * 4 * s.part, nullptr,
                         GL_STREAM_DRAW);
            s.at = 0;
        }
        void* dst = glMapBufferRange(
            s.target, static_cast<GLintptr>(size * s.at), static_cast<GLsizeiptr>(size * n),
            GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
        if (dst) {
            std::memcpy(dst, data, size * n);
            glUnmapBuffer(s.target);
        }
    }
    const int placed = s.at;
    s.at += n;
    return placed;
}

void fans_flush() {
    if (g_batch_index_count == 0) return;
    state_apply(g_batch_state, g_batch_blend, g_stream_array,
                program_for(g_batch_reads, colour_from(g_batch_state, g_batch_white)), 0);
    if (g_batch_reads == Reads::Sheet) sheet_bind(g_batch_sheet);
    glBindBuffer(GL_ARRAY_BUFFER, g_stream_vertices.buffer);
    const int base = stream_put(g_stream_vertices, g_batch_vertices, g_batch_vertex_count);
    const int first = stream_put(g_stream_indices, g_batch_indices, g_batch_index_count);
    for (int i = 0; i < g_batch_draw_count; ++i) {
        const BatchDraw& d = g_batch_draws[i];
        glDrawRangeElementsBaseVertex(
            GL_TRIANGLES, 0, static_cast<GLuint>(d.vertex_count - 1), d.index_count,
            GL_UNSIGNED_SHORT,
            reinterpret_cast<const void*>(sizeof(uint16_t) * (first + d.first_index)),
            base + d.first_vertex);
        ++g_frame_calls;
    }
    g_batch_vertex_count = 0;
    g_batch_index_count = 0;
    g_batch_draw_count = 0;
    g_batch_reads = Reads::Nothing;
}

void run_flush() {
    if (g_run.count == 0) return;
    GpuMesh& mesh = *g_run.mesh;
    const Program& program = program_for(g_run.reads, colour_from(g_run.state, mesh.white));
    const bool blend = g_run.state.alpha_blend && !g_run.opaque;
    state_apply(g_run.state, blend, mesh.gl_vertex_array, program, 1);
    if (g_run.reads == Reads::Sheet) sheet_bind(g_run.sheet);
    const Uniforms& u = program.uniforms;
    // Entry k of the run is subset k of the mesh. A mesh whose vertices do not each belong to
    // one subset draws one subset at a time, with every entry saying the same.
    GLuint units[kRunSubsets] = {};
    float colours[kRunSubsets][4] = {};
    for (int k = 0; k < kRunSubsets; ++k) {
        const int from = mesh.subsets_joinable ? k - g_run.first : 0;
        if (from < 0 || from >= g_run.count) continue;
        units[k] = g_run.units[from];
        std::memcpy(colours[k], g_run.colours[from], sizeof colours[k]);
    }
    glUniform1uiv(u.run_unit, kRunSubsets, units);
    glUniform4fv(u.run_colour, kRunSubsets, &colours[0][0]);
    const MeshSubset& first = mesh.subsets[g_run.first];
    const MeshSubset& last = mesh.subsets[g_run.first + g_run.count - 1];
    const uint32_t count = last.first_index + last.index_count - first.first_index;
    uint32_t low = UINT32_MAX, high = 0;
    for (int k = g_run.first; k < g_run.first + g_run.count; ++k) {
        low = std::min(low, mesh.subset_vertices[static_cast<size_t>(k)][0]);
        high = std::max(high, mesh.subset_vertices[static_cast<size_t>(k)][1]);
    }
    if (count > 0 && low <= high) {
        const size_t index_size = static_cast<size_t>(mesh.gl_index_size);
        glDrawRangeElements(GL_TRIANGLES, low, high, static_cast<GLsizei>(count),
                            index_size == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                            reinterpret_cast<const void*>(index_size * first.first_index));
        ++g_frame_calls;
    }
    g_run.count = 0;
}

// Everything gathered is drawn, in the order it came.
void pending_flush() {
    run_flush();
    fans_flush();
}

// What a fan or a subset reads of its texture, for a batch that so far reads `reads`:
// false if the batch cannot take it.
bool reads_join(Reads& reads, GLuint& sheet, const GpuTexture* t, uint32_t& unit) {
    if (!t) {
        unit = kNoTexture;
        return true;
    }
    if (t->layer >= 0) {
        if (reads == Reads::Sheet) return false;
        reads = Reads::Layers;
        unit = static_cast<uint32_t>(t->layer);
        return true;
    }
    if (reads == Reads::Layers || (reads == Reads::Sheet && sheet != t->gl_name)) return false;
    reads = Reads::Sheet;
    sheet = t->gl_name;
    unit = 0;
    return true;
}

void release_all() {
    delete[] g_batch_vertices;
    delete[] g_batch_indices;
    g_batch_vertices = nullptr;
    g_batch_indices = nullptr;
    g_batch_vertex_count = g_batch_index_count = g_batch_draw_count = 0;
    g_run = MeshRun{};
    if (g_context && !window_exists()) {
        // The window went first: its context cannot be made current to release anything.
        ++g_orphaned_releases;
        g_context = nullptr;
    }
    if (g_context) {
        stream_release(g_stream_indices);
        stream_release(g_stream_vertices);
        if (g_stream_array) glDeleteVertexArrays(1, &g_stream_array);
        if (g_depth_buffer) glDeleteRenderbuffers(1, &g_depth_buffer);
        if (g_colour_buffer) glDeleteRenderbuffers(1, &g_colour_buffer);
        if (g_framebuffer) glDeleteFramebuffers(1, &g_framebuffer);
        if (g_layers) glDeleteTextures(1, &g_layers);
        if (g_present.framebuffer) glDeleteFramebuffers(1, &g_present.framebuffer);
        if (g_present.texture) glDeleteTextures(1, &g_present.texture);
        for (auto& by_colour : g_programs) {
            for (Program& p : by_colour) {
                if (p.name) glDeleteProgram(p.name);
            }
        }
        SDL_GL_MakeCurrent(g_window, nullptr);
        SDL_GL_DeleteContext(g_context);
    }
    g_stream_indices = g_stream_vertices = Stream{};
    g_stream_array = 0;
    g_depth_buffer = g_colour_buffer = g_framebuffer = g_layers = 0;
    g_present = PresentCopy{};
    for (auto& by_colour : g_programs) {
        for (Program& p : by_colour) p = Program{};
    }
    g_context = nullptr;
    g_window = nullptr;
    g_applied = Applied{};
}

bool renderer_draws_on_cpu() {
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return name && (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe"));
}

bool create(const GpuSettings& settings) {
    g_window = static_cast<SDL_Window*>(window_native());
    if (!g_window) return false;
    g_context = SDL_GL_CreateContext(g_window);
    if (!g_context) {
        error_reason("no OpenGL 3.3 context could be made: %s", SDL_GetError());
        g_window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(g_window, g_context);
    // Without a retrace to wait for (or without control over it) the frame wait holds the pace.
    SDL_GL_SetSwapInterval(settings.vsync ? 1 : 0);
    if (!program_build() || !framebuffer_build(settings.depth24) || !stream_build() ||
        !layers_build()) {
        release_all();
        return false;
    }
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    g_frame_calls = g_last_frame_calls = 0;
    g_present.on = renderer_draws_on_cpu();
    return glGetError() == GL_NO_ERROR;
}

void destroy() {
    release_all();
}

int layer_take() {
    for (int i = 0; i < kLayerCount; ++i) {
        if (g_layer_used[i]) continue;
        g_layer_used[i] = true;
        return i;
    }
    return -1;
}

bool texture_upload(GpuTexture& t, const Image& image) {
    pending_flush();
    // Row 0 of the image is texture row v = 0, the top of the picture as Direct3D has it.
    const bool tile = image.width == kLayerSize && image.height == kLayerSize;
    see_through_find(t, image, !tile);
    if (tile) {
        t.layer = layer_take();
        if (t.layer >= 0) {
            glActiveTexture(GL_TEXTURE0 + kLayerUnit);
            glTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, 0, 0, t.layer, kLayerSize, kLayerSize, 1,
                            GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, image.argb.data());
            glActiveTexture(GL_TEXTURE0);
            if (glGetError() == GL_NO_ERROR) return true;
            g_layer_used[t.layer] = false;
            t.layer = -1;
            return false;
        }
    }
    glGenTextures(1, &t.gl_name);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, t.gl_name);
    g_applied.sheet = t.gl_name;
    // One level, point sampling and wrapping: the sampler defaults of the fixed pipeline.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, image.argb.data());
    if (glGetError() != GL_NO_ERROR) {
        g_applied.sheet = 0;
        glDeleteTextures(1, &t.gl_name);
        t.gl_name = 0;
        return false;
    }
    return true;
}

// Through a framebuffer of its own that the texture (or its layer) is attached to; texture
// rows run from the top of the image, as uploaded.
bool texture_read(const GpuTexture& t, int x, int y, int w, int h, uint32_t* argb) {
    pending_flush();
    GLuint reader = 0;
    glGenFramebuffers(1, &reader);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, reader);
    if (t.layer >= 0) {
        glFramebufferTextureLayer(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, g_layers, 0, t.layer);
    } else {
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t.gl_name,
                               0);
    }
    const bool complete = glCheckFramebufferStatus(GL_READ_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete) {
        glReadPixels(x, y, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, g_framebuffer);
    glDeleteFramebuffers(1, &reader);
    return complete && glGetError() == GL_NO_ERROR;
}

void texture_release(GpuTexture& t) {
    pending_flush();
    if (t.layer >= 0) {
        g_layer_used[t.layer] = false;
        t.layer = -1;
    }
    // Deleting a texture unbinds it from every unit.
    if (g_applied.sheet == t.gl_name) g_applied.sheet = 0;
    if (t.gl_name) glDeleteTextures(1, &t.gl_name);
    t.gl_name = 0;
}

bool mesh_upload(GpuMesh& mesh, const MeshData& data) {
    pending_flush();
    // Each vertex on the device names the subset it belongs to; a vertex that two subsets
    // share is given to each of them as a copy. Subsets out of index order make the mesh
    // draw one subset at a time.
    bool joinable = data.subsets.size() <= static_cast<size_t>(kRunSubsets);
    uint32_t next_index = 0;
    for (const MeshSubset& sub : data.subsets) {
        if (sub.first_index != next_index) joinable = false;
        next_index = sub.first_index + sub.index_count;
    }
    mesh.subsets_joinable = joinable;
    mesh.white = std::all_of(data.vertices.begin(), data.vertices.end(),
                             [](const MeshVertex& v) { return v.colour == 0xFFFFFFFFu; });
    mesh.opaque_vertices =
        std::all_of(data.vertices.begin(), data.vertices.end(),
                    [](const MeshVertex& v) { return (v.colour >> 24) == 0xFFu; });
    mesh.subset_uv.assign(data.subsets.size(), {NAN, NAN, NAN, NAN});
    for (size_t s = 0; s < data.subsets.size(); ++s) {
        const MeshSubset& sub = data.subsets[s];
        std::array<float, 4>& uv = mesh.subset_uv[s];
        for (uint32_t i = sub.first_index;
             i < sub.first_index + sub.index_count && i < data.indices.size(); ++i) {
            if (data.indices[i] >= data.vertices.size()) continue;
            const MeshVertex& v = data.vertices[data.indices[i]];
            const bool first = i == sub.first_index;
            uv = {first ? v.u : std::min(uv[0], v.u), first ? v.v : std::min(uv[1], v.v),
                  first ? v.u : std::max(uv[2], v.u), first ? v.v : std::max(uv[3], v.v)};
        }
    }
    std::vector<GlVertex> vertices;
    std::vector<uint32_t> indices;
    const auto device_vertex = [&](uint32_t source, uint32_t subset) {
        const MeshVertex& v = data.vertices[source];
        return GlVertex{v.x, v.y, v.z, 1.0f, v.colour, v.u, v.v, subset};
    };
    if (joinable) {
        std::vector<uint32_t> copy_subset(data.vertices.size(), kNoTexture);
        std::vector<uint32_t> copy_index(data.vertices.size(), 0);
        vertices.reserve(data.vertices.size());
        indices.reserve(data.indices.size());
        for (uint32_t s = 0; s < data.subsets.size(); ++s) {
            const MeshSubset& sub = data.subsets[s];
            for (uint32_t i = sub.first_index; i < sub.first_index + sub.index_count; ++i) {
                const uint32_t source = data.indices[i];
                if (copy_subset[source] != s) {
                    copy_subset[source] = s;
                    copy_index[source] = static_cast<uint32_t>(vertices.size());
                    vertices.push_back(device_vertex(source, s));
                }
                indices.push_back(copy_index[source]);
            }
        }
    } else {
        for (uint32_t i = 0; i < data.vertices.size(); ++i) vertices.push_back(device_vertex(i, 0));
        indices = data.indices;
    }
    // The vertices each subset's indices reach, which its draw names.
    mesh.subset_vertices.assign(data.subsets.size(), {UINT32_MAX, 0});
    for (size_t s = 0; s < data.subsets.size(); ++s) {
        const MeshSubset& sub = data.subsets[s];
        std::array<uint32_t, 2>& range = mesh.subset_vertices[s];
        for (uint32_t i = sub.first_index;
             i < sub.first_index + sub.index_count && i < indices.size(); ++i) {
            range = {std::min(range[0], indices[i]), std::max(range[1], indices[i])};
        }
    }
    // 16-bit indices where they reach every vertex; one index more than the draws use, so no
    // draw reads up to the end of the buffer.
    mesh.gl_index_size = vertices.size() <= 65536 ? 2 : 4;
    indices.push_back(0);
    std::vector<uint16_t> short_indices;
    if (mesh.gl_index_size == 2) short_indices.assign(indices.begin(), indices.end());
    glGenVertexArrays(1, &mesh.gl_vertex_array);
    glBindVertexArray(mesh.gl_vertex_array);
    glGenBuffers(1, &mesh.gl_vertex_buffer);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.gl_vertex_buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(GlVertex) * vertices.size()),
                 vertices.data(), GL_STATIC_DRAW);
    glGenBuffers(1, &mesh.gl_index_buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.gl_index_buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(mesh.gl_index_size * indices.size()),
                 mesh.gl_index_size == 2 ? static_cast<const void*>(short_indices.data())
                                         : static_cast<const void*>(indices.data()),
                 GL_STATIC_DRAW);
    vertex_layout_set(true);
    glBindVertexArray(g_stream_array);
    glBindBuffer(GL_ARRAY_BUFFER, g_stream_vertices.buffer);
    g_applied.vertex_array = g_stream_array;
    return glGetError() == GL_NO_ERROR;
}

void mesh_release(GpuMesh& mesh) {
    pending_flush();
    if (mesh.gl_index_buffer) glDeleteBuffers(1, &mesh.gl_index_buffer);
    if (mesh.gl_vertex_buffer) glDeleteBuffers(1, &mesh.gl_vertex_buffer);
    if (mesh.gl_vertex_array) {
        if (g_applied.vertex_array == mesh.gl_vertex_array) {
            glBindVertexArray(g_stream_array);
            g_applied.vertex_array = g_stream_array;
        }
        glDeleteVertexArrays(1, &mesh.gl_vertex_array);
    }
    mesh.gl_index_buffer = mesh.gl_vertex_buffer = mesh.gl_vertex_array = 0;
}

void clear(const GpuDrawState&, uint32_t argb, float depth) {
    pending_flush();
    glBindFramebuffer(GL_FRAMEBUFFER, g_framebuffer);
    // The whole target is cleared whatever the viewport; depth writes must be on for it.
    glViewport(0, 0, kBackBufferWidth, kBackBufferHeight);
    g_applied.valid = false;
    glDepthMask(GL_TRUE);
    glClearColor(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f,
                 (argb & 0xFF) / 255.0f, ((argb >> 24) & 0xFF) / 255.0f);
    glClearDepth(depth);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// An empty batch takes the state and blending of the fan that starts it.
void batch_start(const GpuDrawState& s, bool blend) {
    g_batch_state = s;
    g_batch_blend = blend;
    g_batch_white = true;
    g_batch_opaque_area = 0;
}

void draw_fan(const GpuDrawState& s, const void* vertices, int triangles, int stride) {
    const int count = triangles + 2;
    if (count > kBatchVertices) return;
    run_flush();
    // Opaque fans draw the same blended or not. Blending off pays for a draw call of its own
    // only over a large area: small opaque fans join a blended batch, and a see-through fan
    // turns a small unblended batch into a blended one rather than starting another.
    bool blend = s.alpha_blend;
    float opaque_area = 0;
    if (blend && !gpu_reference_drawing_on()) {
        const FanCover cover = fan_cover(s, vertices, count, stride);
        if (cover.opaque) {
            blend = false;
            opaque_area = cover.area;
        }
    }
    const bool fits = g_batch_vertex_count + count <= kBatchVertices &&
                      g_batch_index_count + 3 * triangles <= kBatchIndices &&
                      g_batch_draw_count < kBatchDraws;
    if (g_batch_index_count > 0 && s.version == g_batch_state.version && fits &&
        blend != g_batch_blend) {
        if (g_batch_blend && opaque_area < kUnblendedArea) blend = true;
        if (!g_batch_blend && g_batch_opaque_area < kUnblendedArea) g_batch_blend = true;
    }
    if (g_batch_index_count > 0 &&
        (s.version != g_batch_state.version || blend != g_batch_blend || !fits)) {
        fans_flush();
    }
    if (g_batch_index_count == 0) batch_start(s, blend);
    uint32_t unit = kNoTexture;
    if (!reads_join(g_batch_reads, g_batch_sheet, s.texture, unit)) {
        fans_flush();
        batch_start(s, blend);
        reads_join(g_batch_reads, g_batch_sheet, s.texture, unit);
    }
    if (!g_batch_blend) g_batch_opaque_area += opaque_area;
    if (g_batch_draw_count == 0 ||
        g_batch_draws[g_batch_draw_count - 1].index_count + 3 * triangles > kDrawIndices) {
        g_batch_draws[g_batch_draw_count++] = {g_batch_index_count, 0, g_batch_vertex_count, 0};
    }
    BatchDraw& draw = g_batch_draws[g_batch_draw_count - 1];
    const auto base = static_cast<uint16_t>(g_batch_vertex_count - draw.first_vertex);
    draw.vertex_count += count;
    draw.index_count += 3 * triangles;
    for (int i = 0; i < count; ++i) {
        const ScreenVertex v = gpu_fan_vertex(s.fvf, vertices, stride, i);
        g_batch_white = g_batch_white && v.colour == 0xFFFFFFFFu;
        g_batch_vertices[g_batch_vertex_count++] = {v.x, v.y, v.z, v.rhw, v.colour, v.u, v.v, unit};
    }
    for (int t = 0; t < triangles; ++t) {
        g_batch_indices[g_batch_index_count++] = base;
        g_batch_indices[g_batch_index_count++] = static_cast<uint16_t>(base + t + 1);
        g_batch_indices[g_batch_index_count++] = static_cast<uint16_t>(base + t + 2);
    }
    if (gpu_reference_drawing_on()) fans_flush();
}

// Two draws of a mesh run differ only in material and texture.
bool same_but_material(const GpuDrawState& a, const GpuDrawState& b) {
    return a.fvf == b.fvf && a.alpha_blend == b.alpha_blend && a.depth_test == b.depth_test &&
           a.lighting == b.lighting && std::memcmp(a.world, b.world, sizeof a.world) == 0 &&
           std::memcmp(a.view, b.view, sizeof a.view) == 0 &&
           std::memcmp(a.projection, b.projection, sizeof a.projection) == 0 &&
           std::memcmp(a.viewport, b.viewport, sizeof a.viewport) == 0;
}

void draw_subset(const GpuDrawState& s, GpuMesh& mesh, int subset) {
    fans_flush();
    const bool follows = g_run.count > 0 && g_run.mesh == &mesh && mesh.subsets_joinable &&
                         subset == g_run.first + g_run.count && g_run.count < kRunSubsets &&
                         same_but_material(s, g_run.state);
    uint32_t unit = kNoTexture;
    if (!follows || !reads_join(g_run.reads, g_run.sheet, s.texture, unit)) {
        run_flush();
        g_run.mesh = &mesh;
        g_run.first = subset;
        g_run.state = s;
        g_run.reads = Reads::Nothing;
        g_run.opaque = !gpu_reference_drawing_on();
        reads_join(g_run.reads, g_run.sheet, s.texture, unit);
    }
    g_run.opaque = g_run.opaque && subset_opaque(s, mesh, subset);
    const int i = g_run.count++;
    g_run.units[i] = unit;
    const GpuMaterial& m = s.material;
    g_run.colours[i][0] = clamp01(m.emissive.r);
    g_run.colours[i][1] = clamp01(m.emissive.g);
    g_run.colours[i][2] = clamp01(m.emissive.b);
    g_run.colours[i][3] = clamp01(m.diffuse.a);
    // The run's state is its first subset's; a later subset's material is in the run.
    if (gpu_reference_drawing_on() || !mesh.subsets_joinable) run_flush();
}

bool frame_read(uint32_t* argb) {
    pending_flush();
    static uint32_t rows[kBackBufferWidth * kBackBufferHeight];
    glBindFramebuffer(GL_READ_FRAMEBUFFER, g_framebuffer);
    glReadPixels(0, 0, kBackBufferWidth, kBackBufferHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                 rows);
    if (glGetError() != GL_NO_ERROR) return false;
    // OpenGL's rows run bottom-up; the back buffer has no alpha to show.
    for (int y = 0; y < kBackBufferHeight; ++y) {
        const uint32_t* src = rows + (kBackBufferHeight - 1 - y) * kBackBufferWidth;
        uint32_t* dst = argb + y * kBackBufferWidth;
        for (int x = 0; x < kBackBufferWidth; ++x) dst[x] = src[x] | 0xFF000000u;
    }
    return true;
}

// A row of the frame as a window stores it: red and blue change places, and the frame has no
// alpha to show.
void row_as_window(const uint32_t* __restrict abgr, uint32_t* __restrict argb) {
    for (int x = 0; x < kBackBufferWidth; ++x) {
        const uint32_t c = abgr[x];
        argb[x] = 0xFF000000u | (c & 0xFF00u) | (c & 0xFFu) << 16 | (c >> 16 & 0xFFu);
    }
}

// The frame scaled by `scale` into the copy's picture, whose rows run from the top (a window
// stores them so, the frame from the bottom). False if the device cannot hold the picture:
// the driver's blit presents from then on.
bool present_copy_fill(int scale) {
    PresentCopy& p = g_present;
    const int w = kBackBufferWidth * scale, h = kBackBufferHeight * scale;
    if (!p.texture) glGenTextures(1, &p.texture);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, p.texture);
    g_applied.sheet = p.texture;
    if (p.width != w || p.height != h) {
        if (!p.framebuffer) glGenFramebuffers(1, &p.framebuffer);
        // Given as B, G, R, A words, the texels are stored that way, as windows store theirs.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, p.framebuffer);
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, p.texture,
                               0);
        const bool complete =
            glCheckFramebufferStatus(GL_READ_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        if (glGetError() != GL_NO_ERROR || !complete) {
            p.width = p.height = 0;
            p.on = false;
            return false;
        }
        p.width = w;
        p.height = h;
        p.frame.resize(static_cast<size_t>(kBackBufferWidth) * kPresentBand);
        p.shown.resize(static_cast<size_t>(w) * kPresentBand * scale);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, g_framebuffer);
    // A band at a time, so that much of it is still in the cache from reading to uploading.
    // Read in the frame's own order (R, G, B, A bytes in memory), it is copied as it lies.
    for (int band = 0; band < kBackBufferHeight; band += kPresentBand) {
        glReadPixels(0, band, kBackBufferWidth, kPresentBand, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     p.frame.data());
        for (int b = 0; b < kPresentBand; ++b) {
            uint32_t* row = p.shown.data() + static_cast<size_t>(kPresentBand - 1 - b) * scale * w;
            row_as_window(p.frame.data() + b * kBackBufferWidth, row);
            // Widened in place from the right, then repeated downwards.
            for (int x = kBackBufferWidth - 1; scale > 1 && x >= 0; --x) {
                for (int k = scale - 1; k >= 0; --k) row[x * scale + k] = row[x];
            }
            for (int k = 1; k < scale; ++k) std::memcpy(row + k * w, row, sizeof(uint32_t) * w);
        }
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, (kBackBufferHeight - band - kPresentBand) * scale, w,
                        kPresentBand * scale, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, p.shown.data());
    }
    return glGetError() == GL_NO_ERROR;
}

// The picture scaled to fit a window-sized target of w x h with its aspect kept, bars black.
void present_to(GLuint target, int w, int h) {
    int dw = w, dh = w * kBackBufferHeight / kBackBufferWidth;
    if (dh > h) {
        dh = h;
        dw = h * kBackBufferWidth / kBackBufferHeight;
    }
    const int dx = (w - dw) / 2, dy = (h - dh) / 2;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, g_framebuffer);
    glViewport(0, 0, w, h);
    // Bars only where the picture leaves some.
    if (dw != w || dh != h) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // A whole multiple of the picture (the window) keeps its pixels sharp; other sizes (full
    // screen on most displays) are smoothed.
    const bool whole = dw % kBackBufferWidth == 0 && dh % kBackBufferHeight == 0;
    if (whole && g_present.on && present_copy_fill(dw / kBackBufferWidth)) {
        // The copy's rows are the window's, so taken upside down they come across unturned.
        glBindFramebuffer(GL_READ_FRAMEBUFFER, g_present.framebuffer);
        glBlitFramebuffer(0, dh, dw, 0, dx, dy, dx + dw, dy + dh, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    } else {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, g_framebuffer);
        glBlitFramebuffer(0, 0, kBackBufferWidth, kBackBufferHeight, dx, dy, dx + dw, dy + dh,
                          GL_COLOR_BUFFER_BIT, whole ? GL_NEAREST : GL_LINEAR);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, g_framebuffer);
    g_applied.valid = false;
}

bool present() {
    pending_flush();
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(g_window, &w, &h);
    present_to(0, w, h);
    SDL_GL_SwapWindow(g_window);
    g_last_frame_calls = g_frame_calls;
    g_frame_calls = 0;
    return true;
}

int draw_calls_last_frame() {
    return g_last_frame_calls;
}

void finish() {
    pending_flush();
    glFinish();
}

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

void gpu_opengl_present_by_copy(bool on) {
    g_present.on = on;
}

void gpu_opengl_persistent_streams(bool allowed) {
    g_streams_may_stay_mapped = allowed;
}

int gpu_opengl_orphaned_releases() {
    return g_orphaned_releases;
}

bool gpu_opengl_presented_read(int width, int height, uint32_t* argb) {
    if (!g_context || width <= 0 || height <= 0) return false;
    pending_flush();
    GLuint target = 0, colour = 0;
    glGenFramebuffers(1, &target);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (ok) {
        present_to(target, width, height);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, target);
        std::vector<uint32_t> rows(static_cast<size_t>(width) * height);
        glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
        ok = glGetError() == GL_NO_ERROR;
        // OpenGL's rows run bottom-up.
        for (int y = 0; ok && y < height; ++y) {
            std::copy_n(rows.data() + static_cast<size_t>(height - 1 - y) * width, width,
                        argb + static_cast<size_t>(y) * width);
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, g_framebuffer);
    glDeleteRenderbuffers(1, &colour);
    glDeleteFramebuffers(1, &target);
    return ok;
}

const GpuBackendOps& gpu_opengl_ops() {
    return kOps;
}

}  // namespace tessaly::platform
