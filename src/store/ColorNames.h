#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// Colours are 32-bit integers, red in the low byte, then green, then blue.
// Values from 0xFF000000 on name a system colour by its index.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clBtnFace = clSystemColor + 15;
constexpr TColor clWindowText = clSystemColor + 8;
constexpr TColor clWindow = clSystemColor + 5;

// The classic name of a colour ("clWindowText"), if it has one.
std::optional<std::string> ColorToIdent(TColor color);
// The colour of a classic name, compared without regard to ASCII case.
std::optional<TColor> IdentToColor(std::string_view ident);
// The name, or "$" and eight upper-case hexadecimal digits.
std::string ColorToString(TColor color);
// A name or a number ("$FF0000", "255"); nothing when it is neither.
std::optional<TColor> StringToColor(std::string_view text);

} // namespace tramble
