#include "scene/field_menu.hpp"

#include "app/keys.hpp"
#include "field/list_menu.hpp"
#include "field/players.hpp"
#include "render/numbers.hpp"
#include "render/sprites.hpp"
#include "scene/item_scene.hpp"
#include "scene/options.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"
#include "state/save_menu.hpp"

namespace tessaly {
namespace {

constexpr int kEntries = kFieldMenuColumns * kFieldMenuRows;

constexpr Rect kEntryLabels[kEntries] = {
    {482, 726, 603, 746}, {482, 750, 583, 770}, {788, 651, 849, 670}, {726, 651, 783, 670},
    {620, 604, 697, 623}, {702, 605, 781, 623}, {784, 604, 822, 624}, {826, 604, 885, 624},
};

// Member faces, 120 x 100, row 4 x character + member.
constexpr float kFaceWidth = 120;
constexpr float kFaceHeight = 100;
constexpr float kFaceLefts[6] = {1926, 1804, 1682, 1560, 1438, 1316};
constexpr float kFaceTopFirstHalf = 1423;
constexpr float kFaceTopSecondHalf = 1321;
constexpr int kFaceRows = 12;

constexpr Rect kStatusPanel = {1284, 0, 1924, 241};
constexpr Rect kMenuPanel = {1284, 243, 1924, 483};
constexpr Rect kEntryFrame = {620, 482, 940, 602};
constexpr Rect kCursorArrow = {890, 604, 901, 625};
constexpr Rect kLevelLabel = {620, 652, 677, 669};
constexpr Rect kHitPointsLabel = {620, 627, 660, 647};
constexpr Rect kSlash = {607, 612, 618, 632};
constexpr Rect kAttackLabel = {665, 627, 725, 647};
constexpr Rect kDefenceLabel = {730, 627, 791, 647};
constexpr Rect kMoneyLabel = {682, 650, 721, 670};
constexpr Rect kBadgesLabel = {817, 769, 859, 789};
constexpr Rect kRequestHeading = {1014, 721, 1134, 741};
constexpr Rect kConfirmPanel = {495, 514, 618, 610};
constexpr Rect kConfirmTitle = {21, 1100, 122, 1120};
constexpr Rect kAnswers[2] = {{127, 1057, 188, 1076}, {127, 1079, 167, 1097}};
constexpr int32_t kAnswerIds[2] = {0, 1};
constexpr float kStatusX = 360;
// Where the save/load menu sits over the field menu.
constexpr float kSaveMenuPanelY = 300;
constexpr float kSaveMenuHelpX = 8;
constexpr float kSaveMenuHelpY = 246;
constexpr float kStatusY = 100;

Rect face_rect(int row) {
    if (row < 0 || row >= kFaceRows) row = 0;
    const float left = kFaceLefts[row % 6];
    const float top = row < 6 ? kFaceTopFirstHalf : kFaceTopSecondHalf;
    return {left, top, left + kFaceWidth, top + kFaceHeight};
}

void choose(FieldMenuRecord& r) {
    switch (r.selected) {
        case kFieldMenuClose:
            r.alive = 0;
            break;
        case kFieldMenuTitle:
            r.title_choice = 0;
            r.step = &title_confirm;
            break;
        case kFieldMenuSave:
        case kFieldMenuLoad:
            r.step = &field_menu_wait;
            save_menu_open(r.selected == kFieldMenuSave ? kSaveMenuSave : kSaveMenuLoad,
                           kSaveCallerFieldMenu, kSaveMenuPanelY, kSaveMenuHelpX, kSaveMenuHelpY);
            break;
        case kFieldMenuOptions:
            r.step = &field_menu_wait;
            options_open(kOptionsPanelYFieldMenu, kOptionsFromFieldMenu);
            break;
        case kFieldMenuUseItem:
        case kFieldMenuThrowAway:
            r.step = &field_menu_wait;
            item_scene_open(*r.player,
                            r.selected == kFieldMenuUseItem ? kItemSceneUse : kItemSceneThrowAway);
            break;
        default:
            // The request entry only shows the request while it is selected.
            break;
    }
}

void draw_status(const PlayerRecord& p) {
    const float x0 = kStatusX, y0 = kStatusY;
    atlas_draw(0, 0, kStatusPanel);
    for (int i = 0; i < kMembersPerPlayer; ++i) {
        atlas_draw(4 + kFaceWidth * static_cast<float>(i), 4,
                   face_rect(kMembersPerPlayer * p.character_id + i));
    }
    atlas_draw(x0, y0 + 8, kLevelLabel);
    number_draw_small(x0 + 100, y0 + 9, p.level);
    atlas_draw(x0, y0 + 28, kHitPointsLabel);
    number_draw_small(x0 + 100, y0 + 29, p.hit_points);
    atlas_draw(525, y0 + 28, kSlash);
    number_draw_small(x0 + 200, y0 + 29, p.max_hit_points);
    atlas_draw(x0, y0 + 48, kAttackLabel);
    number_draw_small(x0 + 100, y0 + 49, p.attack);
    atlas_draw(x0, y0 + 68, kDefenceLabel);
    number_draw_small(x0 + 100, y0 + 69, p.defence);
    atlas_draw(x0, y0 + 88, kMoneyLabel);
    number_draw_small(x0 + 100, y0 + 89, p.money);
    // The crests count what all players have achieved together.
    int32_t bits = 0;
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        if (const PlayerRecord* other = player_in_slot(s)) bits |= other->achievement_bits;
    }
    achievement_badges_draw(x0 + 100, y0 + 109, bits);
    atlas_draw(x0, y0 + 108, kBadgesLabel);
}

}  // namespace

int field_menu_open(PlayerRecord& player) {
    // A menu that cannot be made must not leave the board frozen.
    if (task_pool() && task_pool()[kSlotFieldMenu].in_use) return 0;
    tasks_freeze();
    return field_menu_create(player);
}

int field_menu_create(PlayerRecord& player) {
    Task* t = task_alloc_at(kSlotFieldMenu);
    if (!t) return 0;
    task_start(t, 0, &field_menu_update, &field_menu_draw);
    FieldMenuRecord& r = task_record<FieldMenuRecord>(t);
    r.alive = 1;
    r.column = 0;
    r.row = 0;
    r.selected = 0;
    r.title_choice = 0;
    r.player = &player;
    r.step = &field_menu_first_frame;
    return 1;
}

void field_menu_first_frame(FieldMenuRecord& r) {
    r.step = &field_menu_select;
}

void field_menu_select(FieldMenuRecord& r) {
    bool chosen = false;
    if (key_pressed(kKeyRight)) {
        r.column = (r.column + 1) % kFieldMenuColumns;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyLeft)) {
        r.column = (r.column + kFieldMenuColumns - 1) % kFieldMenuColumns;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyDown)) {
        r.row = (r.row + 1) % kFieldMenuRows;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyUp)) {
        r.row = (r.row + kFieldMenuRows - 1) % kFieldMenuRows;
        sound_request(kSoundCursor, 0);
    } else if (key_confirm()) {
        chosen = true;
    } else if (key_pressed(kKeyEsc)) {
        sound_request(kSoundCursor, 0);
        r.alive = 0;
        return;
    }
    r.selected = r.column + kFieldMenuColumns * r.row;
    if (!chosen) return;
    sound_request(kSoundCursor, 0);
    choose(r);
}

void field_menu_wait(FieldMenuRecord& r) {
    const Task* pool = task_pool();
    for (int s : {kSlotSaveMenu, kSlotOptions, kSlotItemScene}) {
        if (pool[s].in_use) return;
    }
    r.step = &field_menu_select;
}

void title_confirm(FieldMenuRecord& r) {
    if (list_cursor_update(r.title_choice, 2) != 1) return;
    if (r.title_choice == 0) {
        r.step = &field_menu_select;
        return;
    }
    task_end_all();
    title_open();
}

void field_menu_update(Task* t) {
    FieldMenuRecord& r = task_record<FieldMenuRecord>(t);
    r.step(r);
    // Back to the title has ended every task, this one included.
    if (r.alive != 0 || !t->in_use) return;
    t->in_use = 0;
    tasks_resume();
}

void field_menu_draw(Task* t) {
    const FieldMenuRecord& r = task_record<FieldMenuRecord>(t);
    draw_status(*r.player);
    atlas_draw(0, 240, kMenuPanel);
    if (r.step == &title_confirm) {
        list_menu_draw(258, 312, r.title_choice, 2, kColourOpaque, kConfirmPanel, kConfirmTitle,
                       kAnswers, kAnswerIds);
    }
    if (r.step == &field_menu_select && r.selected == kFieldMenuRequest) {
        atlas_draw(32, 256, kRequestHeading);
        const int32_t row = r.player->team_number;
        atlas_draw(32, 288, g_game.requests[row > 0 && row < kRequestRows ? row : 0].name_rect);
    }
    atlas_draw(0, 120, kEntryFrame);
    for (int row = 0; row < kFieldMenuRows; ++row) {
        for (int column = 0; column < kFieldMenuColumns; ++column) {
            const float x = 32 + 150.0f * static_cast<float>(column);
            const float y = 136 + 25.0f * static_cast<float>(row);
            atlas_draw(x, y, kEntryLabels[column + kFieldMenuColumns * row]);
            if (column + kFieldMenuColumns * row == r.selected)
                atlas_draw(x - 16, y - 1, kCursorArrow);
        }
    }
}

}  // namespace tessaly
