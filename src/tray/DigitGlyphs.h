#pragma once

#include "tray/TrayCanvas.h"

#include <array>
#include <cstdint>

namespace tramble {

// The small-digit list: 4×9-pixel glyphs, one row per byte from the top, bit
// 8 the leftmost column. 0–9 are the digits, then a minus, a greater-than
// sign and a small k.
inline constexpr int kGlyphWidth = 4;
inline constexpr int kGlyphHeight = 9;
inline constexpr int kGlyphMinus = 10;
inline constexpr int kGlyphGreater = 11;
inline constexpr int kGlyphK = 12;
extern const std::array<std::array<uint8_t, kGlyphHeight>, 13> kSmallDigits;

// Sets the glyph's pixels to color with its top-left corner at (x, y);
// pixels outside the glyph's figure are left alone. An index outside the
// list draws nothing.
void DrawGlyph(TTrayCanvas& canvas, int index, TArgb color, int x, int y);

// Writes n with its top row at y, centred by its length; 1000 and more read
// ">1k", −1000 and less "->k".
void DrawTrayNumber(TTrayCanvas& canvas, int32_t n, TArgb color, int y);

} // namespace tramble
