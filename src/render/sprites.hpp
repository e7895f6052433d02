#pragma once
// 2D drawing: textured rectangles cut from a sheet, placed in screen pixels.
#include <cstdint>

#include "render/rect.hpp"
#include "render/textures.hpp"

namespace tessaly {

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
// One sprite of the atlas (2048 x 2048) or of the second sheet (1024 x 2048) at its own size,
// the top-left at (x, y) rounded half away from zero: the call every screen uses.
void atlas_draw(float x, float y, const Rect& source, uint32_t colour = kColourOpaque);
void second_draw(float x, float y, const Rect& source, uint32_t colour = kColourOpaque);
// An atlas sprite centred horizontally on the screen at y; returns the x used.
float atlas_draw_centered(const Rect& source, float y, uint32_t colour = kColourOpaque);
// A framed panel from the atlas: a 2-texel frame drawn opaque, the inside tinted.
void panel_draw(float x, float y, const Rect& source, uint32_t interior_colour);

float round_half_away(float v);
float center_x(float width);

}  // namespace tessaly
