#pragma once
// 2D drawing: textured rectangles cut from a sheet, placed in screen pixels.
#include <cstdint>

#include "render/textures.hpp"

namespace tessaly {

// left, top, right, bottom; width = right - left, height = bottom - top.
struct Rect {
    float left, top, right, bottom;
};

constexpr float kScreenWidth = 640.0f;
constexpr float kScreenHeight = 480.0f;
constexpr float kAtlasWidth = 2048.0f;
constexpr float kAtlasHeight = 2048.0f;
constexpr float kSecondWidth = 1024.0f;
constexpr float kSecondHeight = 2048.0f;
constexpr uint32_t kColourOpaque = 0xFFFFFFFF;
constexpr uint32_t kColourTranslucent = 0x96FFFFFF;

Rect& rect_set(Rect& out, float left, float top, float right, float bottom);
// The source rectangle (texels of a sheet of sheet_width × sheet_height) stretched onto the
// destination (screen pixels); right < left or bottom < top mirrors it.
void sprite_draw_rect(const Rect& dest, const Rect& source, float sheet_width, float sheet_height,
                      uint32_t colour, Texture* texture);
// At its own size with the top-left at (x, y), each rounded half away from zero.
void sprite_draw(float x, float y, const Rect& source, float sheet_width, float sheet_height,
                 uint32_t colour, Texture* texture);
// As sprite_draw without rounding; returns the source width.
float sprite_draw_unrounded(float x, float y, const Rect& source, float sheet_width,
                            float sheet_height, uint32_t colour, Texture* texture);
// Centred horizontally on the screen at y; returns the x used.
float sprite_draw_centered(const Rect& source, float y, float sheet_width, float sheet_height,
                           uint32_t colour, Texture* texture);
// A framed panel from the atlas: a 2-texel frame drawn opaque, the inside tinted.
void panel_draw(float x, float y, const Rect& source, uint32_t interior_colour);

float round_half_away(float v);
float center_x(float width);

}  // namespace tessaly
