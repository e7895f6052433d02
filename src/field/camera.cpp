#include "field/camera.hpp"

#include <cmath>

#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "field/minimap.hpp"
#include "field/pause_menu.hpp"
#include "field/players.hpp"
#include "render/sprites.hpp"
#include "render/transforms.hpp"
#include "scene/field_menu.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

int rounded(float v) {
    return static_cast<int>(round_half_away(v));
}

constexpr float kPanStep = 0.5f;
constexpr float kHideDistance = 0.5f;

constexpr Rect kSkipBanner = {446, 781, 587, 808};
constexpr float kSkipBannerY = 300.0f;
constexpr Rect kHelpStrip = {0, 1246, 640, 1262};
constexpr float kHelpStripY = 464.0f;
constexpr Rect kHelpDieKeys = {527, 1046, 713, 1059};
constexpr Rect kHelpBoardKeys = {527, 1027, 698, 1041};
constexpr float kHelpKeysX = 2.0f;
constexpr float kHelpKeysY = 466.0f;
constexpr Rect kHelpMenuKeys = {855, 1228, 1053, 1242};
constexpr float kHelpMenuX = 440.0f;

bool human_spins_die(const CameraRecord& c) {
    return c.followed && !c.followed->computer && c.followed->state == &die_spin;
}

bool followed_turn_over(const CameraRecord& c) {
    return c.followed && c.followed->state == &turn_waiting;
}

void pass_to_next(CameraRecord& c) {
    if (c.followed->next_player) c.followed = c.followed->next_player;
    c.countdown = kTurnPassWait;
    c.behaviour = &camera_wait;
}

// Half-unit steps and the move toward the followed player along one axis; d = 0 gives no
// move.
CameraStep pan_toward(CameraRecord& c, float target, float followed, CameraStep plus,
                      CameraStep minus) {
    const int d = rounded(target) - rounded(followed);
    c.pan_steps = 2 * std::abs(d);
    if (d > 0) return minus;
    if (d < 0) return plus;
    return nullptr;
}

void move_along(CameraRecord& c, float& axis, float step, CameraStep done) {
    if (c.pan_steps > 0) {
        axis += step;
        c.pan_steps -= 1;
    } else {
        c.behaviour = done;
    }
}

// Shift on the board: the field menu while the human spins its die, the pause menu at
// other times. Both freeze the board.
void board_menu_open(const CameraRecord& c) {
    if (human_spins_die(c)) {
        field_menu_open(*c.followed);
        return;
    }
    pause_menu_open();
}

}  // namespace

void camera_follow(CameraRecord& c) {
    if (!c.followed) return;
    c.target = c.followed->position;
    if (followed_turn_over(c)) pass_to_next(c);
}

void camera_hold_target(CameraRecord& c) {
    if (task_kind_exists(kKindLevelUpSign)) return;
    if (followed_turn_over(c)) pass_to_next(c);
}

void camera_wait(CameraRecord& c) {
    c.countdown -= 1;
    if (c.countdown <= 0) c.behaviour = &camera_pan_x;
}

void camera_pan_x(CameraRecord& c) {
    if (!c.followed) return;
    const CameraStep next =
        pan_toward(c, c.target.x, c.followed->position.x, &camera_move_east, &camera_move_west);
    if (next) {
        c.behaviour = next;
        return;
    }
    c.behaviour = &camera_pan_z;
    camera_pan_z(c);
}

void camera_move_east(CameraRecord& c) {
    move_along(c, c.target.x, kPanStep, &camera_pan_z);
}
void camera_move_west(CameraRecord& c) {
    move_along(c, c.target.x, -kPanStep, &camera_pan_z);
}

void camera_pan_z(CameraRecord& c) {
    if (!c.followed) return;
    const CameraStep next =
        pan_toward(c, c.target.z, c.followed->position.z, &camera_move_north, &camera_move_south);
    c.behaviour = next ? next : &camera_arrive;
}

void camera_move_north(CameraRecord& c) {
    move_along(c, c.target.z, kPanStep, &camera_arrive);
}
void camera_move_south(CameraRecord& c) {
    move_along(c, c.target.z, -kPanStep, &camera_arrive);
}

void camera_arrive(CameraRecord& c) {
    if (!c.followed) return;
    PlayerRecord& p = *c.followed;
    c.target.x = p.position.x;
    c.target.z = p.position.z;
    if (p.skip_turn) {
        p.skip_turn = 0;
        c.countdown = kTurnPassWait;
        c.behaviour = &camera_skip_wait;
        return;
    }
    c.behaviour = &camera_follow;
    p.state = &turn_start;
}

void camera_skip_wait(CameraRecord& c) {
    c.countdown -= 1;
    if (c.countdown > 0) return;
    if (c.followed && c.followed->next_player) c.followed = c.followed->next_player;
    c.behaviour = &camera_pan_x;
}

int camera_create(float x, float y, float z, float angle, float eye_height,
                  PlayerRecord* followed) {
    if (task_kind_exists(kKindCamera)) return 0;
    Task* t = task_alloc_in_range(kSlotCamera, kSlotCamera + 1);
    if (!t) return 0;
    task_start(t, kKindCamera, &camera_update, &camera_draw);
    CameraRecord& c = task_record<CameraRecord>(t);
    c.alive = 1;
    c.target.x = x;
    c.target.y = y;
    c.target.z = z;
    c.angle = angle;
    c.eye.y = eye_height;
    direction_offset(c.eye.x, c.eye.z, x, z, angle, kCameraDistance);
    c.zero = 0;
    c.behaviour = &camera_follow;
    c.followed = followed;
    return 1;
}

CameraRecord* camera_find() {
    Task* t = task_find_kind(kKindCamera);
    return t ? &task_record<CameraRecord>(t) : nullptr;
}

void camera_hold() {
    CameraRecord* c = camera_find();
    if (!c) return;
    if (c->followed) {
        c->target.x = c->followed->position.x;
        c->target.z = c->followed->position.z;
    }
    c->behaviour = &camera_hold_target;
}

void camera_rank_players(const CameraRecord& c) {
    PlayerRecord* live[kSlotPlayersEnd - kSlotPlayersFirst] = {};
    int n = 0;
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        if (PlayerRecord* p = player_in_slot(s)) live[n++] = p;
    }
    for (int i = 0; i < n; ++i) {
        live[i]->turn_rank = 0;
        live[i]->hidden = 0;
    }
    PlayerRecord* first = c.followed;
    if (g_game.settings[kSettingRivals] != 0 && first) {
        PlayerRecord* second = first->next_player;
        PlayerRecord* third = second ? second->next_player : nullptr;
        first->turn_rank = 0;
        if (second && second != first) second->turn_rank = 1;
        if (third && third != first && third != second) third->turn_rank = 2;
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (i == j) continue;
            const float d = xz_distance(live[i]->position, live[j]->position);
            if (d < kHideDistance && live[j]->turn_rank < live[i]->turn_rank) live[i]->hidden = 1;
        }
    }
}

void camera_update(Task* t) {
    CameraRecord& c = task_record<CameraRecord>(t);
    camera_rank_players(c);
    if (c.behaviour) c.behaviour(c);
    direction_offset(c.eye.x, c.eye.z, c.target.x, c.target.z, c.angle, kCameraDistance);
    camera_set(c.target, c.eye);
    frustum_update();
    if (key_pressed(kKeyShift) && !event_running()) {
        sound_request(kSoundCursor, 0);
        board_menu_open(c);
    }
    if (key_pressed(kKeyControl)) {
        g_game.minimap_flag = 1 - g_game.minimap_flag;
        sound_request(kSoundCursor, 0);
    }
}

void camera_draw(Task* t) {
    const CameraRecord& c = task_record<CameraRecord>(t);
    if (c.behaviour == &camera_skip_wait) {
        atlas_draw_centered(kSkipBanner, kSkipBannerY);
    }
    if (!event_running()) {
        atlas_draw(0.0f, kHelpStripY, kHelpStrip, kColourTranslucent);
        atlas_draw(kHelpKeysX, kHelpKeysY, human_spins_die(c) ? kHelpDieKeys : kHelpBoardKeys,
                   kColourOpaque);
        atlas_draw(kHelpMenuX, kHelpStripY, kHelpMenuKeys, kColourOpaque);
    }
    if (g_game.minimap_flag == 1) minimap_draw();
}

}  // namespace tessaly
