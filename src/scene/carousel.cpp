#include "scene/carousel.hpp"

#include <cmath>

#include "app/keys.hpp"
#include "render/numbers.hpp"
#include "render/primitives.hpp"
#include "render/transforms.hpp"
#include "scene/backdrop.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

constexpr float kFullTurn = 360;
constexpr Vec3 kLookAt = {0, 0, 0};
constexpr Vec3 kEye = {0, 5, -40};
constexpr Rect kHeading = {722, 1014, 926, 1039};
constexpr Rect kArrowLeft = {1926, 68, 1958, 100};
constexpr Rect kArrowRight = {1926, 34, 1958, 66};
constexpr Rect kSlash = {186, 481, 198, 503};

void round_angles(CarouselRecord& r) {
    for (int i = 0; i < r.count; ++i) r.angles[i] = round_half_away(r.angles[i]);
}

void start_turn(CarouselRecord& r, CarouselStep step) {
    round_angles(r);
    r.step = step;
    r.idle_frames = 0;
    r.spin = kCarouselFront;
    sound_request(kSoundStep, 0);
}

void leave(CarouselRecord& r) {
    r.alive = 0;
    task_end_all();
    title_open();
    sound_request(kSoundStep, 0);
}

// Moves every model by delta degrees; the turn ends when the selected one is in front.
void turn_by(CarouselRecord& r, float delta) {
    for (int i = 0; i < r.count; ++i) {
        float a = r.angles[i] + delta;
        if (a >= kFullTurn) a -= kFullTurn;
        if (a < 0) a += kFullTurn;
        r.angles[i] = round_half_away(a);
    }
    float& front = r.angles[r.selected];
    if (std::fabs(kCarouselFront - front) < r.turn_speed) {
        front = kCarouselFront;
        r.step = &carousel_select;
    }
}

}  // namespace

int carousel_open() {
    Task* t = task_alloc_at(kSlotCarousel);
    if (!t) return 0;
    task_start(t, kKindCarousel, &carousel_update, &carousel_draw);
    CarouselRecord& r = task_record<CarouselRecord>(t);
    r.alive = 1;
    r.count = kCarouselModels;
    r.selected = 0;
    r.idle_frames = kCarouselIdleAtOpening;
    r.spacing = static_cast<float>(360 / r.count);
    r.turn_speed = round_half_away(static_cast<float>(kCarouselIdleAtOpening) / r.spacing);
    r.spin = kCarouselFront;
    for (int i = 0; i < r.count; ++i) {
        float a = kCarouselFront + r.spacing * static_cast<float>(i);
        if (a >= kFullTurn) a -= kFullTurn;
        r.angles[i] = a;
        r.distances[i] = kCarouselNear;
    }
    r.step = &carousel_first_frame;
    return 1;
}

void carousel_first_frame(CarouselRecord& r) {
    r.step = &carousel_select;
}

void carousel_select(CarouselRecord& r) {
    if (key_pressed(kKeyEsc)) {
        leave(r);
    } else if (key_pressed(kKeyLeft)) {
        r.selected = (r.selected + r.count - 1) % r.count;
        start_turn(r, &carousel_turn_up);
    } else if (key_pressed(kKeyRight)) {
        r.selected = (r.selected + 1) % r.count;
        start_turn(r, &carousel_turn_down);
    } else if (key_confirm()) {
        leave(r);
    } else if (++r.idle_frames > kCarouselIdleLimit) {
        r.idle_frames = kCarouselIdleLimit;
        r.spin += 1;
        if (r.spin > kFullTurn) r.spin -= kFullTurn;
    }
}

void carousel_turn_up(CarouselRecord& r) {
    turn_by(r, r.turn_speed);
}

void carousel_turn_down(CarouselRecord& r) {
    turn_by(r, -r.turn_speed);
}

void carousel_update(Task* t) {
    CarouselRecord& r = task_record<CarouselRecord>(t);
    r.step(r);
    for (int i = 0; i < r.count; ++i) {
        float& d = r.distances[i];
        if (i == r.selected) {
            d = std::fmin(d + 1, kCarouselFar);
        } else {
            d = std::fmax(d - 1, kCarouselNear);
        }
    }
    camera_set(kLookAt, kEye);
    if (r.alive == 0) t->in_use = 0;
}

void carousel_draw(Task* t) {
    const CarouselRecord& r = task_record<CarouselRecord>(t);
    backdrop_fill_flat(kBackdropCell);
    world_transform_identity();
    for (int i = 0; i < r.count; ++i) {
        Vec3 at = {0, 0, 0};
        direction_offset(at.x, at.z, 0, 0, r.angles[i], r.distances[i]);
        float facing = i == r.selected ? r.spin : kCarouselFront;
        Matrix world;
        world_yaw(world, at, facing);
        mesh_draw(mesh_record(i), world);
    }
    atlas_draw(0, 0, kHeading);
    atlas_draw(32, 448, kArrowLeft);
    atlas_draw(576, 448, kArrowRight);
    number_draw_large(276, 460, r.selected + 1);
    atlas_draw(310, 459, kSlash);
    number_draw_large(325, 460, r.count);
}

}  // namespace tessaly
