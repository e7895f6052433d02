#include "event/event_commands.hpp"

#include <cstring>

#include "app/random.hpp"
#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "event/ending.hpp"
#include "event/event_actors.hpp"
#include "event/event_pack.hpp"
#include "event/event_runner.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "scene/shop.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"
#include "state/progress.hpp"
#include "state/requests.hpp"

namespace tessaly {
namespace {

constexpr int32_t kMessageCountdown = 20;

bool square_valid(int32_t n) {
    return n >= kSquareFirst && n <= kSquareLast;
}

bool stage_valid(int32_t s) {
    return s >= 0 && s < kEventStages;
}

bool row_valid(int32_t n) {
    return n >= 0 && n < kRequestRows;
}

void lines_clear(EventRunnerRecord& r) {
    std::memset(r.source_lines, 0, sizeof r.source_lines);
    std::memset(r.shown_lines, 0, sizeof r.shown_lines);
    r.reveal_line = 0;
    r.reveal_glyph = 0;
    r.countdown = kMessageCountdown;
}

void jump_if(EventRunnerRecord& r, const unsigned char* script, bool condition, const char* label) {
    if (condition) jump_to_label(r, script, label);
}

int32_t live_players_achievements() {
    int32_t bits = 0;
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        if (const PlayerRecord* p = player_in_slot(s)) bits |= p->achievement_bits;
    }
    return bits;
}

void players_draw_flag(int flag) {
    Task* pool = task_pool();
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        if (player_in_slot(s)) pool[s].draw = flag;
    }
}

void terrain_change(int32_t column, int32_t row, int32_t value) {
    float x = static_cast<float>(column);
    float z = static_cast<float>(row);
    map_to_world(x, z);
    const int cell = cell_index_at(x, z);
    // A cell off the grid is refused rather than written past the layer.
    if (!g_game.terrain_layer || cell < 0 || cell >= kGridCells) return;
    g_game.terrain_layer[cell] = static_cast<int8_t>(value & 0xFF);
}

// Command 30: the player takes the request and one of its routes, chosen at random.
void request_take_command(EventRunnerRecord& r, int32_t& p, const unsigned char* s) {
    const int32_t row = script_read_number(p, s);
    const bool taken = r.player && request_take(*r.player, row) != 0;
    const int32_t m = script_read_number(p, s);
    int32_t routes[kRoutesMax] = {};
    // Routes past the twelfth are passed over by the search for the next command.
    const int count = m < kRoutesMax ? m : kRoutesMax;
    for (int i = 0; i < count; ++i) routes[i] = script_read_number(p, s);
    if (!taken) return;
    PlayerRecord& player = *r.player;
    player.route_number = 0;
    player.route_die_step = 0;
    player.route_direction_step = 0;
    if (count >= 1) player.route_number = routes[random_below(count)];
}

// Command 34: the player hands the request in, ends the one it holds and is paid.
void request_complete_command(EventRunnerRecord& r, int32_t row) {
    if (!r.player || !row_valid(row)) return;
    PlayerRecord& player = *r.player;
    const RequestRecord& request = g_game.requests[row];
    request_hand_in(player, row);
    gain_money(player, request.reward_money);
    gain_experience(player, request.reward_exp);
}

// Command 18: up to four movers; the first step is taken in the command's own frame.
int actor_move_command(EventRunnerRecord& r, int32_t& p, const unsigned char* s) {
    const int32_t k = script_read_number(p, s);
    const int count = k < kMoversMax ? k : kMoversMax;
    for (int i = 0; i < count; ++i) {
        r.mover_ids[i] = script_read_number(p, s);
        r.mover_directions[i] = script_read_number(p, s);
        r.mover_frames[i] = script_read_number(p, s);
    }
    r.mover_count = count;
    runner_movers_step(r);
    return kCodeActorMove;
}

void actor_place_command(int32_t& p, const unsigned char* s) {
    const int32_t column = script_read_number(p, s);
    const int32_t row = script_read_number(p, s);
    const int32_t angle = script_read_number(p, s);
    const int32_t model = script_read_number(p, s);
    const int32_t id = script_read_number(p, s);
    actor_place(column, row, static_cast<float>(angle), model, id);
}

int set_battle_command(EventRunnerRecord& r, int32_t& p, const unsigned char* s) {
    const int32_t k = script_read_number(p, s);
    int32_t rows[kSetBattleRowsMax] = {};
    const int count = k < kSetBattleRowsMax ? k : kSetBattleRowsMax;
    for (int i = 0; i < count; ++i) rows[i] = script_read_number(p, s);
    // More than four opponents is no battle; the wait then ends in the next frame.
    if (r.player && k <= kSetBattleRowsMax) battle_start_set(r.player, k, rows);
    return kCodeBattleWait;
}

int shop_command(EventRunnerRecord& r, int32_t& p, const unsigned char* s) {
    const int32_t c = script_read_number(p, s);
    int32_t items[kShopItemsMax] = {};
    const int count = c < kShopItemsMax ? c : kShopItemsMax;
    for (int i = 0; i < count; ++i) items[i] = script_read_number(p, s);
    if (r.player) shop_open(*r.player, items, count);
    return kCodeShopWait;
}

}  // namespace

void script_read_line(int32_t& position, const unsigned char* script, int32_t* line) {
    for (int stored = 0;;) {
        const int32_t g = script_read_number(position, script);
        if (g == 0) return;
        line[stored++] = g;
        if (stored == kMessageLineGlyphs) {
            script_read_number(position, script);
            return;
        }
    }
}

void script_read_label(int32_t& position, const unsigned char* script, char* label) {
    int kept = 0;
    while (position < kEventScriptTextMax) {
        const unsigned char c = script[position];
        if (c == 0) break;
        position += 1;
        if (c == ',') break;
        if (kept < kLabelTextMax) label[kept++] = static_cast<char>(c);
    }
    label[kept] = 0;
}

int event_command(EventRunnerRecord& r, const unsigned char* s, int number) {
    int32_t& p = r.read_position;
    switch (number) {
        case 1:
            r.window_shown = script_read_number(p, s) != 0 ? 1 : 0;
            return kCodeNext;
        case 2: {
            lines_clear(r);
            int32_t lines = script_read_number(p, s);
            // The window has three lines; more would be read past them.
            if (lines > kMessageLines) lines = kMessageLines;
            for (int l = 0; l < lines; ++l) script_read_line(p, s, r.source_lines[l]);
            return kCodeMessage;
        }
        case 3:
            r.portrait = script_read_number(p, s);
            return kCodeNext;
        case 4:
            lines_clear(r);
            r.choice = 0;
            for (int l = 0; l < kMessageLines; ++l) script_read_line(p, s, r.shown_lines[l]);
            script_read_label(p, s, r.labels[0]);
            script_read_label(p, s, r.labels[1]);
            return kCodeChoice;
        case 5:
            r.wait_frames = script_read_number(p, s);
            return kCodeFrameWait;
        case 6:
            if (g_game.settings[kSettingBattles] != 0 && r.player) battle_start_random(r.player);
            return kCodeBattleWait;
        case 7:
            return set_battle_command(r, p, s);
        case 10:
            return shop_command(r, p, s);
        case 11:
        case 17:
            actor_place_command(p, s);
            return kCodeNext;
        case 14: {
            const int32_t n = script_read_number(p, s);
            if (n >= 0 && n < kEffectCount) sound_request(n, 0);
            return kCodeNext;
        }
        case 15:
            jump_if(r, s, live_players_achievements() == kAllAchievements, kLabelAllAchieved);
            return kCodeNext;
        case 16:
            r.pan_direction = script_read_number(p, s);
            r.pan_frames = script_read_number(p, s);
            return kCodeCameraPan;
        case 18:
            return actor_move_command(r, p, s);
        case 19:
            actor_remove(script_read_number(p, s));
            return kCodeNext;
        case 20:
            jump_if(r, s, g_game.settings[kSettingBattles] == 0, kLabelNoBattles);
            return kCodeNext;
        case 21:
            players_draw_flag(script_read_number(p, s) != 0 ? 1 : 0);
            return kCodeNext;
        case 22: {
            const int32_t column = script_read_number(p, s);
            const int32_t row = script_read_number(p, s);
            terrain_change(column, row, script_read_number(p, s));
            return kCodeNext;
        }
        case 30:
            request_take_command(r, p, s);
            return kCodeActorMove;
        case 31:
            jump_if(r, s, request_is_taken(script_read_number(p, s)), kLabelRequested);
            return kCodeNext;
        case 32: {
            const int32_t n = script_read_number(p, s);
            jump_if(r, s, r.player && r.player->team_number != n, kLabelNoTeam);
            return kCodeNext;
        }
        case 33: {
            const int32_t n = script_read_number(p, s);
            jump_if(r, s, r.player && request_achieved(*r.player, n), kLabelAchieved);
            return kCodeNext;
        }
        case 34:
            request_complete_command(r, script_read_number(p, s));
            return kCodeNext;
        case 35: {
            const int32_t n = script_read_number(p, s);
            const int32_t stage = script_read_number(p, s);
            // A stage past the table's four columns would make the square's script unreadable.
            if (square_valid(n) && stage_valid(stage)) g_game.event_stage[n - 1] = stage;
            return kCodeNext;
        }
        case 36: {
            const int32_t n = script_read_number(p, s);
            jump_if(r, s, r.player && r.player->team_number > 0 && r.player->team_number != n,
                    kLabelOther);
            return kCodeNext;
        }
        case 37: {
            const int32_t bits = script_read_number(p, s);
            if (r.player) r.player->achievement_bits |= bits;
            return kCodeNext;
        }
        case 38: {
            const int32_t n = script_read_number(p, s);
            if (square_valid(n) && stage_valid(g_game.event_stage[n - 1])) {
                g_game.event_script[n - 1][g_game.event_stage[n - 1]] = 0;
            }
            return kCodeNext;
        }
        case 39: {
            const int32_t n = script_read_number(p, s);
            if (r.player && square_valid(n) && stage_valid(r.player->character_id)) {
                g_game.event_stage[n - 1] = r.player->character_id;
            }
            return kCodeNext;
        }
        case 40:
            event_runner_select_square(r, script_read_number(p, s));
            return kCodeNext;
        case 41:
            end_picture_start();
            return kCodeNext;
        case 42:
            // Ends the runner too: its slot is free when this update returns.
            task_end_all();
            credits_start();
            return kCodeNext;
        case 99:
            r.alive = 0;
            return kCodeNext;
        default:
            return kCodeNext;
    }
}

}  // namespace tessaly
