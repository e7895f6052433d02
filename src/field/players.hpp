#pragma once
// The three board players (tasks of kind 1010 in slots 10..12), the turn ring and the turn
// states. The walking rules are in walking.hpp, the human turn in human_turn.cpp and the
// computer turn in cpu_turn.hpp.
#include <cstdint>

#include "field/members.hpp"
#include "field/walking.hpp"
#include "render/matrix.hpp"

namespace tessaly {

struct Task;
struct PlayerRecord;

using PlayerStep = void (*)(PlayerRecord&);

constexpr int kHistoryLength = 7;
constexpr int kItemSlots = 8;
constexpr int kRouteHintCount = 4;
constexpr int kDieFaces = 6;

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

// Turn states every player passes through; other code compares a player's state with these.
void turn_waiting(PlayerRecord& p);
void turn_start(PlayerRecord& p);
void arrive(PlayerRecord& p);
void event_wait(PlayerRecord& p);
// The human player's own turn states (human_turn.cpp).
void die_spin(PlayerRecord& p);
void choose_direction(PlayerRecord& p);
void walk(PlayerRecord& p);

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

// One frame of the walk between squares (the human walk and the computer's): a whole cell
// ends on a square in square_reached and elsewhere in corridor_turn.
void player_walk_frame(PlayerRecord& p);
// On a square after a full cell: counts the step, applies the back-step rule.
void square_reached(PlayerRecord& p);
void end_turn(PlayerRecord& p);

// The history of squares visited this turn: cleared at the die, one entry per square.
void history_clear(PlayerRecord& p);
// Writes the cell at the history count; a count outside the history (a damaged save) is
// not written through.
void history_set(PlayerRecord& p, int cell);
// The cell index under the player.
int player_cell(const PlayerRecord& p);

}  // namespace tessaly
