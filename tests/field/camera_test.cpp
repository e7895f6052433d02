#include "field/camera.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "../field/board_helpers.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "field/players.hpp"
#include "render/transforms.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;
using test::ticks;

struct Camera : test::BoardFixture {
    void SetUp() override {
        BoardFixture::SetUp();
        test::lay_board(std::vector<std::string>(20, std::string(20, '.')));
    }
    PlayerRecord& add_player(float x, float z, int computer) {
        PlayerRecord* p = player_create(x, kPlayerHeight, z, computer, computer);
        EXPECT_NE(p, nullptr);
        return *p;
    }
    CameraRecord& camera_on(PlayerRecord& p) {
        EXPECT_EQ(camera_create(p.position.x, kPlayerHeight, p.position.z, 270.0f, 60.0f, &p), 1);
        return *camera_find();
    }
    // Runs the camera's behaviour alone, as its update does each tick.
    static void behave(CameraRecord& c, int n = 1) {
        for (int i = 0; i < n; ++i) c.behaviour(c);
    }
};

TEST_F(Camera, CreatePlacesTheEyeOnTheCircleAtTheCameraHeight) {
    PlayerRecord& p = add_player(3.0f, -7.0f, 0);
    CameraRecord& c = camera_on(p);
    EXPECT_EQ(task_pool()[kSlotCamera].kind, kKindCamera);
    EXPECT_EQ(c.alive, 1);
    EXPECT_EQ(c.behaviour, &camera_follow);
    EXPECT_EQ(c.followed, &p);
    EXPECT_FLOAT_EQ(c.eye.y, 60.0f);
    // 270 degrees with 3.14 for pi: a small x offset, about -20 in z.
    const float r = 270.0f * 3.14f / 180.0f;
    EXPECT_FLOAT_EQ(c.eye.x, 3.0f + std::cos(r) * 20.0f);
    EXPECT_FLOAT_EQ(c.eye.z, -7.0f + std::sin(r) * 20.0f);
    EXPECT_NE(c.eye.x, 3.0f);
    EXPECT_NEAR(c.eye.z, -27.0f, 0.001f);
}

TEST_F(Camera, CreateRefusesASecondCamera) {
    PlayerRecord& p = add_player(0, 0, 0);
    camera_on(p);
    EXPECT_EQ(camera_create(5, 0, 5, 0, 10, &p), 0);
    EXPECT_FLOAT_EQ(camera_find()->eye.y, 60.0f);
}

TEST_F(Camera, FollowTracksThePlayerAndPassesOnWhenItsTurnIsOver) {
    PlayerRecord& a = add_player(1, 1, 0);
    PlayerRecord& b = add_player(7, 1, 1);
    turn_ring_link();
    CameraRecord& c = camera_on(a);
    a.position.x = 5.0f;
    behave(c);
    EXPECT_FLOAT_EQ(c.target.x, 5.0f);
    a.state = &turn_waiting;
    behave(c);
    EXPECT_EQ(c.followed, &b);
    EXPECT_EQ(c.countdown, 50);
    EXPECT_EQ(c.behaviour, &camera_wait);
}

TEST_F(Camera, HoldKeepsTheTargetAndWaitsForTheLevelUpSign) {
    PlayerRecord& a = add_player(1, 1, 0);
    add_player(7, 1, 1);
    turn_ring_link();
    CameraRecord& c = camera_on(a);
    camera_hold();
    EXPECT_EQ(c.behaviour, &camera_hold_target);
    a.position.x = 9.0f;
    a.state = &turn_waiting;
    Task* sign = task_alloc_at(kSlotLevelUpSign);
    task_start(sign, kKindLevelUpSign, nullptr, nullptr);
    behave(c, 5);
    EXPECT_FLOAT_EQ(c.target.x, 1.0f);
    EXPECT_EQ(c.behaviour, &camera_hold_target);
    sign->in_use = 0;
    behave(c);
    EXPECT_EQ(c.behaviour, &camera_wait);
    EXPECT_FLOAT_EQ(c.target.x, 1.0f);
}

TEST_F(Camera, WaitLastsFiftyTicks) {
    PlayerRecord& a = add_player(1, 1, 0);
    CameraRecord& c = camera_on(a);
    c.behaviour = &camera_wait;
    c.countdown = 50;
    behave(c, 49);
    EXPECT_EQ(c.behaviour, &camera_wait);
    behave(c);
    EXPECT_EQ(c.behaviour, &camera_pan_x);
}

TEST_F(Camera, PanOfThreeUnitsInXTakesSixTicksThenArrives) {
    PlayerRecord& a = add_player(1, 5, 0);
    PlayerRecord& b = add_player(4, 5, 1);
    CameraRecord& c = camera_on(a);
    c.followed = &b;
    c.behaviour = &camera_pan_x;
    behave(c);
    EXPECT_EQ(c.behaviour, &camera_move_east);
    EXPECT_EQ(c.pan_steps, 6);
    int moving = 0;
    while (c.behaviour == &camera_move_east && moving < 20) {
        behave(c);
        ++moving;
    }
    // Six half-unit steps, then the tick that finds none left.
    EXPECT_EQ(moving, 7);
    EXPECT_FLOAT_EQ(c.target.x, 4.0f);
    EXPECT_EQ(c.behaviour, &camera_pan_z);
    behave(c);
    EXPECT_EQ(c.behaviour, &camera_arrive);
    behave(c);
    EXPECT_EQ(c.behaviour, &camera_follow);
    EXPECT_EQ(b.state, &turn_start);
}

TEST_F(Camera, PanGoesAlongXThenZAndRoundsHalvesAwayFromZero) {
    PlayerRecord& a = add_player(0, 0, 0);
    PlayerRecord& b = add_player(-2.5f, -1.5f, 1);
    CameraRecord& c = camera_on(a);
    c.followed = &b;
    c.target.x = 0.4f;
    c.target.z = 0.0f;
    c.behaviour = &camera_pan_x;
    behave(c);
    // round(0.4) - round(-2.5) = 0 - (-3) = 3: toward -x in 6 steps.
    EXPECT_EQ(c.behaviour, &camera_move_west);
    EXPECT_EQ(c.pan_steps, 6);
    behave(c, 7);
    EXPECT_FLOAT_EQ(c.target.x, 0.4f - 3.0f);
    EXPECT_EQ(c.behaviour, &camera_pan_z);
    behave(c);
    // round(0) - round(-1.5) = 2: toward -z.
    EXPECT_EQ(c.behaviour, &camera_move_south);
    EXPECT_EQ(c.pan_steps, 4);
    behave(c, 5);
    EXPECT_FLOAT_EQ(c.target.z, -2.0f);
    EXPECT_EQ(c.behaviour, &camera_arrive);
    behave(c);
    EXPECT_FLOAT_EQ(c.target.x, -2.5f);
    EXPECT_FLOAT_EQ(c.target.z, -1.5f);
}

TEST_F(Camera, PanWithNoXDistanceGoesOnToZInTheSameTick) {
    PlayerRecord& a = add_player(3, 0, 0);
    PlayerRecord& b = add_player(3, 4, 1);
    CameraRecord& c = camera_on(a);
    c.followed = &b;
    c.behaviour = &camera_pan_x;
    behave(c);
    EXPECT_EQ(c.behaviour, &camera_move_north);
    EXPECT_EQ(c.pan_steps, 8);
}

TEST_F(Camera, SkipTurnShowsTheBannerFiftyTicksAndPassesOver) {
    PlayerRecord& a = add_player(1, 1, 0);
    PlayerRecord& b = add_player(5, 1, 1);
    PlayerRecord& d = add_player(9, 1, 1);
    turn_ring_link();
    CameraRecord& c = camera_on(a);
    c.followed = &b;
    b.skip_turn = 1;
    c.behaviour = &camera_arrive;
    behave(c);
    EXPECT_EQ(b.skip_turn, 0);
    EXPECT_EQ(b.state, &turn_waiting);
    EXPECT_EQ(c.behaviour, &camera_skip_wait);
    behave(c, 49);
    EXPECT_EQ(c.behaviour, &camera_skip_wait);
    EXPECT_EQ(c.followed, &b);
    behave(c);
    EXPECT_EQ(c.followed, &d);
    EXPECT_EQ(c.behaviour, &camera_pan_x);
}

TEST_F(Camera, TurnRanksFollowTheRingFromTheFollowedPlayer) {
    PlayerRecord& a = add_player(1, 1, 0);
    PlayerRecord& b = add_player(5, 1, 1);
    PlayerRecord& d = add_player(9, 1, 1);
    turn_ring_link();
    CameraRecord& c = camera_on(a);
    c.followed = &b;
    camera_rank_players(c);
    EXPECT_EQ(b.turn_rank, 0);
    EXPECT_EQ(d.turn_rank, 1);
    EXPECT_EQ(a.turn_rank, 2);
}

TEST_F(Camera, PlayerCloserThanHalfAUnitBehindTheOneOnTurnIsHidden) {
    PlayerRecord& a = add_player(1, 1, 0);
    PlayerRecord& b = add_player(1.49f, 1, 1);
    PlayerRecord& d = add_player(1, 1.5f, 1);
    turn_ring_link();
    CameraRecord& c = camera_on(a);
    camera_rank_players(c);
    EXPECT_EQ(a.hidden, 0);
    EXPECT_EQ(b.hidden, 1);
    // Exactly 0.5 away: not hidden.
    EXPECT_EQ(d.hidden, 0);
    b.position.x = 1.5f;
    camera_rank_players(c);
    EXPECT_EQ(b.hidden, 0);
}

TEST_F(Camera, WithoutRivalsNoPlayerIsHidden) {
    g_game.settings[kSettingRivals] = 0;
    PlayerRecord& a = add_player(1, 1, 0);
    PlayerRecord& b = add_player(1, 1, 1);
    turn_ring_link();
    CameraRecord& c = camera_on(a);
    b.hidden = 1;
    b.turn_rank = 2;
    camera_rank_players(c);
    EXPECT_EQ(a.turn_rank, 0);
    EXPECT_EQ(b.turn_rank, 0);
    EXPECT_EQ(b.hidden, 0);
}

TEST_F(Camera, ControlTogglesTheMinimap) {
    PlayerRecord& a = add_player(1, 1, 0);
    camera_on(a);
    tick_press({kKeyControl});
    EXPECT_EQ(g_game.minimap_flag, 1);
    tick();
    EXPECT_EQ(g_game.minimap_flag, 1);
    tick_press({kKeyControl});
    EXPECT_EQ(g_game.minimap_flag, 0);
}

TEST_F(Camera, UpdatePlacesTheEyeAroundTheTargetAndSetsTheView) {
    PlayerRecord& a = add_player(11, -3, 0);
    CameraRecord& c = camera_on(a);
    a.position.x = 13.0f;
    tick();
    EXPECT_FLOAT_EQ(c.target.x, 13.0f);
    float ex, ez;
    direction_offset(ex, ez, 13.0f, -3.0f, 270.0f, 20.0f);
    EXPECT_FLOAT_EQ(c.eye.x, ex);
    EXPECT_FLOAT_EQ(c.eye.z, ez);
}

// A whole round: the human ends its turn, the camera waits, pans to each computer player
// (whose turn passes at once for now) and back, and the human's turn starts again.
TEST_F(Camera, TurnGoesRoundTheRingAndComesBackToTheHuman) {
    // Squares on every odd column of every odd row, so the computer players' walks end.
    std::vector<std::string> rows(20, std::string(20, '.'));
    for (int r = 1; r < 20; r += 2) {
        for (int col = 1; col < 20; col += 2) rows[r][col] = 'o';
    }
    test::lay_board(rows);
    PlayerRecord& a = add_player(1, 1, 0);
    PlayerRecord& b = add_player(5, 1, 1);
    PlayerRecord& d = add_player(5, 5, 1);
    turn_ring_link();
    CameraRecord& c = camera_on(a);
    end_turn(a);
    bool saw_b = false, saw_d = false;
    int n = 0;
    for (; n < 1000 && a.state != &die_spin; ++n) {
        tick();
        saw_b = saw_b || c.followed == &b;
        saw_d = saw_d || c.followed == &d;
    }
    EXPECT_TRUE(saw_b);
    EXPECT_TRUE(saw_d);
    EXPECT_EQ(a.state, &die_spin);
    EXPECT_EQ(c.followed, &a);
    EXPECT_EQ(b.state, &turn_waiting);
    // Three waits of 50 ticks and three pans, and the two computer players' own turns.
    EXPECT_GT(n, 150);
}

}  // namespace
}  // namespace tessaly
