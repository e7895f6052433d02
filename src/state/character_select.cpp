#include "state/character_select.hpp"

#include "app/keys.hpp"
#include "render/primitives.hpp"
#include "render/transforms.hpp"
#include "scene/backdrop.hpp"
#include "sound/sound.hpp"
#include "state/new_game.hpp"

namespace tessaly {
namespace {

constexpr Vec3 kLookAt = {0, 0, 0};
constexpr Vec3 kEye = {0, 10, -40};
constexpr Rect kHeading = {0, 845, 317, 876};
constexpr float kHeadingY = 50;
constexpr float kNameY = 400;
// The four members stand side by side, facing the viewer.
constexpr float kMemberOffsetX[kMembersPerPlayer] = {-3, -1, 1, 3};
constexpr float kMemberFacing = 270;
constexpr int32_t kTurnStep = 10;
constexpr int32_t kFullTurn = 360;
constexpr float kWheelRadius = 10;
constexpr int32_t kRestAngles[kCharacterCount] = {270, 30, 150};
constexpr Rect kNameRects[kCharacterCount] = {
    {0, 878, 290, 910}, {0, 912, 260, 944}, {0, 946, 233, 978}};

bool at_rest_angle(int32_t angle) {
    for (int32_t a : kRestAngles) {
        if (angle == a) return true;
    }
    return false;
}

void turn_all(CharacterSelectRecord& r, int32_t step) {
    for (WheelEntry& e : r.entries) e.turn_step = step;
}

}  // namespace

Vec3 wheel_point(int32_t angle) {
    Vec3 p{0, 0, 0};
    direction_offset(p.x, p.z, 0, 0, static_cast<float>(angle), kWheelRadius);
    return p;
}

int character_select_open() {
    Task* t = task_alloc_in_range(kSlotSelectWheel, kSlotSelectWheel + 1);
    if (!t) return 0;
    task_start(t, 0, &select_update, &select_draw);
    CharacterSelectRecord& r = task_record<CharacterSelectRecord>(t);
    r.alive = 1;
    r.step = &select_first_frame;
    for (int i = 0; i < kCharacterCount; ++i) {
        WheelEntry& e = r.entries[i];
        e.character_id = i;
        e.angle = kRestAngles[i];
        e.turn_step = 0;
        e.name_rect = kNameRects[i];
        e.position = wheel_point(e.angle);
    }
    return 1;
}

void select_first_frame(CharacterSelectRecord& r) {
    r.step = &select_wait;
}

void select_wait(CharacterSelectRecord& r) {
    if (key_pressed(kKeyRight)) {
        turn_all(r, kTurnStep);
        sound_request(kSoundCursor, 0);
        r.step = &select_turn;
    } else if (key_pressed(kKeyLeft)) {
        turn_all(r, -kTurnStep);
        sound_request(kSoundCursor, 0);
        r.step = &select_turn;
    } else if (key_confirm()) {
        sound_request(kSoundCursor, 0);
        if (!at_rest_angle(r.entries[0].angle)) return;
        int32_t chosen = r.entries[0].character_id;
        for (const WheelEntry& e : r.entries) {
            if (e.angle == kWheelFront) chosen = e.character_id;
        }
        // new_game ends every task, this scene included.
        new_game(chosen);
    }
}

void select_turn(CharacterSelectRecord& r) {
    for (WheelEntry& e : r.entries) {
        e.angle += e.turn_step;
        // 360 itself stays 360.
        if (e.angle > kFullTurn) e.angle -= kFullTurn;
        if (e.angle < 0) e.angle += kFullTurn;
    }
    if (at_rest_angle(r.entries[0].angle)) {
        turn_all(r, 0);
        r.step = &select_wait;
    }
}

void select_update(Task* t) {
    CharacterSelectRecord& r = task_record<CharacterSelectRecord>(t);
    camera_set(kLookAt, kEye);
    r.step(r);
    // A new game has ended the scene; its slot is no longer ours to write.
    if (!t->in_use) return;
    // The angle moves twice per frame: once in select_turn, once after placing.
    for (WheelEntry& e : r.entries) {
        e.position = wheel_point(e.angle);
        e.angle += e.turn_step;
    }
    if (r.alive == 0) t->in_use = 0;
}

void select_draw(Task* t) {
    const CharacterSelectRecord& r = task_record<CharacterSelectRecord>(t);
    backdrop_fill_flat(kBackdropCell);
    for (const WheelEntry& e : r.entries) {
        for (int k = 0; k < kMembersPerPlayer; ++k) {
            const MemberData& member = kMemberData[member_data_row(e.character_id, k)];
            const Vec3 at = {e.position.x + kMemberOffsetX[k], e.position.y, e.position.z};
            float facing = kMemberFacing;
            Matrix world;
            world_yaw(world, at, facing);
            mesh_draw(mesh_record(member.mesh), world);
        }
        if (e.angle == kWheelFront) {
            atlas_draw_centered(e.name_rect, kNameY);
        }
    }
    atlas_draw_centered(kHeading, kHeadingY);
}

}  // namespace tessaly
