#pragma once
// The board camera: a task (kind 1000, slot 199) that orbits its look-at point at a fixed
// distance and height, follows the player on turn and passes the turn on with a pan.
#include <cstdint>

#include "render/matrix.hpp"

namespace tessaly {

struct Task;
struct PlayerRecord;
struct CameraRecord;

using CameraStep = void (*)(CameraRecord&);

constexpr float kCameraDistance = 20.0f;
constexpr int kTurnPassWait = 50;

struct CameraRecord {
    int32_t alive;
    Vec3 eye;  // eye y is the camera height and never changes
    Vec3 target;
    float angle;  // from the target to the eye in the x-z plane, degrees
    int32_t zero;
    int32_t pan_steps;  // half-unit steps left in the current pan
    int32_t countdown;
    CameraStep behaviour;
    PlayerRecord* followed;
};

// Camera behaviours; other code compares the behaviour with these.
void camera_follow(CameraRecord& c);
void camera_hold_target(CameraRecord& c);
void camera_wait(CameraRecord& c);
void camera_pan_x(CameraRecord& c);
void camera_move_east(CameraRecord& c);  // + x
void camera_move_west(CameraRecord& c);  // - x
void camera_pan_z(CameraRecord& c);
void camera_move_north(CameraRecord& c);  // + z
void camera_move_south(CameraRecord& c);  // - z
void camera_arrive(CameraRecord& c);
void camera_skip_wait(CameraRecord& c);

// 0 if a camera exists or slot 199 is taken.
int camera_create(float x, float y, float z, float angle, float eye_height, PlayerRecord* followed);
// Holds the target on the followed player's cell until its turn is over.
void camera_hold();
// The live camera's record, or null.
CameraRecord* camera_find();
// Turn ranks from the followed player and the hidden flag of every live player.
void camera_rank_players(const CameraRecord& c);

void camera_update(Task* t);
void camera_draw(Task* t);

}  // namespace tessaly
