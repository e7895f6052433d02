#include "battle/battle_stage.hpp"

#include <cmath>
#include <cstdio>
#include <string>

#include "app/debug_dump.hpp"
#include "app/task_pool.hpp"
#include "battle/battle.hpp"
#include "render/primitives.hpp"
#include "render/sprites.hpp"
#include "render/textures.hpp"
#include "render/transforms.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

constexpr float kStageEye[3] = {0, 10, -20};
constexpr float kSideX = 20;
constexpr float kSpacing = 2;
constexpr float kStandY = 0.05f;
constexpr int kFinishFrames = 30;
constexpr float kFloorWest = -100;
constexpr float kFloorNorth = 100;
constexpr float kFloorCell = 2;
constexpr float kFloorCullRadius = 5;

template <class F>
void each_combatant(F&& f) {
    Task* pool = task_pool();
    for (int s = kSlotBattleFiguresFirst; s < kSlotBattleFiguresEnd; ++s) {
        Task* t = &pool[s];
        if (t->in_use && t->kind == kKindCombatant) f(task_record<CombatantRecord>(t));
    }
}

bool any_combatant_busy() {
    bool busy = false;
    each_combatant([&](CombatantRecord& c) { busy = busy || c.busy != 0; });
    return busy;
}

bool any_combatant_acting() {
    bool acting = false;
    each_combatant([&](CombatantRecord& c) { acting = acting || c.state != &combatant_idle; });
    return acting;
}

// Sets every combatant of a side sinking; true if there was one.
bool side_sink(int side) {
    bool any = false;
    each_combatant([&](CombatantRecord& c) {
        if (c.side != side) return;
        c.state = &combatant_sink;
        any = true;
    });
    return any;
}

CombatantRecord* combatant_create(float x, int side, const MemberData& data) {
    Task* t = task_alloc_in_range(kSlotBattleFiguresFirst, kSlotBattleFiguresEnd);
    if (!t) return nullptr;
    task_start(t, kKindCombatant, &combatant_update, &combatant_draw);
    CombatantRecord& c = task_record<CombatantRecord>(t);
    c.alive = 1;
    c.busy = 0;
    c.position = Vec3{x, kStandY, 0};
    c.side = side;
    c.facing = side == 0 ? 180.0f : 0.0f;
    c.pitch = 0;
    c.roll = 0;
    c.timer = 30;
    c.hop_step = 0;
    c.target = nullptr;
    c.state = &combatant_idle;
    c.data = data;
    return &c;
}

void floor_cell_draw(float x, float z, Texture* texture) {
    QuadVertex v[4];
    quad_vertex_set(v[0], x, 0, z, 0, 0);
    quad_vertex_set(v[1], x + kFloorCell, 0, z, 1, 0);
    quad_vertex_set(v[2], x + kFloorCell, 0, z - kFloorCell, 1, 1);
    quad_vertex_set(v[3], x, 0, z - kFloorCell, 0, 1);
    quad_draw(v, kColourOpaque, texture);
}

void stage_dump(std::string& out) {
    const StageRecord* s = stage_find();
    if (!s) return;
    char line[96];
    std::snprintf(line, sizeof line, "stage style %d pan done %d look at %.1f\n", s->style,
                  s->pan_done, static_cast<double>(s->look_at.x));
    out += line;
}

}  // namespace

int attack_style(const MemberData& data, int damage) {
    return damage < kStrongBlow ? data.further[0] : data.further[1];
}

float direction_toward(float x1, float z1, float x2, float z2) {
    // The rough pi is the one these angles were always measured with.
    const float dx = x2 - x1;
    const float dz = z2 - z1;
    float a = dx == 0 ? 1.570795f : std::atan(dz / dx);
    if ((dx <= 0 && dz <= 0) || (dx < 0 && dz > 0)) a += 3.14159f;
    return a * 180.0f / 3.14159f;
}

int battle_stage_open(BattleRecord* battle, int damage) {
    Task* t = task_alloc_at(kSlotBattleStage);
    if (!t) return 0;
    task_start(t, kKindBattleStage, &stage_update, &stage_draw);
    StageRecord& s = task_record<StageRecord>(t);
    s.alive = 1;
    s.eye = Vec3{kStageEye[0], kStageEye[1], kStageEye[2]};
    const bool foes_strike = battle->side == 1;
    s.look_at = Vec3{foes_strike ? -kSideX : kSideX, 0, 0};
    s.pan_step = foes_strike ? 1.0f : -1.0f;
    s.pan_done = 0;
    s.battle = battle;
    s.state = &stage_wait;
    s.countdown = kFinishFrames;
    s.style = combatants_create(battle, damage);
    debug_dump_add_section(&stage_dump);
    return 1;
}

int combatants_create(BattleRecord* battle, int damage) {
    CombatantRecord* members[kBattleMembers] = {};
    CombatantRecord* foes[kBattleFoesMax] = {};
    for (int q = 0; q < kBattleMembers; ++q) {
        const int row = (battle->player_card + q) % kBattleMembers;
        members[q] =
            combatant_create(kSideX + kSpacing * static_cast<float>(q), 0, battle->members[row]);
    }
    const int n = battle->foe_count;
    for (int q = 0; q < n; ++q) {
        const int row = (battle->foe_card + q) % n;
        foes[q] =
            combatant_create(-kSideX - kSpacing * static_cast<float>(q), 1, battle->foes[row]);
    }
    for (int q = 0; q < kBattleMembers; ++q) {
        if (members[q] && q < n) members[q]->target = foes[q];
        if (q < n && foes[q]) foes[q]->target = members[q];
    }
    CombatantRecord* attacker = battle->side == 1 ? foes[0] : members[0];
    if (!attacker) return -1;
    const int style = attack_style(attacker->data, damage);
    // A style the stage does not know leaves the attacker standing: the blow still lands.
    if (style < 0 || style >= kStyleCount) return -1;
    attacker->style = style;
    attacker->state = &combatant_start;
    if (style == kStyleThrow || style == kStyleChargeWithProp) prop_create_held(attacker);
    return style;
}

void combatants_signal(int side, int timer, CombatantStep state) {
    each_combatant([&](CombatantRecord& c) {
        if (c.side != side) return;
        c.timer = timer;
        c.state = state;
    });
}

StageRecord* stage_find() {
    Task* t = task_pool() ? &task_pool()[kSlotBattleStage] : nullptr;
    if (!t || !t->in_use || t->kind != kKindBattleStage) return nullptr;
    return &task_record<StageRecord>(t);
}

void stage_wait(StageRecord& s) {
    // Without an attacker (no free slot for it) nothing will ever set off: pan at once.
    if (any_combatant_busy() || !any_combatant_acting()) s.state = &stage_pan;
}

void stage_pan(StageRecord& s) {
    s.look_at.x += s.pan_step;
    if (s.look_at.x < -kSideX || s.look_at.x > kSideX) {
        s.look_at.x = s.look_at.x < 0 ? -kSideX : kSideX;
        s.pan_done = 1;
        s.state = &stage_settle;
    }
}

void stage_settle(StageRecord& s) {
    if (any_combatant_acting()) return;
    bool sinking = false;
    if (s.battle->player_hp <= 0) {
        sinking = side_sink(0);
    } else if (s.battle->foe_hp <= 0) {
        sinking = side_sink(1);
    }
    if (sinking) sound_request(kSoundKnockBack, 0);
    s.state = &stage_finish;
}

void stage_finish(StageRecord& s) {
    if (any_combatant_acting()) return;
    s.countdown -= 1;
    if (s.countdown <= 0) s.alive = 0;
}

void stage_update(Task* t) {
    StageRecord& s = task_record<StageRecord>(t);
    s.state(s);
    camera_set(s.look_at, s.eye);
    frustum_update();
    if (s.alive != 0) return;
    task_end_kind(kKindProp);
    task_end_kind(kKindOrb);
    task_end_kind(kKindBattleSpare);
    task_end_kind(kKindCombatant);
    s.battle->timer = kBattleTimerReset;
    s.battle->step = &battle_result;
    t->in_use = 0;
}

void stage_draw(Task*) {
    world_transform_identity();
    Texture* texture = texture_slot(0);
    for (int i = 0; i < kFloorCells; ++i) {
        const float z = kFloorNorth - kFloorCell * static_cast<float>(i);
        for (int j = 0; j < kFloorCells; ++j) {
            const float x = kFloorWest + kFloorCell * static_cast<float>(j);
            if (sphere_visible(x + 1, -2, z - 1, kFloorCullRadius)) floor_cell_draw(x, z, texture);
        }
    }
}

}  // namespace tessaly
