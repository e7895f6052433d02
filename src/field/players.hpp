#pragma once
// The three board players (tasks of kind 1010 in slots 10..12), the turn ring, the movement
// rules every player shares and the human player's turn states.
#include <cstdint>

#include "field/members.hpp"
#include "render/matrix.hpp"

namespace tessaly {

struct Task;
struct PlayerRecord;

using PlayerStep = void (*)(PlayerRecord&);

constexpr int kHistoryLength = 7;
constexpr int kItemSlots = 8;
constexpr int kRouteHintCount = 4;
constexpr int kDieFaces = 6;

constexpr float kDirectionEast = 0.0f;
constexpr float kDirectionNorth = 90.0f;
constexpr float kDirectionWest = 180.0f;
constexpr float kDirectionSouth = 270.0f;

// Walkers move 0.5 a frame and a full cell (2 units) in 4 frames.
constexpr float kWalkStep = 0.5f;
constexpr int kFramesPerCell = 4;
constexpr float kPlayerHeight = 0.05f;

struct PlayerRecord {
    int32_t alive;
    int32_t hidden;
    int32_t turn_rank;
    int32_t skip_turn;
    int32_t computer;
    int32_t character_id;
    int32_t level;
    int32_t hit_points;
    int32_t max_hit_points;
    int32_t attack;
    int32_t defence;
    int32_t money;
    int32_t experience;
    Vec3 position;
    float facing;
    int32_t step_frame;
    int32_t steps_left;
    int32_t history_count;
    int32_t history[kHistoryLength];
    PlayerStep state;
    MemberRecord members[kMembersPerPlayer];
    PlayerRecord* next_player;
    int32_t computer_wait;
    int32_t team_target;
    int32_t route_number;
    int32_t route_die_step;
    int32_t route_direction_step;
    int32_t items[kItemSlots];
    int32_t team_number;
    int32_t achievement_bits;
    int32_t heal_left;
    int32_t banner_timer;
    int32_t route_hints[kRouteHintCount];
};

// Human turn states; other code compares a player's state with these.
void turn_waiting(PlayerRecord& p);
void turn_start(PlayerRecord& p);
void die_spin(PlayerRecord& p);
void choose_direction(PlayerRecord& p);
void walk(PlayerRecord& p);
void arrive(PlayerRecord& p);
void event_wait(PlayerRecord& p);

// True while the player walks between cells (the human walk and the computer walks).
bool player_is_walking(const PlayerRecord& p);
// True while the player waits on a square for its next direction.
bool player_is_choosing(const PlayerRecord& p);

// New game: the three players, the turn ring, the camera and the opening event of
// square 41 for the human player; returns what event_start returned.
int players_create(int character_id);
// A player in the first free slot of 10..12; null if none is free.
PlayerRecord* player_create(float x, float y, float z, int computer, int character_id);
// Mean attack and defence of a character's four members; ids outside 0..2 count as 0.
void player_stats_from_members(int character_id, int32_t& attack, int32_t& defence);
// Adds the players' lines to the runner's dump (once); new game and loading call it.
void players_dump_register();
// Links the players of slots 10..12 in slot order; returns the first (null if none).
PlayerRecord* turn_ring_link();
// The player record of a live player task of slot 10..12, else null.
PlayerRecord* player_in_slot(int slot);

void player_update(Task* t);
void player_draw(Task* t);

// 1 when the cell 2 units from (x, z) in the direction may be entered.
int terrain_passable_toward(float x, float z, float direction);
// Moves exactly along one axis by the facing (0, 90, 180, 270; others do not move).
void step_axis(float& x, float& z, float facing, float distance);
// On a square after a full cell: counts the step, applies the back-step rule.
void square_reached(PlayerRecord& p);
// Between squares: straight on, else to one side, else the other, else back.
void corridor_turn(float x, float z, float& facing);
void end_turn(PlayerRecord& p);

}  // namespace tessaly
