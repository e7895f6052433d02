#include "battle/battle.hpp"

#include <cstdio>
#include <string>

#include "app/debug_dump.hpp"
#include "app/keys.hpp"
#include "app/random.hpp"
#include "app/task_pool.hpp"
#include "battle/battle_stage.hpp"
#include "field/players.hpp"
#include "render/transforms.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"
#include "state/progress.hpp"
#include "state/requests.hpp"

namespace tessaly {
namespace {

constexpr int kRandomFoeRows[] = {12, 13, 14, 15, 16, 17};
constexpr int kBoutWaits[] = {20, 50, 30, 40, 60, 70};
constexpr int kComputerTargets[] = {10, 8, 9, 7, 10, 8};
constexpr int kFoeTargets[] = {10, 13, 11, 12};
constexpr int kAttackSpeed = 2;
constexpr int kDefenceSpeed = 1;

// clang-format off
constexpr int32_t kOpening[] = {157, 50, 153, 39, 16};
constexpr int32_t kPlayerTurn[] = {116, 123, 86, 128, 123, 25, 165, 166};
constexpr int32_t kFoeTurn[] = {157, 25, 165, 166};
constexpr int32_t kStrikeStart[] = {116, 123, 86, 128, 123, 26};
constexpr int32_t kStrikeEndPlayer[] = {25, 114, 101, 123, 117, 45, 156, 4, 16};
constexpr int32_t kStrikeEndFoes[] = {25, 114, 101, 123, 117, 45, 155, 9, 16};
constexpr int32_t kWin[] = {116, 123, 86, 128, 123, 26, 157, 45, 158, 12, 16};
constexpr int32_t kAfterMoney[] = {25, 5, 246, 20};
constexpr int32_t kAfterExperience[] = {25, 174, 175, 176, 45, 177, 16};
constexpr int32_t kLoss[] = {116, 123, 86, 128, 123, 26, 178, 179, 22, 315, 9, 16};
constexpr int32_t kLossSet[] = {118, 123, 100, 72, 123, 115, 123};
constexpr int32_t kLossRandom[] = {130, 162, 163, 32, 53, 13};
// clang-format on

// How the last battle of the run ended, for the dump: -1 none yet, 0 lost, 1 won.
int g_last_outcome = -1;

const char* step_name(BattleStep step) {
    struct Named {
        BattleStep step;
        const char* name;
    };
    static const Named kNames[] = {
        {&battle_opening, "opening"}, {&battle_turn_message, "turn_message"},
        {&battle_spin, "spin"},       {&battle_computer_aim, "computer_aim"},
        {&battle_foe_aim, "foe_aim"}, {&battle_stop, "stop"},
        {&battle_settle, "settle"},   {&battle_strike, "strike"},
        {&battle_idle, "idle"},       {&battle_result, "result"},
    };
    for (const Named& n : kNames) {
        if (n.step == step) return n.name;
    }
    return "unknown";
}

void battle_dump(std::string& out) {
    char line[160];
    if (const BattleRecord* r = battle_find()) {
        std::snprintf(line, sizeof line, "battle step %s side %d player hp %d/%d foe hp %d/%d\n",
                      step_name(r->step), r->side, r->player_hp, r->player_max_hp, r->foe_hp,
                      r->foe_max_hp);
        out += line;
    } else if (g_last_outcome >= 0) {
        out += g_last_outcome == 1 ? "battle over won\n" : "battle over lost\n";
    }
}

template <int N>
void append(int32_t* line, const int32_t (&list)[N]) {
    glyphs_append(line, list, N);
}

void message_clear(BattleRecord& r) {
    for (auto& line : r.message) {
        for (int32_t& g : line) g = 0;
    }
    r.message_line = 0;
}

void message_turn(BattleRecord& r) {
    message_clear(r);
    if (r.side == 0) {
        append(r.message[0], kPlayerTurn);
    } else {
        append(r.message[0], kFoeTurn);
    }
}

// Human players go on with Enter or Z; computer players after their pause of 70 frames.
bool player_goes_on(BattleRecord& r) {
    if (r.player->computer == 0) return key_confirm();
    if (r.timer <= 0) return true;
    r.timer -= 1;
    return false;
}

void gauge_speeds_reset(BattleRecord& r) {
    r.player_attack.speed = r.side == 0 ? kAttackSpeed : kDefenceSpeed;
    r.foe_attack.speed = r.side == 0 ? kDefenceSpeed : kAttackSpeed;
    r.player_defence.speed = kDefenceSpeed;
    r.foe_defence.speed = kDefenceSpeed;
}

void gauge_fill(Gauge& g, int32_t max) {
    g.max = max;
    g.value = max;
}

void board_pause() {
    task_signal_kind(kKindCamera, kSignalStopBoth);
    task_signal_kind(kKindMap, kSignalStopDraw);
    task_signal_kind(kKindPlayer, kSignalStopDraw);
}

void board_resume() {
    task_signal_kind(kKindCamera, kSignalResume);
    task_signal_kind(kKindMap, kSignalResume);
    task_signal_kind(kKindPlayer, kSignalResume);
}

void reel_settle_step(BattleRecord& r, bool one_card_shortcut) {
    bool settled;
    if (r.side == 0) {
        settled = reel_settle(r.player_reel, r.member_count, r.player_card);
    } else if (one_card_shortcut && r.foe_count == 1) {
        settled = true;
    } else {
        settled = reel_settle(r.foe_reel, r.foe_count, r.foe_card);
    }
    if (settled) {
        r.strike_wait = kStrikeWait;
        r.step = &battle_strike;
    }
}

void bout_end(BattleRecord& r) {
    r.side = 1 - r.side;
    message_clear(r);
    reel_reset(r.player_reel, r.member_count);
    reel_reset(r.foe_reel, r.foe_count);
    r.player_card = 0;
    r.foe_card = 0;
    r.timer = kBattleTimerReset;
    PlayerRecord& p = *r.player;
    if (r.player_hp <= 0) {
        g_last_outcome = 0;
        p.skip_turn = 1;
        p.hit_points = p.max_hit_points;
        request_end(p);
        board_resume();
        music_play(kTrackBoard);
        r.alive = 0;
        if (r.game_over == 1) {
            task_end_all();
            title_open();
        }
    } else if (r.foe_hp <= 0) {
        g_last_outcome = 1;
        p.hit_points = r.player_hp;
        gain_money(p, r.reward_money);
        gain_experience(p, r.reward_experience);
        board_resume();
        music_play(kTrackBoard);
        r.alive = 0;
    } else {
        message_turn(r);
        r.step = &battle_turn_message;
    }
}

// Both starts share everything after the choice of foes.
int battle_begin(PlayerRecord* player, const int32_t* rows, int count, int game_over) {
    if (!player) return 0;
    Task* t = task_alloc_at(kSlotBattle);
    if (!t) return 0;
    debug_dump_add_section(&battle_dump);
    board_pause();
    task_start(t, kKindBattle, &battle_update, &battle_draw);
    BattleRecord& r = task_record<BattleRecord>(t);
    r.alive = 1;
    r.player = player;
    r.game_over = game_over;
    r.aim = game_over;
    r.strike_wait = 0;
    r.member_count = kBattleMembers;
    r.foe_count = count;
    reel_reset(r.player_reel, r.member_count);
    reel_reset(r.foe_reel, r.foe_count);
    r.player_card = 0;
    r.foe_card = 0;
    r.side = 1;
    r.foe_hp = 0;
    for (int i = 0; i < count; ++i) {
        r.foes[i] = kMemberData[rows[i]];
        r.reward_money += r.foes[i].further[2];
        r.reward_experience += r.foes[i].further[3];
        r.foe_hp += game_over ? r.foes[i].value_b : r.foes[i].value_a;
    }
    r.foe_max_hp = r.foe_hp;
    for (int i = 0; i < kBattleMembers; ++i) r.members[i] = player->members[i].data;
    r.player_hp = player->hit_points;
    r.player_max_hp = player->max_hit_points;
    r.timer = kBattleTimerReset;
    message_clear(r);
    append(r.message[0], kOpening);
    r.step = &battle_opening;
    music_play(kTrackBattle);
    return 1;
}

}  // namespace

int battle_start_random(PlayerRecord* player) {
    if (!player || task_pool()[kSlotBattle].in_use) return 0;
    const int32_t row = kRandomFoeRows[random_below(6)];
    return battle_begin(player, &row, 1, 0);
}

int battle_start_set(PlayerRecord* player, int k, const int32_t* rows) {
    if (k < 1 || k > kBattleFoesMax || !rows) return 0;
    // A script naming a row outside the table gets no battle rather than a read past it.
    for (int i = 0; i < k; ++i) {
        if (rows[i] < 0 || rows[i] >= kMemberDataRows) return 0;
    }
    return battle_begin(player, rows, k, 1);
}

BattleRecord* battle_find() {
    Task* t = task_pool() ? &task_pool()[kSlotBattle] : nullptr;
    if (!t || !t->in_use || t->kind != kKindBattle) return nullptr;
    return &task_record<BattleRecord>(t);
}

void glyphs_append(int32_t* line, const int32_t* list, int count) {
    int at = 0;
    while (at < kBattleLineGlyphs && line[at] != 0) ++at;
    for (int i = 0; i < count && at < kBattleLineGlyphs; ++i) line[at++] = list[i];
}

void glyphs_append_number(int32_t* line, int32_t value) {
    // Values stay far below five digits; a negative one is shown as 0.
    int32_t digits[10];
    int n = 0;
    uint32_t v = value > 0 ? static_cast<uint32_t>(value) : 0;
    do {
        digits[n++] = 129 + static_cast<int32_t>(v % 10);
        v /= 10;
    } while (v != 0 && n < 10);
    int32_t list[10];
    for (int i = 0; i < n; ++i) list[i] = digits[n - 1 - i];
    glyphs_append(line, list, n);
}

void gauge_move(Gauge& g, bool attack) {
    g.value += g.speed;
    if (g.value <= 0) {
        g.value = 0;
        g.speed = attack ? kAttackSpeed : kDefenceSpeed;
    }
    if (g.value > g.max) {
        g.value = g.max;
        g.speed = attack ? -kAttackSpeed : -kDefenceSpeed;
    }
}

void battle_gauges_move(BattleRecord& r) {
    if (r.side == 0) {
        gauge_move(r.player_attack, true);
        gauge_move(r.foe_defence, false);
    } else {
        gauge_move(r.foe_attack, true);
        gauge_move(r.player_defence, false);
    }
}

void reel_reset(int32_t* tops, int count) {
    for (int i = 0; i < count; ++i) tops[i] = kReelTop + kCardHeight * i;
}

namespace {

void reel_card_move(int32_t* tops, int count, int i, int32_t& card) {
    tops[i] -= kReelStep;
    if (tops[i] + kCardHeight < kReelTop) tops[i] = count * kCardHeight - 196;
    if (tops[i] >= kReelTop && tops[i] < kReelTop + kCardHeight) card = i;
}

}  // namespace

void reel_move(int32_t* tops, int count, int32_t& card) {
    for (int i = 0; i < count; ++i) reel_card_move(tops, count, i, card);
}

bool reel_settle(int32_t* tops, int count, int32_t& card) {
    for (int i = 0; i < count; ++i) {
        if (tops[i] == kReelTop) {
            card = i;
            return true;
        }
        reel_card_move(tops, count, i, card);
    }
    return false;
}

void battle_bout_setup(BattleRecord& r) {
    r.player_card = 0;
    r.foe_card = 0;
    int32_t attack = 0, defence = 0;
    for (const MemberData& m : r.members) {
        attack += m.attack;
        defence += m.defence;
    }
    gauge_fill(r.player_attack, attack / kBattleMembers);
    gauge_fill(r.player_defence, defence / kBattleMembers);
    attack = 0;
    defence = 0;
    for (int i = 0; i < r.foe_count; ++i) {
        attack += r.foes[i].attack;
        defence += r.foes[i].defence;
    }
    gauge_fill(r.foe_attack, attack / r.foe_count);
    gauge_fill(r.foe_defence, defence / r.foe_count);
    const int i = random_below(6);
    const int extra = random_below(6);
    r.computer_wait = kBoutWaits[i] + extra;
    r.foe_wait = r.computer_wait;
    gauge_speeds_reset(r);
}

int32_t battle_damage(const BattleRecord& r) {
    const int32_t d = r.side == 0 ? r.player_attack.value - r.foe_defence.value
                                  : r.foe_attack.value - r.player_defence.value;
    return d < 1 ? 1 : d;
}

void battle_apply_strike(BattleRecord& r, int32_t d) {
    message_clear(r);
    int32_t& hp = r.side == 0 ? r.foe_hp : r.player_hp;
    hp -= d;
    append(r.message[0], kStrikeStart);
    glyphs_append_number(r.message[0], d);
    if (r.side == 0) {
        append(r.message[0], kStrikeEndPlayer);
    } else {
        append(r.message[0], kStrikeEndFoes);
    }
    if (hp < 0) hp = 0;
    if (r.player_hp <= 0) {
        append(r.message[1], kLoss);
        if (r.game_over == 1) {
            append(r.message[2], kLossSet);
        } else {
            append(r.message[2], kLossRandom);
        }
    } else if (r.foe_hp <= 0) {
        append(r.message[1], kWin);
        glyphs_append_number(r.message[2], r.reward_money);
        append(r.message[2], kAfterMoney);
        glyphs_append_number(r.message[2], r.reward_experience);
        append(r.message[2], kAfterExperience);
    }
}

void battle_opening(BattleRecord& r) {
    if (!player_goes_on(r)) return;
    message_turn(r);
    r.timer = kBattleTimerReset;
    r.step = &battle_turn_message;
}

void battle_turn_message(BattleRecord& r) {
    if (!player_goes_on(r)) return;
    r.step = &battle_spin;
    battle_bout_setup(r);
}

void battle_spin(BattleRecord& r) {
    battle_gauges_move(r);
    if (r.side == 0) {
        reel_move(r.player_reel, r.member_count, r.player_card);
        if (r.player->computer == 0) {
            if (key_confirm()) r.step = &battle_stop;
            return;
        }
        r.computer_wait -= 1;
        if (r.computer_wait == 0) {
            r.computer_target = kComputerTargets[random_below(6)];
            const int32_t reach = r.player_attack.max - r.foe_defence.max;
            if (reach < r.computer_target) r.computer_target = reach;
            r.step = &battle_computer_aim;
        }
        return;
    }
    r.foe_wait -= 1;
    if (r.foe_wait > 0) {
        // A single foe's card stays put while the reel spins.
        if (r.foe_count > 1) reel_move(r.foe_reel, r.foe_count, r.foe_card);
        return;
    }
    if (r.aim) {
        r.foe_target = kFoeTargets[random_below(4)];
        const int32_t reach = r.foe_attack.max - r.player_defence.max;
        if (reach < r.foe_target) r.foe_target = reach;
        r.step = &battle_foe_aim;
    } else {
        r.step = &battle_stop;
    }
}

void battle_computer_aim(BattleRecord& r) {
    battle_gauges_move(r);
    reel_move(r.player_reel, r.member_count, r.player_card);
    if (r.player_attack.value - r.foe_defence.value >= r.computer_target) r.step = &battle_settle;
}

void battle_foe_aim(BattleRecord& r) {
    battle_gauges_move(r);
    reel_move(r.foe_reel, r.foe_count, r.foe_card);
    if (r.foe_attack.value - r.player_defence.value >= r.foe_target) r.step = &battle_settle;
}

void battle_stop(BattleRecord& r) {
    reel_settle_step(r, true);
}

void battle_settle(BattleRecord& r) {
    reel_settle_step(r, false);
}

void battle_strike(BattleRecord& r) {
    r.strike_wait -= 1;
    if (r.strike_wait > 0) return;
    const int32_t d = battle_damage(r);
    // Without a stage to play the blow (slot 60 taken) the battle goes straight on to
    // the result rather than idling for a hand-back that never comes.
    r.step = battle_stage_open(&r, d) ? &battle_idle : &battle_result;
    battle_apply_strike(r, d);
    r.timer = kBattleTimerReset;
    gauge_speeds_reset(r);
}

void battle_idle(BattleRecord&) {}

void battle_result(BattleRecord& r) {
    if (r.message_line > kBattleMessageLines - 1 || r.message[r.message_line][0] == 0) {
        bout_end(r);
        return;
    }
    if (player_goes_on(r)) r.message_line += 1;
}

void battle_update(Task* t) {
    BattleRecord& r = task_record<BattleRecord>(t);
    r.step(r);
    if (r.alive == 0) {
        t->in_use = 0;
        camera_set(Vec3{0, 100, 0}, Vec3{0, 100, 0.1f});
    }
}

}  // namespace tessaly
