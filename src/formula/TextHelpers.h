#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tramble {

// Digits 0-9 and A-F; a negative number gets a leading "-" before the digits
// of its magnitude. Empty for a base outside 2..16.
std::string IntToBase(int64_t n, int base);
// -1 on a bad digit, a bad base or a value beyond the 32-bit signed range.
// Digits are not checked against the base ("F" is worth 15 in base 2 too).
int32_t BaseToInt(std::string_view text, int base);
// The text cut to 255 bytes, padded in front up to width modulo 256.
std::string PadLeft(int width, char pad, std::string_view text);
// Every occurrence of from replaced, left to right, without looking at the
// replaced text again. An empty from leaves the text as it is.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

} // namespace tramble
