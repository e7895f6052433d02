#include "app/task_pool.hpp"
#include "field/cpu_turn.hpp"
#include "field/members.hpp"
#include "field/players.hpp"
#include "field/route_hints.hpp"
#include "render/numbers.hpp"
#include "render/primitives.hpp"
#include "render/sprites.hpp"
#include "render/textures.hpp"
#include "render/transforms.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

constexpr float kHiddenBehindDistance = 0.5f;
constexpr float kPlayerCullRadius = 4.0f;

constexpr Rect kTurnPanel = {1060, 1226, 1260, 1253};
constexpr float kTurnPanelX = 40.0f;
constexpr float kTurnPanelWidth = 200.0f;
constexpr float kNamePlateY = 3.0f;
constexpr Rect kComputerLabel = {958, 1384, 1005, 1404};
constexpr float kLabelGap = 4.0f;

constexpr Rect kHitBarBack = {496, 878, 536, 884};
constexpr float kHitBarFillLeft = 498;
constexpr float kHitBarFillTop = 886;
constexpr float kHitBarFillBottom = 888;
constexpr int kHitBarFillWidth = 36;
constexpr Rect kCharacterIcons[kCharacterCount] = {
    {290, 482, 298, 490},
    {300, 482, 308, 490},
    {310, 482, 318, 490},
};
constexpr Rect kComputerMark = {502, 901, 520, 910};
constexpr Rect kRequestMark = {502, 890, 530, 899};
constexpr Rect kItemBanner = {722, 919, 917, 944};
constexpr float kItemBannerY = 300.0f;
constexpr float kStatusAngle = 45.0f;
constexpr float kStatusDistance = 32.0f;

Rect name_plate(const MemberData& d) {
    return {d.name_plate[0], d.name_plate[1], d.name_plate[2], d.name_plate[3]};
}

void turn_banner_draw(const PlayerRecord& p) {
    number_draw_large(0.0f, 2.0f, p.steps_left);
    panel_draw(kTurnPanelX, 0.0f, kTurnPanel, kColourTranslucent);
    const Rect plate = name_plate(p.members[0].data);
    const float w = plate.right - plate.left;
    if (!p.computer) {
        atlas_draw((kTurnPanelWidth - w) / 2.0f + kTurnPanelX, kNamePlateY, plate);
        return;
    }
    const float label_w = kComputerLabel.right - kComputerLabel.left;
    const float x0 = (kTurnPanelWidth - (w + kLabelGap + label_w)) / 2.0f;
    atlas_draw(x0 + kTurnPanelX, kNamePlateY, plate);
    atlas_draw(x0 + kTurnPanelX + w + kLabelGap, kNamePlateY, kComputerLabel);
}

void status_panel_draw(const PlayerRecord& p) {
    Vec3 screen{};
    world_to_screen(screen, p.members[0].position);
    float ax = 0.0f, ay = 0.0f;
    // On the screen y points down: 45 degrees lies down and to the right.
    direction_offset(ax, ay, screen.x, screen.y, kStatusAngle, kStatusDistance);
    atlas_draw(ax + 2.0f, ay + 16.0f, kHitBarBack);
    int fill = p.max_hit_points != 0 ? kHitBarFillWidth * p.hit_points / p.max_hit_points : 0;
    // A bar is never drawn mirrored or past its frame.
    if (fill < 0) fill = 0;
    if (fill > kHitBarFillWidth) fill = kHitBarFillWidth;
    atlas_draw(ax + 4.0f, ay + 18.0f,
               Rect{kHitBarFillLeft, kHitBarFillTop, kHitBarFillLeft + static_cast<float>(fill),
                    kHitBarFillBottom});
    if (p.character_id >= 0 && p.character_id < kCharacterCount) {
        atlas_draw(ax + 44.0f, ay + 14.0f, kCharacterIcons[p.character_id]);
    }
    if (p.computer) atlas_draw(ax + 10.0f, ay + 6.0f, kComputerMark);
    if (p.team_number > 0) atlas_draw(ax + 8.0f, ay + 22.0f, kRequestMark);
}

}  // namespace

void member_draw(const MemberRecord& m) {
    // A member standing on the one ahead of it is covered by it.
    if (m.ahead && xz_distance(m.position, m.ahead->position) <= kHiddenBehindDistance) return;
    if (m.data.mesh < 0 || m.data.mesh >= kMeshCount) return;
    Matrix world;
    float facing = m.facing;
    world_yaw(world, m.position, facing);
    mesh_draw(mesh_record(m.data.mesh), world);
}

void player_draw(Task* t) {
    const PlayerRecord& p = task_record<PlayerRecord>(t);
    if (!sphere_visible(p.position.x, p.position.y, p.position.z, kPlayerCullRadius)) return;
    if (p.hidden) return;
    if (g_game.settings[kSettingRivals] == 0 && p.computer) return;
    for (const MemberRecord& m : p.members) member_draw(m);
    if (p.state != &turn_waiting) turn_banner_draw(p);
    if (p.state == &cpu_banner) atlas_draw_centered(kItemBanner, kItemBannerY);
    if (g_game.settings[kSettingRouteHints] == 1 && !p.computer && p.state == &choose_direction) {
        route_hints_draw(p);
    }
    status_panel_draw(p);
}

}  // namespace tessaly
