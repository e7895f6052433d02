#pragma once
// Draw callbacks of tasks checked against the recording device, with ticks driven by the
// test, and finders for the atlas pictures a frame drew.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gpu.hpp"
#include "render/sprites.hpp"
#include "support/render_support.hpp"
#include "support/ticks.hpp"

namespace tessaly::test {

// A tick fixture with graphics on the recording device; the draws list starts empty.
struct RecordingFixture : TickFixture {
    // The shared device set-up, used as a part rather than as a test of its own.
    struct Device : RecordingDevice {
        void TestBody() override {}
    } device;
    void SetUp() override;
    void TearDown() override;
};

// Forgets what was drawn so far.
void recorded_reset();
// True when the draw is a screen sprite whose texture coordinates cut out source from a
// sheet of the given size.
bool draw_cuts(const platform::RecordedDraw& d, const Rect& source, float sheet_width,
               float sheet_height);
// Index of the first draw cutting out source from the atlas, -1 if none.
int find_atlas_draw(const Rect& source);
// The number of draws cutting out source from the atlas.
int count_atlas_draws(const Rect& source);

}  // namespace tessaly::test
