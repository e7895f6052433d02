#include "autoplay.hpp"

#include <cstdio>
#include <cstring>

#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "event/event_runner.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "render/transforms.hpp"
#include "scene/field_menu.hpp"
#include "scene/item_scene.hpp"
#include "scene/shop.hpp"
#include "scene/title.hpp"
#include "state/character_select.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

// A turn that has not ended after this many ticks is a stall.
constexpr int kStallTicks = 20000;
// Hit points below this share of the maximum send the player to its healing items; a
// guardian is fought only with at least this share.
constexpr int kHealPercent = 60;
constexpr int kNoSquare = -1;
// Frames the battle policy looks ahead for the gauges' best moment.
constexpr int kGaugeHorizon = 240;
// The quest as Ord tells it: each crest's bit, the square where its guardian waits, and the
// request whose completion opens the way there (0: always open).
struct Crest {
    int32_t bit;
    int square;
    int opened_by;
};
constexpr Crest kCrests[] = {{1, 12, 0}, {2, 20, 2}, {4, 23, 3}, {8, 25, 0}};
constexpr int kCastleSquare = 27;
// Option labels of the scripts' choices: a guardian's fight, a request's acceptance.
constexpr char kFightLabel[] = "fight";

constexpr float kDirections[4] = {kDirectionEast, kDirectionWest, kDirectionSouth, kDirectionNorth};
constexpr int kDirectionKey[4] = {kKeyRight, kKeyLeft, kKeyDown, kKeyUp};

// The squares one walk can reach from a cell: for each direction, the square the corridor
// leads to (or kNoSquare), found with the game's own corridor rules.
struct Exits {
    int to[4];
};

struct Policy {
    int character = 0;
    bool last[kKeyCount] = {};
    bool held[kKeyCount] = {};
    // Squares landed on by the human player, by cell.
    unsigned char landed[kGridCells] = {};
    int goal_cell = kNoSquare;
    bool healing = false;  // on the way through the field menu to a healing item
    bool bought_this_visit = false;
    bool shop_seen = false;
    bool ending = false;  // the end picture or the credits have been seen, the title not yet
    // What the player remembers of the shops it has seen: the items each square sells.
    int shop_cells[kSquareCount] = {};
    int32_t shop_items[kSquareCount][kShopItemsMax] = {};
    int shop_item_counts[kSquareCount] = {};
    int shops_known = 0;
    AutoplayFigures fig;
    // Observation of the last tick.
    PlayerStep prev_state[3] = {};
    int turn_began[3] = {};
    int last_turn_end = 0;
    bool battle_live = false;
    int battle_slot = 0;
    int32_t battle_player_hp = 0, battle_foe_hp = 0;
    int32_t prev_team[3] = {};
    int32_t prev_item_count[3] = {};
    int32_t prev_character[3] = {};
    bool players_live = false;
};

Policy g_policy;

void press(int key) {
    // A key held in the last tick must be let go first, or the game sees no new press.
    if (g_policy.last[key]) return;
    g_policy.held[key] = true;
}

int grid_cell(float x, float z) {
    return cell_index_at(x, z);
}

void cell_world(int cell, float& x, float& z) {
    const int column = cell % kGridSize;
    const int row = cell / kGridSize;
    x = static_cast<float>(2 * column - kGridSize + 1);
    z = static_cast<float>(kGridSize - 2 * row - 1);
}

// Follows a corridor from a cell in a direction as a walker does; the square cell it stops
// on, or kNoSquare for a blocked direction or a corridor that ends nowhere.
int walk_to_square(int from, float direction) {
    float x, z;
    cell_world(from, x, z);
    if (!terrain_passable_toward(x, z, direction)) return kNoSquare;
    float facing = direction;
    for (int n = 0; n < 4 * kGridSize; ++n) {
        step_axis(x, z, facing, kCellSize);
        const int cell = grid_cell(x, z);
        if (square_at(cell) >= kSquareFirst) return cell;
        corridor_turn(x, z, facing);
    }
    return kNoSquare;
}

Exits exits_of(int cell) {
    Exits e;
    for (int d = 0; d < 4; ++d) e.to[d] = walk_to_square(cell, kDirections[d]);
    return e;
}

// Breadth-first search over squares from a cell: distances in steps (squares reached) and
// the first direction taken toward each square.
struct Search {
    int cells[kSquareCount * 4 + 8];
    int dist[kSquareCount * 4 + 8];
    int first_dir[kSquareCount * 4 + 8];
    int count = 0;
    int index_of(int cell) const {
        for (int i = 0; i < count; ++i) {
            if (cells[i] == cell) return i;
        }
        return -1;
    }
};

void search_from(int start, Search& s) {
    s.count = 0;
    s.cells[0] = start;
    s.dist[0] = 0;
    s.first_dir[0] = -1;
    s.count = 1;
    for (int head = 0; head < s.count; ++head) {
        const Exits e = exits_of(s.cells[head]);
        for (int d = 0; d < 4; ++d) {
            const int to = e.to[d];
            if (to == kNoSquare || s.index_of(to) >= 0) continue;
            if (s.count >= static_cast<int>(sizeof s.cells / sizeof s.cells[0])) return;
            s.cells[s.count] = to;
            s.dist[s.count] = s.dist[head] + 1;
            s.first_dir[s.count] = head == 0 ? d : s.first_dir[head];
            s.count += 1;
        }
    }
}

PlayerRecord* human_player() {
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        PlayerRecord* p = player_in_slot(s);
        if (p && p->computer == 0) return p;
    }
    return nullptr;
}

bool carries(const PlayerRecord& p, int32_t item) {
    for (int32_t i : p.items) {
        if (i == item) return true;
    }
    return false;
}

int heal_slot(const PlayerRecord& p) {
    for (int i = 0; i < kItemSlots; ++i) {
        const int32_t id = p.items[i];
        if (id > 0 && id < kItemRows && g_game.items[id].use == kItemUseHeal) return i;
    }
    return -1;
}

bool healthy_for_a_fight(const PlayerRecord& p) {
    return p.hit_points * 100 >= p.max_hit_points * kHealPercent;
}

bool wants_healing(const PlayerRecord& p) {
    return p.hit_points * 100 < p.max_hit_points * kHealPercent && heal_slot(p) >= 0;
}

bool shop_sells(int shop, int32_t item) {
    for (int i = 0; i < g_policy.shop_item_counts[shop]; ++i) {
        if (g_policy.shop_items[shop][i] == item) return true;
    }
    return false;
}

// The nearest square of the search on which a known shop sells the item; -1 if none.
int nearest_shop_with(const Search& s, int32_t item) {
    int best = -1;
    for (int k = 0; k < g_policy.shops_known; ++k) {
        if (!shop_sells(k, item)) continue;
        const int i = s.index_of(g_policy.shop_cells[k]);
        if (i > 0 && (best < 0 || s.dist[i] < s.dist[best])) best = i;
    }
    return best;
}

// The nearest square of the search with the square number; -1 if none.
int nearest_square_numbered(const Search& s, int number) {
    for (int i = 1; i < s.count; ++i) {
        if (square_at(s.cells[i]) == number) return i;
    }
    return -1;
}

int32_t known_heal_item() {
    for (int k = 0; k < g_policy.shops_known; ++k) {
        for (int i = 0; i < g_policy.shop_item_counts[k]; ++i) {
            const int32_t id = g_policy.shop_items[k][i];
            if (id > 0 && id < kItemRows && g_game.items[id].use == kItemUseHeal) return id;
        }
    }
    return 0;
}

int quest_goal(const PlayerRecord& p, const Search& s);

// A purpose before wandering: a request's item from a shop that sells it, the request's giver
// once the item is carried, healing items when none are left. -1 when there is none.
int purposeful_goal(const PlayerRecord& p, const Search& s) {
    if (p.team_number > 0 && p.team_number < kRequestRows) {
        const RequestRecord& q = g_game.requests[p.team_number];
        if (q.kind == kRequestKindItem && q.item_id > 0 && !carries(p, q.item_id)) {
            const int shop = nearest_shop_with(s, q.item_id);
            if (shop > 0 && g_game.items[q.item_id].price <= p.money) return shop;
        } else if (q.square >= kSquareFirst) {
            const int giver = nearest_square_numbered(s, q.square);
            if (giver > 0) return giver;
        }
    }
    if (heal_slot(p) < 0) {
        const int32_t heal = known_heal_item();
        if (heal > 0 && g_game.items[heal].price <= p.money) {
            const int shop = nearest_shop_with(s, heal);
            if (shop > 0) return shop;
        }
    }
    return quest_goal(p, s);
}

int stage_of(int square) {
    return square >= 1 && square <= kSquareCount ? g_game.event_stage[square - 1] : 0;
}

bool request_held_by_anyone(int request) {
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        const PlayerRecord* p = player_in_slot(s);
        if (p && p->team_number == request) return true;
    }
    return false;
}

// The story's next place: the castle once it stands, else the nearest guardian whose way is
// open, else the giver of a request that would open a way and that nobody holds. -1 when
// the search reaches none of them.
int quest_goal(const PlayerRecord& p, const Search& s) {
    if (stage_of(kCastleSquare) >= 1) {
        const int castle = nearest_square_numbered(s, kCastleSquare);
        if (castle > 0) return castle;
    }
    int best = -1;
    for (const Crest& c : kCrests) {
        if (p.achievement_bits & c.bit) continue;
        // A locked gate runs its script at stage 0; the guardian stands from stage 1.
        if (c.opened_by && stage_of(c.square) < 1) continue;
        const int i = nearest_square_numbered(s, c.square);
        if (i > 0 && (best < 0 || s.dist[i] < s.dist[best])) best = i;
    }
    if (best > 0) return best;
    if (p.team_number > 0) return -1;
    for (const Crest& c : kCrests) {
        if (!c.opened_by || (p.achievement_bits & c.bit) || stage_of(c.square) >= 1) continue;
        if (request_held_by_anyone(c.opened_by)) continue;
        const int i = nearest_square_numbered(s, g_game.requests[c.opened_by].square);
        if (i > 0 && (best < 0 || s.dist[i] < s.dist[best])) best = i;
    }
    return best;
}

// The goal square: the nearest square not landed on yet; once all have been, any other.
int choose_goal(const Search& s) {
    int best = -1;
    for (int i = 1; i < s.count; ++i) {
        if (g_policy.landed[s.cells[i]]) continue;
        if (best < 0 || s.dist[i] < s.dist[best]) best = i;
    }
    if (best < 0) {
        std::memset(g_policy.landed, 0, sizeof g_policy.landed);
        return s.count > 1 ? s.cells[s.count - 1] : kNoSquare;
    }
    return s.cells[best];
}

// The face the die should stop on: the exact distance to the goal when the die can give it.
int wanted_face(const PlayerRecord& p) {
    Search s;
    search_from(grid_cell(p.position.x, p.position.z), s);
    int i = purposeful_goal(p, s);
    if (i > 0) g_policy.goal_cell = s.cells[i];
    if (i <= 0) i = g_policy.goal_cell == kNoSquare ? -1 : s.index_of(g_policy.goal_cell);
    if (i <= 0) {
        g_policy.goal_cell = choose_goal(s);
        i = g_policy.goal_cell == kNoSquare ? -1 : s.index_of(g_policy.goal_cell);
    }
    if (i <= 0) return kDieFaces;
    return s.dist[i] <= kDieFaces ? s.dist[i] : kDieFaces;
}

void play_die(PlayerRecord& p) {
    if (wants_healing(p)) {
        g_policy.healing = true;
        press(kKeyShift);
        return;
    }
    const int face = wanted_face(p);
    // The die turns one face on before the press is read.
    if (p.steps_left % kDieFaces + 1 == face) press(kKeyEnter);
}

void play_direction(PlayerRecord& p) {
    const int here = grid_cell(p.position.x, p.position.z);
    Search s;
    search_from(here, s);
    int i = g_policy.goal_cell == kNoSquare ? -1 : s.index_of(g_policy.goal_cell);
    int dir = i > 0 ? s.first_dir[i] : -1;
    if (dir < 0) {
        // No way to the goal: any open direction but straight back.
        const int back = p.history_count >= 1 ? p.history[p.history_count - 1] : -1;
        const Exits e = exits_of(here);
        for (int d = 0; d < 4 && dir < 0; ++d) {
            if (e.to[d] != kNoSquare && e.to[d] != back) dir = d;
        }
        for (int d = 0; d < 4 && dir < 0; ++d) {
            if (e.to[d] != kNoSquare) dir = d;
        }
    }
    if (dir >= 0) press(kDirectionKey[dir]);
}

void play_board(PlayerRecord& p) {
    if (p.state == &die_spin) {
        play_die(p);
    } else if (p.state == &choose_direction) {
        play_direction(p);
    }
}

// The damage a stop in the coming frame would deal, and the best the gauges reach within
// the horizon.
void play_battle(BattleRecord& r) {
    if (!r.player || r.player->computer) return;
    if (r.step == &battle_opening || r.step == &battle_turn_message || r.step == &battle_result) {
        press(kKeyEnter);
        return;
    }
    if (r.step != &battle_spin || r.side != 0) return;
    Gauge attack = r.player_attack;
    Gauge defence = r.foe_defence;
    gauge_move(attack, true);
    gauge_move(defence, false);
    const int32_t next = attack.value - defence.value;
    int32_t best = next;
    for (int i = 0; i < kGaugeHorizon; ++i) {
        gauge_move(attack, true);
        gauge_move(defence, false);
        if (attack.value - defence.value > best) best = attack.value - defence.value;
    }
    if (next >= best) press(kKeyEnter);
}

int32_t shop_wanted_item(const ShopRecord& r) {
    const PlayerRecord& p = *r.player;
    if (p.team_number > 0 && p.team_number < kRequestRows) {
        const RequestRecord& q = g_game.requests[p.team_number];
        if (q.kind == kRequestKindItem && q.item_id > 0 && !carries(p, q.item_id)) return q.item_id;
    }
    if (heal_slot(p) < 0) {
        for (int i = 0; i < r.count; ++i) {
            const int32_t id = r.items[i];
            if (id > 0 && id < kItemRows && g_game.items[id].use == kItemUseHeal &&
                g_game.items[id].price <= p.money)
                return id;
        }
    }
    return 0;
}

void move_cursor(int32_t cursor, int32_t wanted) {
    if (cursor < wanted)
        press(kKeyDown);
    else if (cursor > wanted)
        press(kKeyUp);
    else
        press(kKeyEnter);
}

void remember_shop(const ShopRecord& r) {
    Policy& g = g_policy;
    const int cell = grid_cell(r.player->position.x, r.player->position.z);
    int k = 0;
    while (k < g.shops_known && g.shop_cells[k] != cell) ++k;
    if (k == kSquareCount) return;
    if (k == g.shops_known) g.shops_known += 1;
    g.shop_cells[k] = cell;
    g.shop_item_counts[k] = r.count < kShopItemsMax ? r.count : kShopItemsMax;
    for (int i = 0; i < g.shop_item_counts[k]; ++i) g.shop_items[k][i] = r.items[i];
}

void play_shop(ShopRecord& r) {
    if (!r.player || r.player->computer) return;
    remember_shop(r);
    const int32_t wanted = g_policy.bought_this_visit ? 0 : shop_wanted_item(r);
    int at = -1;
    for (int i = 0; i < r.count; ++i) {
        if (r.items[i] == wanted) at = i;
    }
    if (r.step == &shop_menu) {
        move_cursor(r.menu_cursor, wanted && at >= 0 ? kShopMenuBuy : kShopMenuLeave);
    } else if (r.step == &buy_list) {
        if (wanted && at >= 0)
            move_cursor(r.list_cursor, at);
        else
            press(kKeyEsc);
    } else if (r.step == &buy_confirm || r.step == &leave_confirm) {
        if (r.step == &buy_confirm && r.choice == 1) g_policy.bought_this_visit = true;
        move_cursor(r.choice, 1);
    } else if (r.step == &buy_refused) {
        g_policy.bought_this_visit = true;
        press(kKeyEnter);
    } else {
        press(kKeyEsc);
    }
}

void play_field_menu(FieldMenuRecord& r) {
    if (r.step != &field_menu_select) return;
    const PlayerRecord* p = r.player;
    if (!g_policy.healing || !p || !wants_healing(*p)) {
        g_policy.healing = false;
        press(kKeyEsc);
        return;
    }
    const int column = kFieldMenuUseItem % kFieldMenuColumns;
    const int row = kFieldMenuUseItem / kFieldMenuColumns;
    if (r.row != row)
        press(r.row < row ? kKeyDown : kKeyUp);
    else if (r.column != column)
        press(kKeyLeft);
    else
        press(kKeyEnter);
}

void play_item_scene(ItemSceneRecord& r) {
    const PlayerRecord* p = r.player;
    if (r.step == &item_use_confirm) {
        move_cursor(r.choice, 1);
        return;
    }
    if (r.step != &item_list_select || !p || r.mode != kItemSceneUse || !wants_healing(*p)) {
        g_policy.healing = false;
        press(kKeyEsc);
        return;
    }
    move_cursor(r.cursor, heal_slot(*p));
}

// Messages go on with Enter; a choice is answered for the human player: a guardian is
// fought when the player is healthy enough, every other choice takes its first option.
void play_event(EventRunnerRecord& r) {
    const PlayerRecord* p = r.player;
    if (r.state != &runner_choice || !p || p->computer) {
        press(kKeyEnter);
        return;
    }
    const bool fight = std::strcmp(r.labels[1], kFightLabel) == 0 && healthy_for_a_fight(*p);
    move_cursor(r.choice, fight ? 1 : 0);
}

void play_title(TitleRecord& r) {
    if (r.step != &title_menu) return;
    const int column = kTitleNewGame % kTitleColumns;
    const int row = kTitleNewGame / kTitleColumns;
    if (r.row != row)
        press(kKeyUp);
    else if (r.column != column)
        press(kKeyLeft);
    else
        press(kKeyEnter);
}

void play_select(CharacterSelectRecord& r) {
    if (r.step != &select_wait) return;
    for (const WheelEntry& e : r.entries) {
        if (e.character_id != g_policy.character) continue;
        if (e.angle == kWheelFront)
            press(kKeyEnter);
        else
            press(kKeyRight);
    }
}

Task* live(int slot, int kind) {
    Task* t = &task_pool()[slot];
    return t->in_use && t->kind == kind ? t : nullptr;
}

void decide() {
    Task* pool = task_pool();
    if (!pool) return;
    if (Task* t = live(kSlotItemScene, kKindItemScene)) {
        play_item_scene(task_record<ItemSceneRecord>(t));
    } else if (pool[kSlotFieldMenu].in_use &&
               pool[kSlotFieldMenu].update_fn == &field_menu_update) {
        play_field_menu(task_record<FieldMenuRecord>(&pool[kSlotFieldMenu]));
    } else if (Task* t = live(kSlotShop, kKindShop)) {
        play_shop(task_record<ShopRecord>(t));
    } else if (BattleRecord* b = battle_find()) {
        play_battle(*b);
    } else if (pool[kSlotSaveMenu].in_use || pool[kSlotPauseMenu].in_use) {
        press(kKeyEsc);
    } else if (Task* t = live(kSlotTitle, kKindTitle)) {
        // After the credits the player starts the next game, as a long run wants.
        play_title(task_record<TitleRecord>(t));
    } else if (pool[kSlotSelectWheel].in_use &&
               pool[kSlotSelectWheel].update_fn == &select_update) {
        play_select(task_record<CharacterSelectRecord>(&pool[kSlotSelectWheel]));
    } else if (EventRunnerRecord* e = event_runner_find()) {
        play_event(*e);
    } else if (event_running() || pool[kSlotEndPicture].in_use || pool[kSlotCredits].in_use) {
        // Messages go on with Enter.
        press(kKeyEnter);
    } else if (PlayerRecord* p = human_player()) {
        play_board(*p);
    }
}

int slot_of(const PlayerRecord* p) {
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        if (player_in_slot(s) == p) return s - kSlotPlayersFirst;
    }
    return -1;
}

int item_count(const PlayerRecord& p, int32_t item) {
    int n = 0;
    for (int32_t i : p.items) n += (item > 0 && i == item) ? 1 : 0;
    return n;
}

void observe_players(int tick) {
    Policy& g = g_policy;
    bool any = false;
    for (int i = 0; i < 3; ++i) {
        PlayerRecord* p = player_in_slot(kSlotPlayersFirst + i);
        if (!p) {
            g.prev_state[i] = nullptr;
            continue;
        }
        any = true;
        const PlayerStep was = g.prev_state[i];
        if (p->state != was) {
            const bool begins =
                p->state == &turn_start ||
                (was == &turn_waiting && p->state != &turn_waiting && was != nullptr);
            if (begins && was != &turn_start) {
                g.fig.turns[i] += 1;
                g.turn_began[i] = tick;
            }
            if (p->state == &turn_waiting && was != nullptr && g.turn_began[i] > 0) {
                const int length = tick - g.turn_began[i];
                if (length > g.fig.longest_turn) {
                    g.fig.longest_turn = length;
                    g.fig.longest_turn_at = g.turn_began[i];
                }
                g.turn_began[i] = 0;
                g.last_turn_end = tick;
            }
            if (p->computer == 0 && p->state == &event_wait) {
                g.landed[grid_cell(p->position.x, p->position.z)] = 1;
                if (grid_cell(p->position.x, p->position.z) == g.goal_cell) g.goal_cell = kNoSquare;
            }
            g.prev_state[i] = p->state;
        }
        // Requests: taken when the team number appears; completed when it goes together
        // with one of the wanted items.
        const int32_t team = p->team_number;
        const int32_t was_team = g.prev_team[i];
        if (was_team != team) {
            if (team > 0 && p->character_id >= 0 && p->character_id < 3)
                g.fig.requests_taken[p->character_id] += 1;
            if (was_team > 0 && was_team < kRequestRows) {
                const int32_t item = g_game.requests[was_team].item_id;
                if (item_count(*p, item) < g.prev_item_count[i] && p->character_id >= 0 &&
                    p->character_id < 3)
                    g.fig.requests_completed[p->character_id] += 1;
            }
        }
        g.prev_team[i] = team;
        g.prev_item_count[i] =
            team > 0 && team < kRequestRows ? item_count(*p, g_game.requests[team].item_id) : 0;
    }
    if (any && !g.players_live) {
        g.fig.new_games += 1;
        g.last_turn_end = tick;
        std::memset(g.landed, 0, sizeof g.landed);
        g.goal_cell = kNoSquare;
        g.shops_known = 0;
        for (int32_t& t : g.prev_team) t = 0;
    }
    g.players_live = any;
}

void observe_battle() {
    Policy& g = g_policy;
    BattleRecord* b = battle_find();
    if (b) {
        if (!g.battle_live) g.battle_slot = slot_of(b->player);
        g.battle_live = true;
        g.battle_player_hp = b->player_hp;
        g.battle_foe_hp = b->foe_hp;
        return;
    }
    if (!g.battle_live) return;
    g.battle_live = false;
    if (g.battle_slot < 0) return;
    if (g.battle_foe_hp <= 0)
        g.fig.battles_won[g.battle_slot] += 1;
    else if (g.battle_player_hp <= 0)
        g.fig.battles_lost[g.battle_slot] += 1;
}

}  // namespace

void autoplay_begin(int character_id) {
    g_policy = Policy();
    g_policy.character = character_id;
}

void autoplay_keys(bool held[kKeyCount]) {
    std::memset(g_policy.held, 0, sizeof g_policy.held);
    decide();
    std::memcpy(held, g_policy.held, sizeof g_policy.held);
    std::memcpy(g_policy.last, g_policy.held, sizeof g_policy.held);
}

void autoplay_observe(int tick) {
    Policy& g = g_policy;
    g.fig.ticks = tick;
    Task* pool = task_pool();
    if (!pool) return;
    observe_players(tick);
    observe_battle();
    if (!live(kSlotShop, kKindShop)) g.bought_this_visit = false;
    const bool end_picture = live(kSlotEndPicture, kKindEndPicture) != nullptr;
    const bool credits = live(kSlotCredits, kKindCredits) != nullptr;
    if (end_picture && g.fig.end_picture_tick == 0) g.fig.end_picture_tick = tick;
    if (credits && g.fig.credits_tick == 0) g.fig.credits_tick = tick;
    if (end_picture || credits) g.ending = true;
    // The title after an ending (a lost set battle also leads there, without one).
    if (g.ending && live(kSlotTitle, kKindTitle)) {
        g.ending = false;
        g.fig.endings += 1;
        if (g.fig.back_at_title_tick == 0) g.fig.back_at_title_tick = tick;
    }
    if (g.players_live && g.fig.stalled_at == 0 && tick - g.last_turn_end > kStallTicks)
        g.fig.stalled_at = tick;
}

const AutoplayFigures& autoplay_figures() {
    return g_policy.fig;
}

std::string autoplay_report() {
    const AutoplayFigures& f = g_policy.fig;
    char text[1024];
    std::snprintf(text, sizeof text,
                  "autoplay ticks %d new_games %d\n"
                  "autoplay turns %d %d %d longest_turn %d at %d\n"
                  "autoplay battles won %d %d %d lost %d %d %d\n"
                  "autoplay requests taken %d %d %d completed %d %d %d\n"
                  "autoplay end_picture %d credits %d title %d stalled %d\n"
                  "autoplay endings %d\n",
                  f.ticks, f.new_games, f.turns[0], f.turns[1], f.turns[2], f.longest_turn,
                  f.longest_turn_at, f.battles_won[0], f.battles_won[1], f.battles_won[2],
                  f.battles_lost[0], f.battles_lost[1], f.battles_lost[2], f.requests_taken[0],
                  f.requests_taken[1], f.requests_taken[2], f.requests_completed[0],
                  f.requests_completed[1], f.requests_completed[2], f.end_picture_tick,
                  f.credits_tick, f.back_at_title_tick, f.stalled_at, f.endings);
    return text;
}

}  // namespace tessaly
