// Frames drawn by the OpenGL device and read back (SDL's offscreen driver with Mesa).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/asset_pack.hpp"
#include "app/task_pool.hpp"
#include "platform/gpu.hpp"
#include "platform/window.hpp"
#include "render/device.hpp"
#include "render/primitives.hpp"
#include "render/sprites.hpp"
#include "render/transforms.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

constexpr int kW = platform::kBackBufferWidth;
constexpr int kH = platform::kBackBufferHeight;
constexpr float kSheet = 16.0f;

// A 16 x 16 atlas of distinct opaque colours, none of them pure green.
std::vector<uint32_t> atlas_texels() {
    std::vector<uint32_t> t(16 * 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            t[y * 16 + x] = 0xFF000000u | static_cast<uint32_t>(x * 16 + 3) << 16 |
                            static_cast<uint32_t>(y * 16 + 5) << 8 |
                            static_cast<uint32_t>((x * 7 + y * 11) & 0xFF);
        }
    }
    return t;
}

uint32_t slot_colour(int n) {
    return 0xFF000000u | static_cast<uint32_t>(n * 10) << 8 | static_cast<uint32_t>(255 - n);
}

struct OpenGlFrame : ::testing::Test {
    std::vector<uint32_t> frame = std::vector<uint32_t>(kW * kH);
    std::vector<uint32_t> atlas = atlas_texels();

    void SetUp() override {
        ASSERT_TRUE(platform::window_create("Tessaly test", "KORVIN"));
        test::PackEntries e = test::pack_entries_small();
        e[kEntryAtlas] = test::png_bytes(16, 16, atlas);
        e[kEntrySecondSheet] = test::png_filled(4, 4, 0xFFFFFFFF);
        // Slot 0 white, slot 1 pure blue, slot 2 a key texel beside a near-green one.
        e[kEntryTextureSlots] = test::png_filled(4, 4, 0xFFFFFFFF);
        e[kEntryTextureSlots + 1] = test::png_filled(4, 4, 0xFF0000FF);
        e[kEntryTextureSlots + 2] = test::png_bytes(2, 1, {0xFF00FF00, 0xFF00FE00});
        for (int n = 3; n < 24; ++n)
            e[kEntryTextureSlots + n] = test::png_filled(2, 2, slot_colour(n));
        // Mesh 0: a wide untextured square at z = 0 with emissive (0.5, 0.25, 0).
        e[kEntryMeshes] = test::bytes_of(test::x_mesh(
            {-10, -10, 0, 10, -10, 0, 10, 10, 0, -10, 10, 0}, {0, 1, 2, 0, 2, 3}, {""}));
        test::pack_use(e);
        graphics_backend_select(platform::GpuBackend::OpenGL);
        ASSERT_EQ(graphics_start(), 1);
        platform::gpu_clear(kClearColour, kClearDepth);
    }
    void TearDown() override {
        graphics_release();
        pack_release();
        platform::window_destroy();
        platform::quit_reset();
    }
    uint32_t at(int x, int y) const { return frame[y * kW + x]; }
    void read() { ASSERT_TRUE(platform::gpu_frame_read(frame.data())); }
    void sprite(float x, float y, const Rect& src, uint32_t colour = kColourOpaque) {
        sprite_draw(x, y, src, kSheet, kSheet, colour, atlas_texture());
    }
    void fill(Texture* t, uint32_t colour = kColourOpaque) {
        sprite_draw_rect(Rect{0, 0, 640, 480}, Rect{0, 0, 1, 1}, 4, 4, colour, t);
    }
};

int channel(uint32_t c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

TEST_F(OpenGlFrame, ClearIsOpaqueBlack) {
    read();
    EXPECT_EQ(at(0, 0), 0xFF000000u);
    EXPECT_EQ(at(639, 479), 0xFF000000u);
}

TEST_F(OpenGlFrame, SpriteAtItsOwnSizeCopiesTheTexelsExactly) {
    sprite(100, 50, Rect{2, 3, 12, 11});
    read();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            ASSERT_EQ(at(100 + x, 50 + y), atlas[(3 + y) * 16 + 2 + x]) << x << "," << y;
        }
    }
    EXPECT_EQ(at(99, 50), 0xFF000000u);
    EXPECT_EQ(at(110, 50), 0xFF000000u);
    EXPECT_EQ(at(100, 49), 0xFF000000u);
    EXPECT_EQ(at(100, 58), 0xFF000000u);
}

TEST_F(OpenGlFrame, StretchedDestinationRepeatsEachTexel) {
    sprite_draw_rect(Rect{0, 0, 20, 20}, Rect{0, 0, 10, 10}, kSheet, kSheet, kColourOpaque,
                     atlas_texture());
    read();
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(at(x, y), atlas[(y / 2) * 16 + x / 2]) << x << "," << y;
    }
}

TEST_F(OpenGlFrame, ReversedDestinationMirrorsTheTexels) {
    sprite_draw_rect(Rect{210, 0, 200, 10}, Rect{0, 0, 10, 10}, kSheet, kSheet, kColourOpaque,
                     atlas_texture());
    read();
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(at(200 + x, y), atlas[y * 16 + 9 - x]) << x << "," << y;
    }
}

TEST_F(OpenGlFrame, HalfAlphaBlendsHalfwayOverWhatIsThere) {
    fill(texture_slot(1));
    fill(texture_slot(0), 0x80FFFFFF);
    read();
    const uint32_t c = at(320, 240);
    // 128 / 255 of white over blue.
    EXPECT_NEAR(channel(c, 16), 128, 1);
    EXPECT_NEAR(channel(c, 8), 128, 1);
    EXPECT_EQ(channel(c, 0), 255);
}

TEST_F(OpenGlFrame, OpaqueRedKeepsOnlyTheRedChannel) {
    sprite(0, 0, Rect{0, 0, 16, 16}, 0xFFFF0000);
    read();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(at(i, i), (atlas[i * 16 + i] & 0xFFFF0000u)) << i;
    }
}

TEST_F(OpenGlFrame, KeyedGreenIsTransparentAndNearGreenIsNot) {
    fill(texture_slot(1));
    sprite_draw(300, 200, Rect{0, 0, 2, 1}, 2, 1, kColourOpaque, texture_slot(2));
    read();
    EXPECT_EQ(at(300, 200), 0xFF0000FFu);
    EXPECT_EQ(at(301, 200), 0xFF00FE00u);
}

TEST_F(OpenGlFrame, UntexturedMeshShowsItsEmissiveColour) {
    camera_set(Vec3{0, 0, 0}, Vec3{0, 0, -5});
    Matrix world;
    mesh_draw(mesh_record(0), matrix_identity(world));
    read();
    const uint32_t c = at(320, 240);
    EXPECT_NEAR(channel(c, 16), 128, 1);
    EXPECT_NEAR(channel(c, 8), 64, 1);
    EXPECT_EQ(channel(c, 0), 0);
}

TEST_F(OpenGlFrame, SpriteDepthHidesAMeshDrawnLater) {
    camera_set(Vec3{0, 0, 0}, Vec3{0, 0, -5});
    sprite(10, 10, Rect{0, 0, 16, 16});
    Matrix world;
    mesh_draw(mesh_record(0), matrix_identity(world));
    read();
    EXPECT_EQ(at(15, 15), atlas[5 * 16 + 5]);
    EXPECT_NE(at(40, 40), 0xFF000000u);
    EXPECT_NE(at(40, 40), at(15, 15));
}

TEST_F(OpenGlFrame, SpheresShowTheirVertexColour) {
    camera_set(Vec3{0, 0, 0}, Vec3{0, 0, -20});
    sphere_draw(sphere_large(), Vec3{0, 0, 0});
    sphere_draw(sphere_small(), Vec3{0, 0, -10});
    read();
    EXPECT_EQ(at(320, 240), 0xFFFFFF00u);
    EXPECT_EQ(at(320, 140), 0xFFFF0000u);
    EXPECT_EQ(at(5, 5), 0xFF000000u);
}

TEST_F(OpenGlFrame, QuadInFrontOfTheCameraIsTextured) {
    camera_set(Vec3{0, 0, 0}, Vec3{0, 0, -5});
    world_transform_identity();
    QuadVertex q[4];
    quad_vertex_set(q[0], -10, 10, 1, 0, 0);
    quad_vertex_set(q[1], 10, 10, 1, 1, 0);
    quad_vertex_set(q[2], 10, -10, 1, 1, 1);
    quad_vertex_set(q[3], -10, -10, 1, 0, 1);
    quad_draw(q, kColourOpaque, texture_slot(1));
    read();
    EXPECT_EQ(at(320, 240), 0xFF0000FFu);
}

TEST_F(OpenGlFrame, BatchedSpritesKeepTheirOrder) {
    // Three overlapping sprites, the middle one from another texture: the last one drawn
    // must end on top, however the device groups them.
    fill(texture_slot(0));
    sprite_draw(50, 50, Rect{0, 0, 4, 4}, 4, 4, kColourOpaque, texture_slot(1));
    sprite(50, 50, Rect{0, 0, 4, 4});
    read();
    EXPECT_EQ(at(51, 51), atlas[1 * 16 + 1]);
    EXPECT_EQ(at(100, 100), 0xFFFFFFFFu);
}

TEST_F(OpenGlFrame, MoreTexturesThanUnitsInARowEachDrawTheirOwn) {
    for (int n = 3; n < 24; ++n) {
        sprite_draw(static_cast<float>(n * 10), 300, Rect{0, 0, 2, 2}, 2, 2, kColourOpaque,
                    texture_slot(n));
    }
    sprite(0, 300, Rect{0, 0, 4, 4});
    read();
    for (int n = 3; n < 24; ++n) EXPECT_EQ(at(n * 10 + 1, 301), slot_colour(n)) << n;
    EXPECT_EQ(at(1, 301), atlas[1 * 16 + 1]);
}

TEST_F(OpenGlFrame, SpritesSharingStateAreDrawnTogether) {
    platform::gpu_present();
    platform::gpu_clear(kClearColour, kClearDepth);
    for (int i = 0; i < 100; ++i) sprite(static_cast<float>(i * 6), 0, Rect{0, 0, 4, 4});
    platform::gpu_present();
    EXPECT_EQ(platform::gpu_draw_calls_last_frame(), 1);
}

// Sprite i of a frame: one atlas texel, picked by i and the frame, stretched over 4 x 4
// pixels, in rows of 80 sprites 8 pixels apart.
struct TexelSprites {
    const std::vector<uint32_t>& atlas;
    static Rect texel(int i, int frame) {
        const int n = (i + frame * 7) % 256;
        const auto x = static_cast<float>(n % 16), y = static_cast<float>(n / 16);
        return Rect{x, y, x + 1, y + 1};
    }
    static void draw(int count, int frame) {
        for (int i = 0; i < count; ++i) {
            const auto x = static_cast<float>(i % 80 * 8), y = static_cast<float>(i / 80 * 8);
            sprite_draw_rect(Rect{x, y, x + 4, y + 4}, texel(i, frame), kSheet, kSheet,
                             kColourOpaque, atlas_texture());
        }
    }
    uint32_t colour(int i, int frame) const {
        const Rect t = texel(i, frame);
        return atlas[static_cast<size_t>(t.top) * 16 + static_cast<size_t>(t.left)];
    }
};

TEST_F(OpenGlFrame, ABatchTooBigForOneDrawKeepsEveryQuad) {
    // 2,000 quads of one state are 12,000 indices: more than one draw call takes.
    const TexelSprites sprites{atlas};
    platform::gpu_present();
    platform::gpu_clear(kClearColour, kClearDepth);
    sprites.draw(2000, 0);
    read();
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(at(i % 80 * 8 + 1, i / 80 * 8 + 2), sprites.colour(i, 0)) << i;
        ASSERT_EQ(at(i % 80 * 8 + 5, i / 80 * 8 + 2), 0xFF000000u) << i;
    }
    platform::gpu_present();
    EXPECT_EQ(platform::gpu_draw_calls_last_frame(), 3);
}

// Many frames of many quads go round the stream buffers several times; every frame shows
// its own quads, with the buffers kept mapped and with each batch mapping its own range.
TEST_F(OpenGlFrame, FramesGoingRoundTheStreamBuffersShowTheirOwnQuads) {
    const TexelSprites sprites{atlas};
    for (const bool persistent : {true, false}) {
        graphics_release();
        platform::gpu_opengl_persistent_streams(persistent);
        ASSERT_EQ(graphics_start(), 1);
        platform::gpu_opengl_persistent_streams(true);
        for (int frame = 0; frame < 36; ++frame) {
            platform::gpu_clear(kClearColour, kClearDepth);
            sprites.draw(3000, frame);
            read();
            for (const int i : {0, 1499, 2999}) {
                ASSERT_EQ(at(i % 80 * 8 + 2, i / 80 * 8 + 1), sprites.colour(i, frame))
                    << "persistent " << persistent << " frame " << frame << " sprite " << i;
            }
            platform::gpu_present();
        }
    }
}

// A mesh with more vertices than 16-bit indices reach draws its last triangles, made of the
// highest vertices, where they belong: first 21,846 triangles far to the side of the view,
// then the square of mesh 0 in front of the camera.
TEST_F(OpenGlFrame, MeshBeyondSixteenBitIndicesDrawsItsLastTriangles) {
    graphics_release();
    pack_release();
    std::vector<float> positions;
    std::vector<int> triangles;
    for (int t = 0; t < 21846; ++t) {
        const auto x = static_cast<float>(1000 + 3 * t);
        positions.insert(positions.end(), {x, 0, 0, x + 1, 1, 0, x + 2, 0, 1});
        triangles.insert(triangles.end(), {3 * t, 3 * t + 1, 3 * t + 2});
    }
    const int base = static_cast<int>(positions.size() / 3);
    ASSERT_GT(base, 65536);
    positions.insert(positions.end(), {-10, -10, 0, 10, -10, 0, 10, 10, 0, -10, 10, 0});
    triangles.insert(triangles.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
    test::PackEntries e = test::pack_entries_small();
    e[kEntryMeshes] = test::bytes_of(test::x_mesh(positions, triangles, {""}));
    test::pack_use(e);
    ASSERT_EQ(graphics_start(), 1);
    platform::gpu_clear(kClearColour, kClearDepth);
    camera_set(Vec3{0, 0, 0}, Vec3{0, 0, -5});
    Matrix world;
    mesh_draw(mesh_record(0), matrix_identity(world));
    read();
    for (const int y : {2, kH / 2, kH - 3}) {
        const uint32_t c = at(kW / 2, y);
        EXPECT_NEAR(channel(c, 16), 128, 1) << y;
        EXPECT_NEAR(channel(c, 8), 64, 1) << y;
    }
}

// Texels read back from a sheet and from a tile-sized texture (a layer of the array) are the
// ones uploaded, row 0 at the top; a rectangle reaching outside is refused.
TEST_F(OpenGlFrame, PresentedWindowsShowEachPixelAtWholeMultiplesWithBlackBars) {
    // Every texel of the atlas somewhere, and a frame corner to corner.
    sprite_draw_rect(Rect{0, 0, 640, 480}, Rect{0, 0, 16, 16}, kSheet, kSheet, kColourOpaque,
                     atlas_texture());
    sprite(0, 0, Rect{1, 1, 2, 2});
    sprite(639, 479, Rect{14, 14, 15, 15});
    read();
    struct Window {
        int width, height, scale, left, top;
    };
    // The window itself, twice its size, and wider than twice with bars left and right; by the
    // driver's blit and by the copy through the CPU, sizes changing between presents.
    for (const bool by_copy : {false, true}) {
        platform::gpu_opengl_present_by_copy(by_copy);
        for (const Window w :
             {Window{640, 480, 1, 0, 0}, Window{1280, 960, 2, 0, 0}, Window{1400, 960, 2, 60, 0},
              Window{1920, 1500, 3, 0, 30}, Window{640, 480, 1, 0, 0}}) {
            std::vector<uint32_t> shown(static_cast<size_t>(w.width) * w.height);
            ASSERT_TRUE(platform::gpu_opengl_presented_read(w.width, w.height, shown.data()));
            int wrong = 0;
            for (int y = 0; y < w.height; ++y) {
                for (int x = 0; x < w.width; ++x) {
                    const int px = x - w.left, py = y - w.top;
                    const bool inside =
                        px >= 0 && py >= 0 && px < kW * w.scale && py < kH * w.scale;
                    const uint32_t want = inside ? at(px / w.scale, py / w.scale) : 0xFF000000u;
                    if ((shown[static_cast<size_t>(y) * w.width + x] | 0xFF000000u) != want)
                        ++wrong;
                }
            }
            EXPECT_EQ(wrong, 0) << w.width << " x " << w.height << (by_copy ? " copied" : "");
        }
    }
    // Presenting leaves the device's state as the next frame needs it.
    sprite(100, 50, Rect{2, 3, 12, 11});
    read();
    EXPECT_EQ(at(100, 50), atlas[3 * 16 + 2]);
}

TEST_F(OpenGlFrame, TexelsReadBackAreTheOnesUploaded) {
    uint32_t got[5 * 4] = {};
    ASSERT_TRUE(platform::gpu_texture_read(atlas_texture(), 2, 3, 5, 4, got));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(got[y * 5 + x], atlas[(3 + y) * 16 + 2 + x]);
    }
    EXPECT_FALSE(platform::gpu_texture_read(atlas_texture(), 12, 0, 5, 1, got));
    EXPECT_FALSE(platform::gpu_texture_read(atlas_texture(), 0, -1, 1, 1, got));
    platform::Image tile;
    tile.width = tile.height = 64;
    for (uint32_t i = 0; i < 64 * 64; ++i) tile.argb.push_back(0xFF000000u | i * 97);
    platform::GpuTexture* t = platform::gpu_texture_create(tile);
    ASSERT_NE(t, nullptr);
    uint32_t row[3] = {};
    ASSERT_TRUE(platform::gpu_texture_read(t, 10, 40, 3, 1, row));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(row[x], tile.argb[40 * 64 + 10 + x]);
    platform::gpu_texture_release(t);
}

TEST_F(OpenGlFrame, SixteenBitDepthStartsAndDraws) {
    graphics_release();
    ASSERT_EQ(graphics_start(DisplaySettings{true, false, false}), 1);
    platform::gpu_clear(kClearColour, kClearDepth);
    camera_set(Vec3{0, 0, 0}, Vec3{0, 0, -5});
    sprite(10, 10, Rect{0, 0, 16, 16});
    Matrix world;
    mesh_draw(mesh_record(0), matrix_identity(world));
    read();
    EXPECT_EQ(at(15, 15), atlas[5 * 16 + 5]);
}

void card_draw(Task*) {
    sprite_draw(0, 0, Rect{0, 0, 16, 16}, kSheet, kSheet, kColourOpaque, atlas_texture());
}

TEST_F(OpenGlFrame, CapturedFrameIsWrittenAsPng) {
    ASSERT_TRUE(pool_create());
    Task* t = task_alloc_at(7);
    task_start(t, kKindTitle, nullptr, &card_draw);
    const char* path = "opengl-capture-test.png";
    ASSERT_TRUE(render_capture_next(path));
    render_frame();
    pool_destroy();
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::remove(path);
    platform::Image img;
    ASSERT_TRUE(platform::image_decode(bytes.data(), bytes.size(), img));
    ASSERT_EQ(img.width, kW);
    ASSERT_EQ(img.height, kH);
    EXPECT_EQ(img.argb[3 * kW + 4], atlas[3 * 16 + 4]);
    EXPECT_EQ(img.argb[100 * kW + 100], 0xFF000000u);
}

TEST_F(OpenGlFrame, RecreationAfterASettingChangeDrawsAgain) {
    ASSERT_TRUE(graphics_recreate(DisplaySettings{false, true, true}));
    ASSERT_TRUE(graphics_ready());
    ASSERT_TRUE(graphics_recreate(kDisplayDefaults));
    ASSERT_TRUE(graphics_ready());
    platform::gpu_clear(kClearColour, kClearDepth);
    sprite(0, 0, Rect{0, 0, 16, 16});
    read();
    EXPECT_EQ(at(7, 7), atlas[7 * 16 + 7]);
}

}  // namespace
}  // namespace tessaly
