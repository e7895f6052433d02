#include "scene/instructions.hpp"

#include "app/keys.hpp"
#include "render/sprites.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"

namespace tessaly {
namespace {

// Full-screen pages of the second sheet.
constexpr Rect kPages[kManualPages] = {{0, 513, 640, 993}, {0, 995, 640, 1475}};
constexpr Rect kArrowRight = {1926, 34, 1958, 66};
constexpr Rect kArrowLeft = {1926, 68, 1958, 100};

}  // namespace

int manual_open() {
    Task* t = task_alloc_at(kSlotInstructions);
    if (!t) return 0;
    task_start(t, kKindInstructions, &manual_update, &manual_draw);
    ManualRecord& r = task_record<ManualRecord>(t);
    r.alive = 1;
    r.page = 0;
    r.step = &manual_first_frame;
    return 1;
}

void manual_first_frame(ManualRecord& r) {
    r.step = &manual_page;
}

void manual_page(ManualRecord& r) {
    if (key_pressed(kKeyRight)) {
        r.page = (r.page + 1) % kManualPages;
        sound_request(kSoundCursor, 0);
    } else if (key_pressed(kKeyLeft)) {
        r.page = (r.page + kManualPages - 1) % kManualPages;
        sound_request(kSoundCursor, 0);
    } else if (key_confirm()) {
        sound_request(kSoundCursor, 0);
        r.alive = 0;
    }
}

void manual_update(Task* t) {
    ManualRecord& r = task_record<ManualRecord>(t);
    r.step(r);
    if (r.alive == 0) {
        t->in_use = 0;
        task_end_all();
        title_open();
    }
}

void manual_draw(Task* t) {
    const ManualRecord& r = task_record<ManualRecord>(t);
    const Rect& page = r.page == 1 ? kPages[1] : kPages[0];
    second_draw(0, 0, page);
    atlas_draw(576, 440, kArrowRight);
    atlas_draw(34, 440, kArrowLeft);
}

}  // namespace tessaly
