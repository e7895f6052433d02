#include "battle/battle_helpers.hpp"

#include "app/keys.hpp"
#include "app/random.hpp"
#include "field/member_data.hpp"

namespace tessaly::test {
namespace {

void nothing(Task*) {}

void board_task(int slot, int kind) {
    Task* t = task_alloc_at(slot);
    ASSERT_NE(t, nullptr);
    task_start(t, kind, &nothing, &nothing);
}

}  // namespace

void BattleFixture::SetUp() {
    TickFixture::SetUp();
    random_seed(7);
    board_task(kSlotMap, kKindMap);
    board_task(kSlotPlayersFirst, kKindPlayer);
    board_task(kSlotCamera, kKindCamera);
    player.computer = 0;
    player.level = 3;
    player.hit_points = 30;
    player.max_hit_points = 30;
    for (int i = 0; i < kMembersPerPlayer; ++i) player.members[i].data = kMemberData[i];
}

BattleRecord& BattleFixture::battle() {
    BattleRecord* r = battle_find();
    EXPECT_NE(r, nullptr);
    return *r;
}

bool BattleFixture::run_until_step(BattleStep step, int limit) {
    for (int i = 0; i < limit; ++i) {
        BattleRecord* r = battle_find();
        if (r && r->step == step) return true;
        tick();
    }
    return false;
}

bool BattleFixture::run_until_over(int limit, bool press_each_frame) {
    for (int i = 0; i < limit; ++i) {
        if (!battle_find()) return true;
        if (press_each_frame) {
            tick_press({kKeyEnter});
        } else {
            tick();
        }
    }
    return false;
}

std::vector<int32_t> line_glyphs(const int32_t* line) {
    std::vector<int32_t> out;
    for (int i = 0; i < kBattleLineGlyphs && line[i] != 0; ++i) out.push_back(line[i]);
    return out;
}

}  // namespace tessaly::test
