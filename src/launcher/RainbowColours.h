#pragma once

#include "store/ColorNames.h"

namespace tramble {

// Colours are 0x00BBGGRR: red in the low byte, then green, then blue.
constexpr TColor MakeColour(int red, int green, int blue)
{
    return static_cast<TColor>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}
constexpr int RedOf(TColor c)
{
    return c & 0xFF;
}
constexpr int GreenOf(TColor c)
{
    return c >> 8 & 0xFF;
}
constexpr int BlueOf(TColor c)
{
    return c >> 16 & 0xFF;
}

// The six-segment colour wheel: segment k (0..5; anything above 4 counts as
// 5), offset x (0..255) inside it.
TColor Hue(int k, int x);

// Per channel (a × (n − i) + b × i) div n: a at i = 0, moving toward b as
// i approaches n. n must be positive.
TColor Blend(TColor a, TColor b, int i, int n);

// Per channel (a × weightA + b × weightB) div 256.
TColor Mix256(TColor a, int weightA, TColor b, int weightB);

// The wheel offset of position v inside a segment of s pixels:
// v × 255 / s rounded to the nearest integer, ties to even. s must be positive.
int WheelOffset(int v, int s);

// The wheel colour of position p (p ≥ 0) for segments of s pixels.
TColor WheelColour(int p, int s);

} // namespace tramble
