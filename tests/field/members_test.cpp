#include "field/members.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "board_helpers.hpp"
#include "field/member_data.hpp"
#include "field/players.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;

struct Members : test::BoardFixture {
    PlayerRecord owner{};
    MemberRecord lead{};
    MemberRecord back{};
    void SetUp() override {
        BoardFixture::SetUp();
        test::lay_board(std::vector<std::string>(20, std::string(20, '.')));
        member_init(lead, 1, 0.05f, 1, 180, 0, &member_idle, nullptr, &owner);
        member_init(back, 1, 0.05f, 1, 180, 1, &member_follow, &lead, &owner);
    }
    float aim_from(float dx, float dz, bool* matched = nullptr) {
        back.position = {lead.position.x + dx, 0.05f, lead.position.z + dz};
        back.facing = -1.0f;
        const bool m = member_aim(back);
        if (matched) *matched = m;
        return back.facing;
    }
};

TEST_F(Members, InitCopiesTheDataRowAndLinks) {
    MemberRecord m{};
    member_init(m, 4, 0.05f, -6, 90, 13, &member_settled, &lead, &owner);
    EXPECT_EQ(m.data.id, 13);
    EXPECT_EQ(m.data.mesh, kMemberData[13].mesh);
    EXPECT_EQ(m.data.further[2], 200);
    EXPECT_FLOAT_EQ(m.data.name_plate[0], 916.0f);
    EXPECT_EQ(m.ahead, &lead);
    EXPECT_EQ(m.owner, &owner);
    EXPECT_EQ(m.state, &member_settled);
    EXPECT_EQ(m.step_frame, 0);
    EXPECT_FLOAT_EQ(m.facing, 90.0f);
}

TEST_F(Members, DataTableRowsAreNumberedAndCharactersUseTheirOwnMeshes) {
    for (int i = 0; i < kMemberDataRows; ++i) {
        EXPECT_EQ(kMemberData[i].id, i);
        EXPECT_EQ(kMemberData[i].mesh, i);
    }
    EXPECT_EQ(member_data_row(2, 3), 11);
}

TEST_F(Members, AimRulesFaceTowardTheMemberAhead) {
    EXPECT_FLOAT_EQ(aim_from(-2, 0), 0.0f);
    EXPECT_FLOAT_EQ(aim_from(2, 0), 180.0f);
    EXPECT_FLOAT_EQ(aim_from(0, 2), 270.0f);
    EXPECT_FLOAT_EQ(aim_from(0, -2), 90.0f);
    bool matched = true;
    EXPECT_FLOAT_EQ(aim_from(-1.5f, 0, &matched), -1.0f);
    EXPECT_FALSE(matched);
}

TEST_F(Members, AimFirstMatchWinsWithSignedDifferences) {
    // 2 west and 2 north of the member ahead: the east rule fails on dz, so south wins.
    EXPECT_FLOAT_EQ(aim_from(-2, 2), 270.0f);
    // 2 west and 2 south: the east rule matches first.
    EXPECT_FLOAT_EQ(aim_from(-2, -2), 0.0f);
    // 2 east and 2 south: west matches before north.
    EXPECT_FLOAT_EQ(aim_from(2, -2), 180.0f);
    // 2 east and 2 north: no rule holds.
    bool matched = true;
    aim_from(2, 2, &matched);
    EXPECT_FALSE(matched);
}

TEST_F(Members, FollowOnlyAimsWhileTheOwnerWalks) {
    back.position.x = lead.position.x - 2.0f;
    owner.state = &choose_direction;
    member_follow(back);
    EXPECT_EQ(back.state, &member_follow);
    owner.state = &walk;
    member_follow(back);
    EXPECT_EQ(back.state, &member_step);
    EXPECT_FLOAT_EQ(back.facing, 0.0f);
}

TEST_F(Members, StepWalksACellInFourFramesThenFollowsTheOwnerState) {
    back.position.x = lead.position.x - 2.0f;
    const float x0 = back.position.x;
    back.facing = 0.0f;
    back.state = &member_step;
    owner.state = &choose_direction;
    for (int i = 1; i <= 3; ++i) {
        member_step(back);
        EXPECT_FLOAT_EQ(back.position.x, x0 + 0.5f * i);
        EXPECT_EQ(back.state, &member_step);
    }
    member_step(back);
    EXPECT_FLOAT_EQ(back.position.x, x0 + 2.0f);
    EXPECT_EQ(back.step_frame, 0);
    EXPECT_EQ(back.state, &member_follow);
}

TEST_F(Members, AfterTheOwnerArrivesTheMemberCatchesUpAndSettles) {
    back.position.x = lead.position.x - 4.0f;
    back.facing = 0.0f;
    back.state = &member_step;
    owner.state = &arrive;
    for (int i = 0; i < 4; ++i) member_step(back);
    EXPECT_EQ(back.state, &member_catch_up);
    int frames = 0;
    while (back.state != &member_settled && frames < 50) {
        back.state(back);
        ++frames;
    }
    EXPECT_EQ(back.state, &member_settled);
    EXPECT_FLOAT_EQ(back.position.x, lead.position.x);
}

TEST_F(Members, FileStaysOneCellApartInAStraightCorridor) {
    float x, z;
    test::cell_world(2, 10, x, z);
    PlayerRecord* p = player_create(x, kPlayerHeight, z, 0, 0);
    ASSERT_NE(p, nullptr);
    p->next_player = p;
    tick();  // turn_start -> die_spin
    while (p->steps_left != 5) tick();
    tick_press({kKeyEnter});
    ASSERT_EQ(p->steps_left, 6);
    tick_press({kKeyRight});
    // After 5 cells the file is strung out along x, a cell apart.
    for (int i = 0; i < 20; ++i) tick();
    ASSERT_EQ(p->state, &walk);
    for (int i = 1; i < kMembersPerPlayer; ++i) {
        EXPECT_FLOAT_EQ(p->members[i - 1].position.x - p->members[i].position.x, 2.0f) << i;
        EXPECT_FLOAT_EQ(p->members[i].position.z, p->members[0].position.z);
    }
}

}  // namespace
}  // namespace tessaly
