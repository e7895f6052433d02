#pragma once
// The story's end: the end picture that fades in over everything (kind 2940, slot 999) and
// the credits that rise over it (kind 2930, slot 906) until a key returns to the title.
#include <cstdint>

#include "render/rect.hpp"

namespace tessaly {

struct Task;
struct EndPictureRecord;
struct CreditsRecord;

using EndPictureStep = void (*)(EndPictureRecord&);
using CreditsStep = void (*)(CreditsRecord&);

// The picture both screens show, on the second texture.
constexpr Rect kEndPictureSource = {0, 1477, 640, 1957};
// Alpha gained per frame: opaque after 51 frames.
constexpr int32_t kEndPictureFade = 5;

struct EndPictureRecord {
    int32_t alive;  // 1; the picture never ends by itself
    int32_t alpha;  // 0..255
    EndPictureStep step;
};

constexpr int kCreditCount = 14;
constexpr int kCreditSprites = 6;
// Frames before the first credit and between two credits.
constexpr int32_t kCreditInterval = 200;
// A credit enters at this y, rises a pixel a frame and is gone above kCreditGone.
constexpr float kCreditStartY = 510.0f;
constexpr float kCreditGone = -30.0f;

struct CreditSprite {
    int32_t active;
    float y;
    Rect source;
    int32_t spare;
};

struct CreditsRecord {
    int32_t alive;      // 0 ends the credits and returns to the title
    int32_t next;       // the credit placed next
    int32_t countdown;  // frames before it is placed
    CreditsStep step;
    CreditSprite sprites[kCreditSprites];
};

extern const Rect kCredits[kCreditCount];

// 0 when slot 999 is taken.
int end_picture_start();
// 0 when slot 906 is taken.
int credits_start();

void end_picture_fade(EndPictureRecord& r);
// The credits' steps: placing credits, waiting for the last to leave, the prompt.
void credits_roll(CreditsRecord& r);
void credits_drain(CreditsRecord& r);
void credits_prompt(CreditsRecord& r);

void end_picture_update(Task* t);
void end_picture_draw(Task* t);
void credits_update(Task* t);
void credits_draw(Task* t);

}  // namespace tessaly
