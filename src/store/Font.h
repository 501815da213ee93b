#pragma once

#include "text/ConvertError.h"

#include "store/ColorNames.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tramble {

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

enum TFontPitch : int { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

// A font as the settings describe it; the shell turns it into a real font.
struct TFont {
    std::string Name = "MS Sans Serif";
    int Size = 8;
    TFontStyles Style = 0;
    TColor Color = clWindowText;
    int Pitch = fpDefault;
    int Charset = 1;

    bool operator==(const TFont&) const = default;
};

std::string FontStyleToText(TFontStyles styles);
TFontStyles TextToFontStyle(std::string_view text);
// "name,size,[styles],colour,pitch,charset"
std::string FontToText(const TFont& font);
// Applies the fields in order and stops at the first missing separator. An
// unknown colour raises EConvertError after name, size and styles were set.
void TextToFont(std::string_view text, TFont& font);

} // namespace tramble
