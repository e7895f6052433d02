#include "support/recording.hpp"

#include <cmath>

#include "render/textures.hpp"

namespace tessaly::test {

void RecordingFixture::SetUp() {
    TickFixture::SetUp();
    device.SetUp();
}

void RecordingFixture::TearDown() {
    device.TearDown();
    TickFixture::TearDown();
}

void recorded_reset() {
    platform::gpu_recording_reset();
}

bool draw_cuts(const platform::RecordedDraw& d, const Rect& source, float sheet_width,
               float sheet_height) {
    if (d.fvf != platform::kFvfScreen || d.vertex_count < 4) return false;
    const auto near = [](float a, float b) { return std::fabs(a - b) < 1e-6f; };
    return near(d.vertices[0].u, source.left / sheet_width) &&
           near(d.vertices[0].v, source.top / sheet_height) &&
           near(d.vertices[2].u, source.right / sheet_width) &&
           near(d.vertices[2].v, source.bottom / sheet_height);
}

int find_atlas_draw(const Rect& source) {
    const auto& draws = recorded();
    for (size_t i = 0; i < draws.size(); ++i) {
        if (draws[i].texture == atlas_texture() &&
            draw_cuts(draws[i], source, kAtlasWidth, kAtlasHeight)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int count_atlas_draws(const Rect& source) {
    int n = 0;
    for (const auto& d : recorded()) {
        if (d.texture == atlas_texture() && draw_cuts(d, source, kAtlasWidth, kAtlasHeight)) ++n;
    }
    return n;
}

}  // namespace tessaly::test
