#pragma once
// The model viewer: every model of the mesh table on a ring, the selected one in front,
// stepping forward and spinning when left alone.
#include <cstdint>

#include "app/task_pool.hpp"

namespace tessaly {

constexpr int kCarouselModels = 24;
constexpr float kCarouselFront = 270;
// The idle count starts here, so the first spin comes sooner than after a turn.
constexpr int32_t kCarouselIdleAtOpening = 18;
constexpr int32_t kCarouselIdleLimit = 100;
constexpr float kCarouselNear = 10;
constexpr float kCarouselFar = 25;

struct CarouselRecord;
using CarouselStep = void (*)(CarouselRecord&);

struct CarouselRecord {
    int32_t alive;
    int32_t count;                     // models on the ring
    int32_t selected;                  // the model in front
    int32_t idle_frames;               // frames since the last turn, counted up to the limit
    float turn_speed;                  // degrees per frame while turning
    float spacing;                     // degrees between neighbours
    float spin;                        // facing of the selected model
    float angles[kCarouselModels];     // place on the ring, degrees
    float distances[kCarouselModels];  // distance from the centre
    CarouselStep step;
};

// Creates the viewer in slot 905; 0 when the slot is taken.
int carousel_open();

void carousel_first_frame(CarouselRecord& r);
void carousel_select(CarouselRecord& r);
void carousel_turn_up(CarouselRecord& r);
void carousel_turn_down(CarouselRecord& r);

void carousel_update(Task* t);
void carousel_draw(Task* t);

}  // namespace tessaly
