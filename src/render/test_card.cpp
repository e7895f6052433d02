#include "render/test_card.hpp"

#include "app/task_pool.hpp"
#include "render/numbers.hpp"
#include "render/primitives.hpp"
#include "render/sprites.hpp"
#include "render/transforms.hpp"

namespace tessaly {
namespace {

constexpr int kKindTestCard = 2990;
constexpr Vec3 kLookAt = {0.0f, 1.0f, 0.0f};
constexpr Vec3 kEye = {0.0f, 3.0f, -8.0f};

struct TestCard {
    int32_t alive;
    float spin;
};

void test_card_update(Task* t) {
    TestCard& card = task_record<TestCard>(t);
    card.spin += 2.0f;
    camera_set(kLookAt, kEye);
    frustum_update();
}

void floor_draw() {
    world_transform_identity();
    QuadVertex q[4];
    constexpr float kHalf = 3.0f;
    quad_vertex_set(q[0], -kHalf, 0.0f, kHalf, 0.0f, 0.0f);
    quad_vertex_set(q[1], kHalf, 0.0f, kHalf, 3.0f, 0.0f);
    quad_vertex_set(q[2], kHalf, 0.0f, -kHalf, 3.0f, 3.0f);
    quad_vertex_set(q[3], -kHalf, 0.0f, -kHalf, 0.0f, 3.0f);
    quad_draw(q, kColourOpaque, texture_slot(0));
}

void test_card_draw(Task* t) {
    TestCard& card = task_record<TestCard>(t);
    // 3D first: the sprites after it write depth 0 and would hide it.
    floor_draw();
    Matrix world;
    float facing = 270.0f + card.spin;
    world_yaw(world, Vec3{-1.2f, 0.0f, 0.0f}, facing);
    mesh_draw(mesh_record(0), world);
    float facing2 = 250.0f;
    world_yaw_roll_pitch(world, Vec3{1.4f, 0.0f, 0.5f}, facing2, 0.0f, 15.0f);
    mesh_draw(mesh_record(12), world);
    sphere_draw(sphere_small(), Vec3{0.3f, 0.6f, -2.0f});
    sphere_draw(sphere_large(), Vec3{7.0f, -2.0f, 25.0f});

    // The title picture scaled down, and the first page of the second sheet.
    sprite_draw_rect(Rect{8, 8, 168, 128}, Rect{642, 0, 1282, 480}, kAtlasWidth, kAtlasHeight,
                     kColourOpaque, atlas_texture());
    sprite_draw_rect(Rect{8, 136, 168, 256}, Rect{0, 513, 640, 993}, kSecondWidth, kSecondHeight,
                     kColourOpaque, second_texture());
    // Numbers in both fonts.
    const float w = number_draw_large(184, 8, 1234567);
    number_draw_small(184 + w + 8, 12, 890);
    number_draw(184, 36, 42, 2.0f, DigitFont::Large);
    // A panel with a translucent inside, and the same sprite plain, half transparent,
    // red-tinted and mirrored.
    panel_draw(184, 88, Rect{1060, 1226, 1260, 1253}, kColourTranslucent);
    const Rect cell{1926, 68, 1958, 100};
    atlas_draw(400, 8, cell);
    atlas_draw(440, 8, cell, 0x80FFFFFF);
    atlas_draw(480, 8, cell, 0xFFFF0000);
    sprite_draw_rect(Rect{552, 8, 520, 40}, cell, kAtlasWidth, kAtlasHeight, kColourOpaque,
                     atlas_texture());
    sprite_draw_rect(Rect{560, 8, 624, 72}, cell, kAtlasWidth, kAtlasHeight, kColourOpaque,
                     atlas_texture());
    // The key-help strip along the bottom.
    atlas_draw(0, 464, Rect{0, 1246, 640, 1262}, kColourTranslucent);
}

}  // namespace

int test_card_create() {
    Task* t = task_alloc_at(kSlotTitle);
    if (!t) return 0;
    task_start(t, kKindTestCard, &test_card_update, &test_card_draw);
    TestCard& card = task_record<TestCard>(t);
    card.alive = 1;
    card.spin = 0.0f;
    return 1;
}

}  // namespace tessaly
