#include "field/members.hpp"

#include <cmath>

#include "field/map.hpp"
#include "field/players.hpp"
#include "field/walking.hpp"

namespace tessaly {
namespace {

constexpr float kAimReach = 2.0f;
constexpr float kAimSlack = 0.5f;
constexpr float kCloseUp = 0.5f;

void snap(MemberRecord& m) {
    snap_to_cell(m.position.x, m.position.z);
}

}  // namespace

MemberRecord& member_init(MemberRecord& m, float x, float y, float z, float facing, int row,
                          MemberStep state, MemberRecord* ahead, PlayerRecord* owner) {
    m.position.x = x;
    m.position.y = y;
    m.position.z = z;
    m.facing = facing;
    m.state = state;
    m.ahead = ahead;
    m.owner = owner;
    m.step_frame = 0;
    m.data = kMemberData[row >= 0 && row < kMemberDataRows ? row : 0];
    return m;
}

// The first rule that matches wins; the differences are signed.
bool member_aim(MemberRecord& m) {
    if (!m.ahead) return false;
    const float dx = m.position.x - m.ahead->position.x;
    const float dz = m.position.z - m.ahead->position.z;
    if (dx <= -kAimReach && dz < kAimSlack) {
        m.facing = kDirectionEast;
    } else if (dx >= kAimReach && dz < kAimSlack) {
        m.facing = kDirectionWest;
    } else if (dx < kAimSlack && dz >= kAimReach) {
        m.facing = kDirectionSouth;
    } else if (dx < kAimSlack && dz <= -kAimReach) {
        m.facing = kDirectionNorth;
    } else {
        return false;
    }
    return true;
}

bool member_closed_up(const MemberRecord& m) {
    if (!m.ahead) return true;
    return std::fabs(m.position.x - m.ahead->position.x) < kCloseUp &&
           std::fabs(m.position.z - m.ahead->position.z) < kCloseUp;
}

void member_idle(MemberRecord&) {}

void member_follow(MemberRecord& m) {
    snap(m);
    if (!m.owner) return;
    if (player_is_walking(*m.owner)) {
        if (member_aim(m)) m.state = &member_step;
    } else if (m.owner->state == &arrive) {
        // A member that had not yet set off when its player arrived (a walk of three cells
        // or less) catches up like the others, rather than leaving the turn waiting for it.
        m.state = &member_catch_up;
    }
}

void member_step(MemberRecord& m) {
    if (!cell_step(m.position, m.facing, m.step_frame)) return;
    if (!m.owner) return;
    const PlayerRecord& owner = *m.owner;
    if (player_is_choosing(owner)) {
        m.state = &member_follow;
    } else if (owner.state == &arrive) {
        m.state = &member_catch_up;
    } else if (player_is_walking(owner)) {
        member_aim(m);
    }
}

void member_catch_up(MemberRecord& m) {
    snap(m);
    if (member_aim(m)) m.state = &member_step;
    // A member still stacked on the member ahead waits for that member to come to rest
    // first: settling at once would leave it behind when the one ahead moves on, and the
    // turn would wait for the file forever.
    const bool ahead_at_rest =
        !m.ahead || m.ahead->state == &member_idle || m.ahead->state == &member_settled;
    if (member_closed_up(m) && ahead_at_rest) m.state = &member_settled;
}

void member_settled(MemberRecord& m) {
    snap(m);
}

}  // namespace tessaly
