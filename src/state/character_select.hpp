#pragma once
// The character-select scene: three characters on a turning wheel; confirming the one in
// front starts a new game with it.
#include <cstdint>

#include "app/task_pool.hpp"
#include "field/member_data.hpp"
#include "render/matrix.hpp"
#include "render/sprites.hpp"

namespace tessaly {

constexpr int32_t kWheelFront = 270;

struct WheelEntry {
    Vec3 position;  // on the wheel, placed every frame
    int32_t character_id;
    int32_t angle;      // degrees; the rest angles are 270 (front), 30 and 150
    int32_t turn_step;  // degrees added per half-step while turning, 0 at rest
    Rect name_rect;
};

struct CharacterSelectRecord;
using SelectStep = void (*)(CharacterSelectRecord&);

struct CharacterSelectRecord {
    int32_t alive;
    WheelEntry entries[kCharacterCount];
    SelectStep step;
};

// Creates the scene in slot 58; 0 and nothing done when the slot is taken.
int character_select_open();

// The point of the wheel at an angle: radius 10 around the origin, y 0.
Vec3 wheel_point(int32_t angle);

void select_first_frame(CharacterSelectRecord& r);
void select_wait(CharacterSelectRecord& r);
void select_turn(CharacterSelectRecord& r);

void select_update(Task* t);
void select_draw(Task* t);

}  // namespace tessaly
