#include "state/requests.hpp"

#include "field/players.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

bool row_valid(int row) {
    return row >= 0 && row < kRequestRows;
}

}  // namespace

int request_take(PlayerRecord& player, int row) {
    // Row 0 stands for "no request" in a team number, so it cannot be held; a row past
    // the table is refused rather than written.
    if (row < 1 || row >= kRequestRows) return 0;
    RequestRecord& r = g_game.requests[row];
    r.taken = 1;
    r.holder = player.character_id;
    player.team_number = row;
    if (r.kind == kRequestKindItem) player.team_target = r.item_id;
    return 1;
}

bool request_is_taken(int row) {
    return row_valid(row) && g_game.requests[row].taken != 0;
}

bool request_achieved(const PlayerRecord& player, int row) {
    if (!row_valid(row)) return false;
    for (int32_t item : player.items) {
        if (item == g_game.requests[row].item_id) return true;
    }
    return false;
}

void request_hand_in(PlayerRecord& player, int row) {
    if (!row_valid(row)) return;
    for (int32_t& item : player.items) {
        if (item == g_game.requests[row].item_id) {
            item = 0;
            break;
        }
    }
    request_end(player);
}

void request_end(PlayerRecord& player) {
    const int t = player.team_number;
    if (t == 0) return;
    // A team number from a damaged save names no row: the player is still freed.
    if (row_valid(t)) {
        RequestRecord& r = g_game.requests[t];
        r.taken = 0;
        r.holder = kNoHolder;
        // Unused rows name square 0; only a real square has a stage to set back.
        if (r.square >= 1 && r.square <= kSquareCount) g_game.event_stage[r.square - 1] = 0;
    }
    player.team_number = 0;
    player.team_target = 0;
    player.route_number = 0;
    player.route_die_step = 0;
    player.route_direction_step = 0;
}

}  // namespace tessaly
