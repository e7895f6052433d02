#pragma once
// The four members that walk in file behind each player, cell by cell.
#include <cstdint>

#include "field/member_data.hpp"
#include "render/matrix.hpp"

namespace tessaly {

struct PlayerRecord;
struct MemberRecord;

using MemberStep = void (*)(MemberRecord&);

struct MemberRecord {
    PlayerRecord* owner;
    MemberRecord* ahead;  // null for member 0
    Vec3 position;
    float facing;
    int32_t step_frame;
    MemberStep state;
    MemberData data;  // copied from the member data table
};

// Member states.
void member_idle(MemberRecord& m);
void member_follow(MemberRecord& m);
void member_step(MemberRecord& m);
void member_catch_up(MemberRecord& m);
void member_settled(MemberRecord& m);

// Sets a member up: position, facing, state, links, step frame 0 and a copy of its data
// row (rows outside the table count as row 0).
MemberRecord& member_init(MemberRecord& m, float x, float y, float z, float facing, int row,
                          MemberStep state, MemberRecord* ahead, PlayerRecord* owner);
// Faces the member toward the member ahead by the aim rules; true when a rule matched.
bool member_aim(MemberRecord& m);
// True when the member stands within 0.5 of the member ahead on both axes.
bool member_closed_up(const MemberRecord& m);
void member_draw(const MemberRecord& m);

}  // namespace tessaly
