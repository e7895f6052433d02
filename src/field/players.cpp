#include "field/players.hpp"

#include <cmath>
#include <cstdio>
#include <string>

#include "app/debug_dump.hpp"
#include "app/task_pool.hpp"
#include "event/event_runner.hpp"
#include "field/camera.hpp"
#include "field/cpu_turn.hpp"
#include "field/map.hpp"
#include "field/route_hints.hpp"
#include "field/routes.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr int kStartLevel = 10;
constexpr int kStartHitPoints = 200;
constexpr int kStartMoney = 1000;
constexpr float kStartFacing = kDirectionWest;
constexpr int32_t kStartItems[kItemSlots] = {1, 1, 2, 0, 0, 0, 0, 0};
constexpr int kOpeningSquare = 41;
constexpr int kOpeningStageEntry = kOpeningSquare - 1;
constexpr float kCameraStartAngle = 270.0f;
constexpr float kCameraEyeHeight = 60.0f;
constexpr float kCloseUpDistance = 0.5f;

// Map column and row of the three start positions.
struct MapCell {
    int column, row;
};
constexpr MapCell kStartCells[kCharacterCount] = {{59, 52}, {59, 45}, {59, 59}};

struct StateName {
    PlayerStep state;
    const char* name;
};
constexpr StateName kStateNames[] = {
    {&turn_waiting, "turn_waiting"},
    {&turn_start, "turn_start"},
    {&die_spin, "die_spin"},
    {&choose_direction, "choose_direction"},
    {&walk, "walk"},
    {&arrive, "arrive"},
    {&event_wait, "event_wait"},
    {&cpu_turn_start, "cpu_turn_start"},
    {&cpu_heal, "cpu_heal"},
    {&cpu_banner, "cpu_banner"},
    {&cpu_roll, "cpu_roll"},
    {&cpu_die_spin, "cpu_die_spin"},
    {&cpu_choose_direction, "cpu_choose_direction"},
    {&cpu_walk, "cpu_walk"},
    {&route_die_spin, "route_die_spin"},
    {&route_choose_direction, "route_choose_direction"},
    {&route_walk, "route_walk"},
};

const char* state_name(PlayerStep s) {
    for (const StateName& n : kStateNames) {
        if (n.state == s) return n.name;
    }
    return "other";
}

// The dump's board section: per player, its turn state and map cell, then what the other
// subsystems read of it.
void players_dump(std::string& out) {
    const int r0 = (kGridSize - g_game.map_height) / 2;
    const int c0 = (kGridSize - g_game.map_width) / 2;
    char line[224];
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        const PlayerRecord* p = player_in_slot(s);
        if (!p) continue;
        const int cell = cell_index_at(p->position.x, p->position.z);
        std::snprintf(line, sizeof line,
                      "player %d character %d computer %d state %s steps %d cell %d %d square %d\n",
                      s, p->character_id, p->computer, state_name(p->state), p->steps_left,
                      cell % kGridSize - c0, cell / kGridSize - r0, square_at(cell));
        out += line;
        // What the other subsystems read of a player: its figures, goods, request and crests.
        std::snprintf(line, sizeof line,
                      "player %d level %d hp %d/%d attack %d defence %d money %d experience %d "
                      "items %d %d %d %d %d %d %d %d\n",
                      s, p->level, p->hit_points, p->max_hit_points, p->attack, p->defence,
                      p->money, p->experience, p->items[0], p->items[1], p->items[2], p->items[3],
                      p->items[4], p->items[5], p->items[6], p->items[7]);
        out += line;
        std::snprintf(line, sizeof line,
                      "player %d team %d target %d route %d die_step %d direction_step %d "
                      "achievements %d skip_turn %d\n",
                      s, p->team_number, p->team_target, p->route_number, p->route_die_step,
                      p->route_direction_step, p->achievement_bits, p->skip_turn);
        out += line;
    }
}

void snap(PlayerRecord& p) {
    snap_to_cell(p.position.x, p.position.z);
}

void members_reset(PlayerRecord& p) {
    for (int i = 0; i < kMembersPerPlayer; ++i) {
        MemberRecord& m = p.members[i];
        m.position = p.position;
        m.facing = p.facing;
        m.step_frame = 0;
        m.state = i == 0 ? &member_idle : &member_follow;
    }
}

}  // namespace

int player_cell(const PlayerRecord& p) {
    return cell_index_at(p.position.x, p.position.z);
}

void history_set(PlayerRecord& p, int cell) {
    if (p.history_count >= 0 && p.history_count < kHistoryLength) p.history[p.history_count] = cell;
}

void history_clear(PlayerRecord& p) {
    p.history_count = 0;
    for (int32_t& h : p.history) h = 0;
}

void turn_waiting(PlayerRecord& p) {
    snap(p);
}

void turn_start(PlayerRecord& p) {
    p.state = p.computer ? &cpu_turn_start : &die_spin;
}

void player_walk_frame(PlayerRecord& p) {
    if (!cell_step(p.position, p.facing, p.step_frame)) return;
    if (square_at(player_cell(p)) >= kSquareFirst) {
        square_reached(p);
    } else {
        corridor_turn(p.position.x, p.position.z, p.facing);
    }
}

void square_reached(PlayerRecord& p) {
    p.steps_left -= 1;
    p.history_count += 1;
    p.state = p.computer ? &cpu_choose_direction : &choose_direction;
    sound_request(kSoundStep, 0);
    history_set(p, player_cell(p));
    route_hints_compute(p);
    // Walking straight back onto the square two entries back refunds both steps.
    const int n = p.history_count;
    if (n >= 2 && n < kHistoryLength && p.history[n] == p.history[n - 2]) {
        p.history_count -= 2;
        p.steps_left += 2;
    } else if (p.steps_left <= 0) {
        p.state = &arrive;
    }
}

void arrive(PlayerRecord& p) {
    snap(p);
    const MemberRecord& first = p.members[0];
    const MemberRecord& last = p.members[kMembersPerPlayer - 1];
    if (std::fabs(last.position.x - first.position.x) >= kCloseUpDistance ||
        std::fabs(last.position.z - first.position.z) >= kCloseUpDistance)
        return;
    p.state = &event_wait;
    camera_hold();
    const int square = square_at(player_cell(p));
    if (square >= kSquareFirst) {
        event_start(&p, square);
    } else {
        end_turn(p);
    }
}

void event_wait(PlayerRecord& p) {
    snap(p);
    if (!event_running()) end_turn(p);
}

void end_turn(PlayerRecord& p) {
    p.state = &turn_waiting;
    p.steps_left = 1;
    p.step_frame = 0;
    history_clear(p);
    snap(p);
    members_reset(p);
}

bool player_is_walking(const PlayerRecord& p) {
    return p.state == &walk || p.state == &cpu_walk || p.state == &route_walk;
}

bool player_is_choosing(const PlayerRecord& p) {
    return p.state == &choose_direction || p.state == &cpu_choose_direction ||
           p.state == &route_choose_direction;
}

void player_stats_from_members(int character_id, int32_t& attack, int32_t& defence) {
    if (character_id < 0 || character_id >= kCharacterCount) character_id = 0;
    int32_t a = 0, d = 0;
    for (int i = 0; i < kMembersPerPlayer; ++i) {
        const MemberData& row = kMemberData[member_data_row(character_id, i)];
        a += row.attack;
        d += row.defence;
    }
    attack = a / kMembersPerPlayer;
    defence = d / kMembersPerPlayer;
}

PlayerRecord* player_create(float x, float y, float z, int computer, int character_id) {
    Task* t = task_alloc_in_range(kSlotPlayersFirst, kSlotPlayersEnd);
    if (!t) return nullptr;
    task_start(t, kKindPlayer, &player_update, &player_draw);
    PlayerRecord& p = task_record<PlayerRecord>(t);
    p.alive = 1;
    p.computer = computer;
    p.character_id = character_id;
    p.hidden = 0;
    p.turn_rank = 0;
    p.skip_turn = 0;
    p.state = computer ? &turn_waiting : &turn_start;
    p.position.x = x;
    p.position.y = y;
    p.position.z = z;
    p.facing = kStartFacing;
    p.step_frame = 0;
    p.steps_left = 1;
    history_clear(p);
    p.level = kStartLevel;
    p.hit_points = kStartHitPoints;
    p.max_hit_points = kStartHitPoints;
    p.money = kStartMoney;
    p.experience = 0;
    player_stats_from_members(character_id, p.attack, p.defence);
    p.computer_wait = 0;
    // The member rows of a character outside 0..2 would lie past the characters' rows.
    const int members_of = character_id >= 0 && character_id < kCharacterCount ? character_id : 0;
    for (int i = 0; i < kMembersPerPlayer; ++i) {
        member_init(p.members[i], x, y, z, kStartFacing, member_data_row(members_of, i),
                    i == 0 ? &member_idle : &member_follow, i == 0 ? nullptr : &p.members[i - 1],
                    &p);
    }
    for (int i = 0; i < kItemSlots; ++i) p.items[i] = kStartItems[i];
    p.team_number = 0;
    p.team_target = 0;
    p.route_number = 0;
    p.route_die_step = 0;
    p.route_direction_step = 0;
    p.achievement_bits = 0;
    p.heal_left = 0;
    p.banner_timer = 0;
    for (int32_t& h : p.route_hints) h = -1;
    route_hints_compute(p);
    return &p;
}

PlayerRecord* player_in_slot(int slot) {
    Task* pool = task_pool();
    if (!pool || slot < kSlotPlayersFirst || slot >= kSlotPlayersEnd) return nullptr;
    Task* t = &pool[slot];
    if (!t->in_use || t->kind != kKindPlayer) return nullptr;
    return &task_record<PlayerRecord>(t);
}

PlayerRecord* turn_ring_link() {
    PlayerRecord* found[kSlotPlayersEnd - kSlotPlayersFirst] = {};
    int n = 0;
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        if (PlayerRecord* p = player_in_slot(s)) found[n++] = p;
    }
    if (n == 0) return nullptr;
    if (g_game.settings[kSettingRivals] == 1) {
        for (int i = 0; i < n; ++i) found[i]->next_player = found[(i + 1) % n];
    } else {
        // Without rivals the computer players take no turns.
        found[0]->next_player = found[0];
    }
    return found[0];
}

void players_dump_register() {
    debug_dump_add_section(&players_dump);
}

int players_create(int character_id) {
    players_dump_register();
    PlayerRecord* first = nullptr;
    int k = character_id;
    for (int s = 0; s < kCharacterCount; ++s) {
        float x = static_cast<float>(kStartCells[s].column);
        float z = static_cast<float>(kStartCells[s].row);
        map_to_world(x, z);
        PlayerRecord* p = player_create(x, kPlayerHeight, z, s != 0 ? 1 : 0, k);
        if (s == 0) first = p;
        k += 1;
        if (k >= kCharacterCount) k = 0;
    }
    turn_ring_link();
    if (first) {
        camera_create(first->position.x, kPlayerHeight, first->position.z, kCameraStartAngle,
                      kCameraEyeHeight, first);
    }
    g_game.event_stage[kOpeningStageEntry] = character_id;
    return first ? event_start(first, kOpeningSquare) : 0;
}

void player_update(Task* t) {
    if (event_running()) return;
    PlayerRecord& p = task_record<PlayerRecord>(t);
    if (p.state) p.state(p);
    MemberRecord& lead = p.members[0];
    lead.position = p.position;
    lead.facing = p.facing;
    for (MemberRecord& m : p.members) {
        if (m.state) m.state(m);
    }
    if (p.alive == 0) t->in_use = 0;
}

}  // namespace tessaly
