#include "render/sprites.hpp"

#include <cmath>

#include "platform/gpu.hpp"

namespace tessaly {
namespace {

constexpr float kPixelCentre = 0.5f;
constexpr float kPanelBorder = 2.0f;

float width_of(const Rect& r) {
    return r.right - r.left;
}
float height_of(const Rect& r) {
    return r.bottom - r.top;
}

}  // namespace

Rect& rect_set(Rect& out, float left, float top, float right, float bottom) {
    out = Rect{left, top, right, bottom};
    return out;
}

float round_half_away(float v) {
    return std::trunc(v >= 0.0f ? v + 0.5f : v - 0.5f);
}

float center_x(float width) {
    return (kScreenWidth - width) / 2.0f;
}

void sprite_draw_rect(const Rect& dest, const Rect& source, float sheet_width, float sheet_height,
                      uint32_t colour, Texture* texture) {
    // The half-pixel shift maps texel centres onto pixel centres, so a sprite drawn at its
    // own size at whole coordinates copies the texels exactly.
    const float l = dest.left - kPixelCentre, t = dest.top - kPixelCentre;
    const float r = dest.right - kPixelCentre, b = dest.bottom - kPixelCentre;
    const float u0 = source.left / sheet_width, v0 = source.top / sheet_height;
    const float u1 = source.right / sheet_width, v1 = source.bottom / sheet_height;
    const platform::ScreenVertex v[4] = {
        {l, t, 0.0f, 1.0f, colour, u0, v0},
        {r, t, 0.0f, 1.0f, colour, u1, v0},
        {r, b, 0.0f, 1.0f, colour, u1, v1},
        {l, b, 0.0f, 1.0f, colour, u0, v1},
    };
    if (!platform::gpu_exists()) return;
    platform::gpu_texture_bind(texture);
    platform::gpu_fvf_set(platform::kFvfScreen);
    platform::gpu_draw_fan(v, 2, sizeof(platform::ScreenVertex));
}

void sprite_draw(float x, float y, const Rect& source, float sheet_width, float sheet_height,
                 uint32_t colour, Texture* texture) {
    const float l = round_half_away(x), t = round_half_away(y);
    const Rect dest{l, t, l + width_of(source), t + height_of(source)};
    sprite_draw_rect(dest, source, sheet_width, sheet_height, colour, texture);
}

float sprite_draw_unrounded(float x, float y, const Rect& source, float sheet_width,
                            float sheet_height, uint32_t colour, Texture* texture) {
    const Rect dest{x, y, x + width_of(source), y + height_of(source)};
    sprite_draw_rect(dest, source, sheet_width, sheet_height, colour, texture);
    return width_of(source);
}

float sprite_draw_centered(const Rect& source, float y, float sheet_width, float sheet_height,
                           uint32_t colour, Texture* texture) {
    const float x = round_half_away(center_x(width_of(source)));
    sprite_draw(x, y, source, sheet_width, sheet_height, colour, texture);
    return x;
}

void atlas_draw(float x, float y, const Rect& source, uint32_t colour) {
    sprite_draw(x, y, source, kAtlasWidth, kAtlasHeight, colour, atlas_texture());
}

void second_draw(float x, float y, const Rect& source, uint32_t colour) {
    sprite_draw(x, y, source, kSecondWidth, kSecondHeight, colour, second_texture());
}

float atlas_draw_centered(const Rect& source, float y, uint32_t colour) {
    return sprite_draw_centered(source, y, kAtlasWidth, kAtlasHeight, colour, atlas_texture());
}

void panel_draw(float x, float y, const Rect& s, uint32_t interior_colour) {
    const float w = width_of(s), h = height_of(s), e = kPanelBorder;
    Texture* atlas = atlas_texture();
    const Rect top{s.left, s.top, s.right, s.top + e};
    const Rect bottom{s.left, s.bottom - e, s.right, s.bottom};
    const Rect left{s.left, s.top, s.left + e, s.bottom};
    const Rect right{s.right - e, s.top, s.right, s.bottom};
    const Rect inside{s.left + e, s.top + e, s.right - e, s.bottom - e};
    sprite_draw(x, y, top, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas);
    sprite_draw(x, y + h - e, bottom, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas);
    sprite_draw(x, y, left, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas);
    sprite_draw(x + w - e, y, right, kAtlasWidth, kAtlasHeight, kColourOpaque, atlas);
    sprite_draw(x + e, y + e, inside, kAtlasWidth, kAtlasHeight, interior_colour, atlas);
}

}  // namespace tessaly
