#pragma once
// The battle: a timing duel (kind 1510, slot 908) between the player an event runs for and
// one to four opponents. Each side's units turn on a card reel, two bouncing gauges decide
// each blow, and the battle stage acts the blow out in 3D.
#include <cstdint>

#include "field/member_data.hpp"

namespace tessaly {

struct Task;
struct PlayerRecord;
struct BattleRecord;

using BattleStep = void (*)(BattleRecord&);

constexpr int kBattleMessageLines = 3;
constexpr int kBattleLineGlyphs = 24;
constexpr int kBattleFoesMax = 4;
constexpr int kBattleMembers = kMembersPerPlayer;
constexpr int kBattleTimerReset = 70;
constexpr int kStrikeWait = 50;
// Cards of both reels: 260 pixels tall, the window's top edge at 64.
constexpr int kCardHeight = 260;
constexpr int kReelTop = 64;
constexpr int kReelStep = 13;

// One bouncing gauge: its value, its maximum (the value it starts each bout at) and its
// signed speed per frame.
struct Gauge {
    int32_t value;
    int32_t max;
    int32_t speed;
};

struct BattleRecord {
    int32_t alive;      // 0 ends the battle at its next update
    int32_t side;       // 0: the player strikes in this bout; 1: the opponents strike
    int32_t game_over;  // 1 in a set battle: losing ends the game
    int32_t aim;        // 1 in a set battle: the opponents aim their strike
    PlayerRecord* player;
    int32_t player_hp;
    int32_t player_max_hp;
    int32_t foe_hp;  // the opponents' common hit points
    int32_t foe_max_hp;
    Gauge player_attack;
    Gauge player_defence;
    int32_t computer_wait;    // frames a computer player lets its reel spin before it aims
    int32_t computer_target;  // gauge difference at which a computer player stops
    int32_t timer;            // frames left of a computer player's message pause
    Gauge foe_attack;
    Gauge foe_defence;
    int32_t foe_wait;    // frames the opponents' reel spins before they strike
    int32_t foe_target;  // gauge difference at which aiming opponents stop
    int32_t reward_money;
    int32_t reward_experience;
    int32_t player_reel[kBattleMembers];  // card tops in pixels
    int32_t foe_reel[kBattleFoesMax];
    int32_t player_card;  // the card each reel settled on
    int32_t foe_card;
    int32_t member_count;
    int32_t foe_count;
    MemberData members[kBattleMembers];  // the player's members, copied at the start
    MemberData foes[kBattleFoesMax];     // rows of the member data table
    int32_t strike_wait;                 // frames left before a strike lands
    BattleStep step;
    int32_t message_line;  // the line being shown
    int32_t message[kBattleMessageLines][kBattleLineGlyphs];
};

// A random battle against one of rows 12..17: no aiming, no game over. 0 (and the board
// left as it is) when slot 908 is taken or there is no player.
int battle_start_random(PlayerRecord* player);
// A set battle against k (1..4) rows of the member data table, aimed, lost games end at the
// title. 0 when k or a row is out of range, slot 908 is taken or there is no player.
int battle_start_set(PlayerRecord* player, int k, const int32_t* rows);

// The live battle's record, or null.
BattleRecord* battle_find();

// The steps; other code compares a battle's step with these.
void battle_opening(BattleRecord& r);
void battle_turn_message(BattleRecord& r);
void battle_spin(BattleRecord& r);
void battle_computer_aim(BattleRecord& r);
void battle_foe_aim(BattleRecord& r);
void battle_stop(BattleRecord& r);
void battle_settle(BattleRecord& r);
void battle_strike(BattleRecord& r);
void battle_idle(BattleRecord& r);
void battle_result(BattleRecord& r);

// Parts of a bout that tests drive on their own.
void battle_bout_setup(BattleRecord& r);
void battle_gauges_move(BattleRecord& r);
void gauge_move(Gauge& g, bool attack);
// Moves a reel of count cards up one step; a card that leaves the window's top re-enters
// below the last. card becomes the index of the card standing in the window.
void reel_move(int32_t* tops, int count, int32_t& card);
// One frame of settling; true once a card stands exactly at the window's top.
bool reel_settle(int32_t* tops, int count, int32_t& card);
void reel_reset(int32_t* tops, int count);
// Striker's attack gauge minus defender's defence gauge, at least 1.
int32_t battle_damage(const BattleRecord& r);
// Applies damage d of the current side: hit points and the result lines.
void battle_apply_strike(BattleRecord& r, int32_t d);

// Glyph lists: appends the list (count glyphs) after the line's last glyph; a full line
// takes nothing more. Numbers go in as their decimal digits, glyph 129 + d each.
void glyphs_append(int32_t* line, const int32_t* list, int count);
void glyphs_append_number(int32_t* line, int32_t value);

void battle_update(Task* t);
void battle_draw(Task* t);

}  // namespace tessaly
