#include "state/progress.hpp"

#include "app/task_pool.hpp"
#include "field/players.hpp"
#include "render/textures.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

constexpr float kSignStartX = 320.0f;
constexpr float kSignStartY = 240.0f;

void level_up_sign_update(Task* t) {
    LevelUpSignRecord& r = task_record<LevelUpSignRecord>(t);
    r.y -= 1.0f;
    r.frames_left -= 1;
    if (r.frames_left <= 0) r.alive = 0;
    if (!r.alive) t->in_use = 0;
}

void level_up_sign_draw(Task* t) {
    const LevelUpSignRecord& r = task_record<LevelUpSignRecord>(t);
    atlas_draw(r.x, r.y, r.source);
}

}  // namespace

void gain_money(PlayerRecord& player, int32_t n) {
    // Summed wide so that a large reward cannot wrap before the cap.
    const int64_t money = static_cast<int64_t>(player.money) + n;
    player.money = static_cast<int32_t>(money > kMoneyMax ? kMoneyMax : money);
}

void gain_experience(PlayerRecord& player, int32_t n) {
    const int64_t experience = static_cast<int64_t>(player.experience) + n;
    if (experience < kExperiencePerLevel) {
        player.experience = static_cast<int32_t>(experience);
        return;
    }
    player.experience = 0;
    level_up(player);
    sound_request(kSoundLevelUp, 0);
    level_up_sign_start();
}

void level_up(PlayerRecord& player) {
    player.level += 1;
    if (player.level > kLevelMax) player.level = kLevelMax;
    player.hit_points = player.max_hit_points;
}

int level_up_sign_start() {
    Task* t = task_alloc_at(kSlotLevelUpSign);
    if (!t) return 0;
    task_start(t, kKindLevelUpSign, &level_up_sign_update, &level_up_sign_draw);
    LevelUpSignRecord& r = task_record<LevelUpSignRecord>(t);
    r.alive = 1;
    r.x = kSignStartX;
    r.y = kSignStartY;
    r.frames_left = kLevelUpSignFrames;
    r.source = kLevelUpSignSource;
    return 1;
}

}  // namespace tessaly
