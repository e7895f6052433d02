#pragma once
// The battle stage: the 3D scene that acts out one blow of a battle. A controller (kind
// 1040, slot 60) pans the camera and hands back to the battle; combatants (kind 1050),
// orbs (1060) and props (1080) take the first free slots of 30..49.
#include <cstdint>

#include "field/member_data.hpp"
#include "render/matrix.hpp"

namespace tessaly {

struct Task;
struct BattleRecord;
struct StageRecord;
struct CombatantRecord;
struct OrbRecord;
struct PropRecord;

using StageStep = void (*)(StageRecord&);
using CombatantStep = void (*)(CombatantRecord&);
using OrbStep = void (*)(OrbRecord&);
using PropStep = void (*)(PropRecord&);

constexpr int kStyleThrow = 0;
constexpr int kStyleChargeWithProp = 1;
constexpr int kStyleCharge = 2;
constexpr int kStyleSpin = 3;
constexpr int kStyleShot = 4;
constexpr int kStyleRain = 5;
constexpr int kStyleCount = 6;
// Blows doing this much or more use a unit's second style.
constexpr int kStrongBlow = 10;
constexpr int kPropMesh = 24;
constexpr int kKnockBackFrames = 24;
constexpr int kFloorCells = 100;

struct StageRecord {
    int32_t alive;
    Vec3 eye;
    Vec3 look_at;
    int32_t pan_done;
    BattleRecord* battle;
    StageStep state;
    int32_t countdown;  // the finish's last frames
    float pan_step;     // look-at x per frame: toward the defending side
    int32_t style;      // the attack style played, -1 when no attacker could be made
};

struct CombatantRecord {
    int32_t alive;
    int32_t busy;  // 1 once the attack's travelling phase has begun
    Vec3 position;
    int32_t side;  // 0: the player's members; 1: the opponents
    float facing;
    float pitch;
    float roll;  // 315 or 45 while knocked back
    int32_t timer;
    int32_t hop_step;
    CombatantRecord* target;  // null for a member without an opposite number
    CombatantStep state;
    MemberData data;
    int32_t style;        // the attack style played, when attacking
    int32_t counter;      // falling orbs placed so far
    int32_t turn_frames;  // frames spent in the current turn of a throw
};

struct OrbRecord {
    int32_t alive;
    Vec3 position;
    int32_t timer;
    int32_t hit;  // 1 once it has struck: drawn as the large sphere
    float heading;
    CombatantRecord* target;
    OrbStep behaviour;
};

struct PropRecord {
    int32_t alive;
    Vec3 position;
    float facing;
    int32_t timer;
    PropStep state;
    CombatantRecord* owner;  // the holder; once thrown, the combatant aimed at
    float direction;         // the heading of a thrown prop
};

// Opens the stage for a blow of damage (at least 1); 0 when slot 60 is taken.
int battle_stage_open(BattleRecord* battle, int damage);
// Both sides in reel order, their targets and the attacker's style; returns the style
// played, or -1 when there is no attacker.
int combatants_create(BattleRecord* battle, int damage);
// A prop held at the owner's side (styles 0 and 1); nothing when no slot is free.
void prop_create_held(CombatantRecord* owner);
// Every live combatant of the side gets the timer and the state.
void combatants_signal(int side, int timer, CombatantStep state);
// The style number of a unit for a blow: further value 1 below 10 damage, else value 2.
int attack_style(const MemberData& data, int damage);
// Degrees from (x1, z1) toward (x2, z2).
float direction_toward(float x1, float z1, float x2, float z2);

StageRecord* stage_find();

// Stage states.
void stage_wait(StageRecord& s);
void stage_pan(StageRecord& s);
void stage_settle(StageRecord& s);
void stage_finish(StageRecord& s);

// Combatant states; other code compares a combatant's state with these.
void combatant_idle(CombatantRecord& c);
void combatant_knock_back(CombatantRecord& c);
void combatant_sink(CombatantRecord& c);
// The common start of every style: 30 frames, then the style proper.
void combatant_start(CombatantRecord& c);

// Orb behaviours.
void orb_straight(OrbRecord& o);
void orb_rising(OrbRecord& o);
void orb_falling(OrbRecord& o);

void stage_update(Task* t);
void stage_draw(Task* t);
void combatant_update(Task* t);
void combatant_draw(Task* t);
void orb_update(Task* t);
void orb_draw(Task* t);
void prop_update(Task* t);
void prop_draw(Task* t);

}  // namespace tessaly
