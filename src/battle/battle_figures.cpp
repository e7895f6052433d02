// The figures of the battle stage: combatants and their six attack styles, orbs and props.
#include <cmath>

#include "app/task_pool.hpp"
#include "battle/battle_stage.hpp"
#include "field/players.hpp"
#include "field/walking.hpp"
#include "render/primitives.hpp"
#include "render/textures.hpp"
#include "render/transforms.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

constexpr float kHop[11] = {0.025f, 0.075f, 0.15f, 0.225f, 0.3f,  0.375f,
                            0.3f,   0.225f, 0.15f, 0.075f, 0.025f};
constexpr int kHopLast = 10;
constexpr float kKnockBackStep = 0.25f;
constexpr float kSinkStep = 0.25f;
constexpr int kBlowPause = 50;
constexpr int kOrbWait = 20;
constexpr int kOrbFade = 30;
constexpr float kOrbTop = 20;
constexpr float kFallDistance[5] = {0, 3, 2, 3, 0};
constexpr float kFallDirection[5] = {0, 90, 270, 180, 0};
constexpr float kFloorEdge = 100;
// A throw turns 2 degrees a frame and swings 9: a whole circle bounds either.
constexpr int kTurnFramesMax = 180;
constexpr int kSwingFramesMax = 40;

const MeshRecord& mesh_of(const CombatantRecord& c) {
    const int n = c.data.mesh >= 0 && c.data.mesh < kMeshCount ? c.data.mesh : 0;
    return mesh_record(n);
}

float wrapped(float angle) {
    while (angle >= 360) angle -= 360;
    while (angle < 0) angle += 360;
    return angle;
}

float xz_between(const Vec3& a, const Vec3& b) {
    const float dx = b.x - a.x;
    const float dz = b.z - a.z;
    return std::sqrt(dx * dx + dz * dz);
}

bool off_floor(const Vec3& p) {
    return std::fabs(p.x) > kFloorEdge || std::fabs(p.z) > kFloorEdge;
}

void move_toward(Vec3& p, float direction, float distance) {
    direction_offset(p.x, p.z, p.x, p.z, direction, distance);
}

// Within reach when the two meshes' half depths cover the distance. A figure that moves a
// whole unit a frame also counts as arriving once it is less than that step away, so that
// small meshes cannot pass back and forth around their target for ever.
bool within_reach(const CombatantRecord& c, const CombatantRecord& target) {
    const float d = xz_between(c.position, target.position);
    return mesh_of(c).depth / 2 + mesh_of(target).depth / 2 >= d || d < 1.0f;
}

void knock_back_side_of(const CombatantRecord* target) {
    if (target) combatants_signal(target->side, kKnockBackFrames, &combatant_knock_back);
}

template <class T, class F>
void each_of_kind(int kind, F&& f) {
    Task* pool = task_pool();
    for (int s = kSlotBattleFiguresFirst; s < kSlotBattleFiguresEnd; ++s) {
        Task* t = &pool[s];
        if (t->in_use && t->kind == kind) f(task_record<T>(t));
    }
}

bool any_orb() {
    return task_kind_exists(kKindOrb) != 0;
}

OrbRecord* orb_create(const Vec3& at, float heading, CombatantRecord* target, OrbStep behaviour) {
    Task* t = task_alloc_in_range(kSlotBattleFiguresFirst, kSlotBattleFiguresEnd);
    if (!t) return nullptr;
    task_start(t, kKindOrb, &orb_update, &orb_draw);
    OrbRecord& o = task_record<OrbRecord>(t);
    o.alive = 1;
    o.position = at;
    o.timer = kOrbWait;
    o.hit = 0;
    o.heading = heading;
    o.target = target;
    o.behaviour = behaviour;
    return &o;
}

// Orbs set off in front of the attacker, at half its height.
void orb_spawn(const CombatantRecord& c, OrbStep behaviour) {
    const MeshRecord& m = mesh_of(c);
    Vec3 at = c.position;
    move_toward(at, c.facing, m.radius / 2 + 0.5f);
    at.y = c.position.y + m.height / 2;
    orb_create(at, c.facing, c.target, behaviour);
}

void countdown_to_idle(CombatantRecord& c) {
    c.timer -= 1;
    if (c.timer <= 0) c.state = &combatant_idle;
}

void blow_lands(CombatantRecord& c) {
    c.timer = kBlowPause;
    c.state = &countdown_to_idle;
}

// Style 0: turn away to wind up, pause, swing back round and let the prop fly. A side-1
// unit (which starts facing 0) mirrors the turn: it winds up to 270 and swings back to 0,
// so the turn ends within the same 45 frames as a member's; whatever the start, a full
// circle's worth of frames ends a turn or a swing.
float throw_wind_angle(const CombatantRecord& c) {
    return c.side == 0 ? 90.0f : 270.0f;
}
float throw_swing_angle(const CombatantRecord& c) {
    return c.side == 0 ? 180.0f : 0.0f;
}

void throw_wait_prop(CombatantRecord& c) {
    if (!task_kind_exists(kKindProp)) c.state = &combatant_idle;
}

void prop_thrown(PropRecord& p);

void throw_swing(CombatantRecord& c) {
    c.facing = wrapped(c.facing + 9);
    c.turn_frames += 1;
    const float aim = throw_swing_angle(c);
    if (static_cast<int>(c.facing) != static_cast<int>(aim) && c.turn_frames < kSwingFramesMax) {
        return;
    }
    c.facing = aim;
    c.busy = 1;
    Task* t = task_find_kind(kKindProp);
    if (t) {
        PropRecord& p = task_record<PropRecord>(t);
        p.position.x = c.position.x;
        p.position.z = c.position.z;
        p.owner = c.target;
        p.direction = aim;
        p.state = &prop_thrown;
    }
    sound_request(kSoundSetOff, 0);
    c.state = &throw_wait_prop;
}

void throw_wind(CombatantRecord& c) {
    c.timer -= 1;
    if (c.timer > 0) return;
    c.turn_frames = 0;
    c.state = &throw_swing;
}

void throw_turn(CombatantRecord& c) {
    c.facing = wrapped(c.facing - 2);
    c.turn_frames += 1;
    const float aim = throw_wind_angle(c);
    if (static_cast<int>(c.facing) != static_cast<int>(aim) && c.turn_frames < kTurnFramesMax) {
        return;
    }
    c.facing = aim;
    c.timer = kBlowPause;
    c.state = &throw_wind;
}

// Styles 1 and 2: hop toward the target until within reach.
void charge(CombatantRecord& c) {
    if (!c.target) {
        c.state = &combatant_idle;
        return;
    }
    if (c.hop_step > kHopLast) c.hop_step = 0;
    c.position.y = kHop[c.hop_step];
    c.hop_step += 1;
    c.facing =
        direction_toward(c.position.x, c.position.z, c.target->position.x, c.target->position.z);
    move_toward(c.position, c.facing, 1);
    if (!within_reach(c, *c.target)) return;
    sound_request(kSoundHit, 0);
    knock_back_side_of(c.target);
    c.hop_step = 0;
    c.position.y = kHop[0];
    blow_lands(c);
}

// Style 3: a spinning rush with a whirr every 10 frames.
void spin(CombatantRecord& c) {
    if (!c.target) {
        c.state = &combatant_idle;
        return;
    }
    const float d =
        direction_toward(c.position.x, c.position.z, c.target->position.x, c.target->position.z);
    move_toward(c.position, d, 1);
    c.facing += 45;
    if (c.facing > 360) c.facing -= 360;
    c.timer += 1;
    if (c.timer > 100) c.timer = 0;
    if (c.timer % 10 == 0) sound_request(kSoundSetOff, 0);
    if (!within_reach(c, *c.target)) return;
    blow_lands(c);
    c.facing = d;
    knock_back_side_of(c.target);
    sound_request(kSoundHit, 0);
}

// Style 4: one orb shot straight at the target.
void shot_watch(CombatantRecord& c) {
    if (!any_orb()) c.state = &combatant_idle;
}

void shot_wait(CombatantRecord& c) {
    c.timer -= 1;
    if (c.timer > 0) return;
    c.busy = 1;
    c.state = &shot_watch;
}

// Style 5: five orbs rise, then, once the camera has panned across, five fall on the target.
void rain_watch(CombatantRecord& c) {
    if (!any_orb()) c.state = &combatant_idle;
}

void rain_fall(CombatantRecord& c) {
    c.timer -= 1;
    if (c.timer % 10 == 0 && c.target) {
        Vec3 at = c.target->position;
        direction_offset(at.x, at.z, at.x, at.z, kFallDirection[c.counter],
                         kFallDistance[c.counter]);
        at.y = kOrbTop;
        orb_create(at, 0, c.target, &orb_falling);
        c.counter = (c.counter + 1) % 5;
    }
    if (c.timer <= 0) c.state = &rain_watch;
}

void rain_wait_pan(CombatantRecord& c) {
    const StageRecord* s = stage_find();
    if (!s || s->pan_done != 1) return;
    c.timer = kBlowPause;
    c.counter = 0;
    c.state = &rain_fall;
}

void rain_pause(CombatantRecord& c) {
    c.timer -= 1;
    if (c.timer > 0) return;
    c.busy = 1;
    c.state = &rain_wait_pan;
}

void rain_rise(CombatantRecord& c) {
    c.timer -= 1;
    if (c.timer % 10 == 0) orb_spawn(c, &orb_rising);
    if (c.timer > 0) return;
    c.timer = 10;
    c.state = &rain_pause;
}

void style_begin(CombatantRecord& c) {
    switch (c.style) {
        case kStyleThrow:
            c.turn_frames = 0;
            c.state = &throw_turn;
            break;
        case kStyleChargeWithProp:
        case kStyleCharge:
            c.busy = 1;
            c.state = &charge;
            break;
        case kStyleSpin:
            c.busy = 1;
            c.timer = 0;
            c.state = &spin;
            break;
        case kStyleShot:
            orb_spawn(c, &orb_straight);
            sound_request(kSoundShot, 0);
            c.timer = kOrbWait;
            c.state = &shot_wait;
            break;
        case kStyleRain:
            c.timer = kBlowPause;
            sound_request(kSoundShot, 0);
            c.state = &rain_rise;
            break;
        default:
            c.state = &combatant_idle;
            break;
    }
}

void orb_fade(OrbRecord& o) {
    o.timer -= 1;
    if (o.timer <= 0) o.alive = 0;
}

void orb_strikes(OrbRecord& o) {
    o.timer = kOrbFade;
    o.hit = 1;
    sound_request(kSoundOrbLands, 0);
    o.behaviour = &orb_fade;
}

void orb_fly(OrbRecord& o) {
    step_axis(o.position.x, o.position.z, o.heading, 1);
    // An orb without a target, or one that has left the floor, is spent.
    if (!o.target || off_floor(o.position)) {
        o.alive = 0;
        return;
    }
    if (xz_between(o.position, o.target->position) > 1.0f) return;
    orb_strikes(o);
    knock_back_side_of(o.target);
}

void orb_rise(OrbRecord& o) {
    o.position.y += 1;
    if (o.position.y >= kOrbTop) o.alive = 0;
}

bool every_orb_hit() {
    bool all = true;
    each_of_kind<OrbRecord>(kKindOrb, [&](OrbRecord& o) { all = all && o.hit == 1; });
    return all;
}

// Props: held at the owner's side, or thrown along a straight line at the target.
void prop_held(PropRecord& p) {
    const CombatantRecord& c = *p.owner;
    const MeshRecord& m = mesh_of(c);
    p.facing = c.facing;
    p.position = c.position;
    move_toward(p.position, c.facing - 90, m.width / 2);
    p.position.y = c.position.y + m.height / 2;
}

void prop_land(PropRecord& p) {
    p.timer -= 1;
    if (p.timer <= 0) p.alive = 0;
}

void prop_thrown(PropRecord& p) {
    if (!p.owner) {
        p.alive = 0;
        return;
    }
    move_toward(p.position, p.direction, 1);
    const float d = xz_between(p.position, p.owner->position);
    if (mesh_of(*p.owner).depth >= d || d < 1.0f) {
        p.timer = kBlowPause;
        sound_request(kSoundHit, 0);
        knock_back_side_of(p.owner);
        p.state = &prop_land;
    } else if (off_floor(p.position)) {
        p.alive = 0;
    }
}

}  // namespace

void prop_create_held(CombatantRecord* owner) {
    Task* t = task_alloc_in_range(kSlotBattleFiguresFirst, kSlotBattleFiguresEnd);
    if (!t) return;
    task_start(t, kKindProp, &prop_update, &prop_draw);
    PropRecord& p = task_record<PropRecord>(t);
    p.alive = 1;
    p.facing = owner->facing;
    p.timer = 0;
    p.owner = owner;
    p.state = &prop_held;
    prop_held(p);
}

void combatant_idle(CombatantRecord& c) {
    c.pitch = 0;
    c.roll = 0;
}

void combatant_start(CombatantRecord& c) {
    c.timer -= 1;
    if (c.timer <= 0) style_begin(c);
}

void combatant_knock_back(CombatantRecord& c) {
    move_toward(c.position, c.facing - 180, kKnockBackStep);
    c.roll = static_cast<int>(c.facing) != 0 ? 315.0f : 45.0f;
    c.timer -= 1;
    if (c.timer <= 0) c.state = &combatant_idle;
}

void combatant_sink(CombatantRecord& c) {
    c.position.y -= kSinkStep;
    if (c.position.y + mesh_of(c).height + 1 < 0) c.state = &combatant_idle;
}

void orb_straight(OrbRecord& o) {
    o.timer -= 1;
    if (o.timer > 0) return;
    sound_request(kSoundSetOff, 0);
    o.behaviour = &orb_fly;
}

void orb_rising(OrbRecord& o) {
    o.timer -= 1;
    if (o.timer > 0) return;
    sound_request(kSoundSetOff, 0);
    o.behaviour = &orb_rise;
}

void orb_falling(OrbRecord& o) {
    o.position.y -= 1;
    if (o.position.y > 0) return;
    orb_strikes(o);
    if (every_orb_hit()) knock_back_side_of(o.target);
}

void combatant_update(Task* t) {
    CombatantRecord& c = task_record<CombatantRecord>(t);
    c.state(c);
    if (c.alive == 0) t->in_use = 0;
}

void combatant_draw(Task* t) {
    CombatantRecord& c = task_record<CombatantRecord>(t);
    Matrix world;
    world_yaw_roll_pitch(world, c.position, c.facing, c.pitch, c.roll);
    mesh_draw(mesh_of(c), world);
}

void orb_update(Task* t) {
    OrbRecord& o = task_record<OrbRecord>(t);
    o.behaviour(o);
    if (o.alive == 0) t->in_use = 0;
}

void orb_draw(Task* t) {
    const OrbRecord& o = task_record<OrbRecord>(t);
    sphere_draw(o.hit == 1 ? sphere_large() : sphere_small(), o.position);
}

void prop_update(Task* t) {
    PropRecord& p = task_record<PropRecord>(t);
    p.state(p);
    if (p.alive == 0) t->in_use = 0;
}

void prop_draw(Task* t) {
    PropRecord& p = task_record<PropRecord>(t);
    Matrix world;
    if (p.state == &prop_held) {
        world_yaw(world, p.position, p.facing);
    } else {
        // Thrown, it flies turned on its side: the yaw, a quarter turn about z, then the move.
        Matrix yaw, turn, move;
        world_yaw(yaw, Vec3{0, 0, 0}, p.facing);
        matrix_rotation_z(turn, 1.5707964f);
        matrix_translation(move, p.position.x, p.position.y, p.position.z);
        matrix_multiply(world, yaw, turn);
        matrix_multiply(world, world, move);
    }
    mesh_draw(mesh_record(kPropMesh), world);
}

}  // namespace tessaly
