#pragma once
// Draw callbacks checked against the recording device: the pack loaded from the build
// directory and graphics started on the recording back end.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gpu.hpp"
#include "render/sprites.hpp"
#include "support/ticks.hpp"

namespace tessaly::test {

// A tick fixture with graphics on the recording device; the draws list starts empty.
struct RecordingFixture : TickFixture {
    void SetUp() override;
    void TearDown() override;
};

// The draws recorded since the last reset.
const std::vector<platform::RecordedDraw>& recorded();
// Forgets what was drawn so far.
void recorded_reset();
// True when the draw is a screen sprite whose texture coordinates cut out source from a
// sheet of the given size.
bool draw_cuts(const platform::RecordedDraw& d, const Rect& source, float sheet_width,
               float sheet_height);
// The screen position of a sprite's top-left corner, undoing the half-pixel shift.
float draw_left(const platform::RecordedDraw& d);
float draw_top(const platform::RecordedDraw& d);
// Index of the first draw cutting out source from the atlas, -1 if none.
int find_atlas_draw(const Rect& source);
// The number of draws cutting out source from the atlas.
int count_atlas_draws(const Rect& source);

}  // namespace tessaly::test
