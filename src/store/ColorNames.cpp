#include "store/ColorNames.h"

#include "text/TextConvert.h"

#include <array>
#include <cstdio>

namespace tramble {
namespace {

struct NamedColor {
    TColor value;
    std::string_view name;
};

constexpr std::array kNamedColors = {
    NamedColor{0x000000, "clBlack"},
    NamedColor{0x000080, "clMaroon"},
    NamedColor{0x008000, "clGreen"},
    NamedColor{0x008080, "clOlive"},
    NamedColor{0x800000, "clNavy"},
    NamedColor{0x800080, "clPurple"},
    NamedColor{0x808000, "clTeal"},
    NamedColor{0x808080, "clGray"},
    NamedColor{0xC0C0C0, "clSilver"},
    NamedColor{0x0000FF, "clRed"},
    NamedColor{0x00FF00, "clLime"},
    NamedColor{0x00FFFF, "clYellow"},
    NamedColor{0xFF0000, "clBlue"},
    NamedColor{0xFF00FF, "clFuchsia"},
    NamedColor{0xFFFF00, "clAqua"},
    NamedColor{0xFFFFFF, "clWhite"},
    NamedColor{0xC0DCC0, "clMoneyGreen"},
    NamedColor{0xF0CAA6, "clSkyBlue"},
    NamedColor{0xF0FBFF, "clCream"},
    NamedColor{0xA4A0A0, "clMedGray"},
    NamedColor{0x1FFFFFFF, "clNone"},
    NamedColor{0x20000000, "clDefault"},
    NamedColor{clSystemColor + 0, "clScrollBar"},
    NamedColor{clSystemColor + 1, "clBackground"},
    NamedColor{clSystemColor + 2, "clActiveCaption"},
    NamedColor{clSystemColor + 3, "clInactiveCaption"},
    NamedColor{clSystemColor + 4, "clMenu"},
    NamedColor{clSystemColor + 5, "clWindow"},
    NamedColor{clSystemColor + 6, "clWindowFrame"},
    NamedColor{clSystemColor + 7, "clMenuText"},
    NamedColor{clSystemColor + 8, "clWindowText"},
    NamedColor{clSystemColor + 9, "clCaptionText"},
    NamedColor{clSystemColor + 10, "clActiveBorder"},
    NamedColor{clSystemColor + 11, "clInactiveBorder"},
    NamedColor{clSystemColor + 12, "clAppWorkSpace"},
    NamedColor{clSystemColor + 13, "clHighlight"},
    NamedColor{clSystemColor + 14, "clHighlightText"},
    NamedColor{clSystemColor + 15, "clBtnFace"},
    NamedColor{clSystemColor + 16, "clBtnShadow"},
    NamedColor{clSystemColor + 17, "clGrayText"},
    NamedColor{clSystemColor + 18, "clBtnText"},
    NamedColor{clSystemColor + 19, "clInactiveCaptionText"},
    NamedColor{clSystemColor + 20, "clBtnHighlight"},
    NamedColor{clSystemColor + 21, "cl3DDkShadow"},
    NamedColor{clSystemColor + 22, "cl3DLight"},
    NamedColor{clSystemColor + 23, "clInfoText"},
    NamedColor{clSystemColor + 24, "clInfoBk"},
};

} // namespace

std::optional<std::string> ColorToIdent(TColor color)
{
    for (const auto& named : kNamedColors) {
        if (named.value == color)
            return std::string(named.name);
    }
    return std::nullopt;
}

std::optional<TColor> IdentToColor(std::string_view ident)
{
    for (const auto& named : kNamedColors) {
        if (SameTextAscii(named.name, ident))
            return named.value;
    }
    return std::nullopt;
}

std::string ColorToString(TColor color)
{
    if (auto ident = ColorToIdent(color))
        return *ident;
    char text[16];
    std::snprintf(text, sizeof text, "$%.8X", static_cast<uint32_t>(color));
    return text;
}

std::optional<TColor> StringToColor(std::string_view text)
{
    if (auto color = IdentToColor(text))
        return color;
    return StrToInt(text);
}

} // namespace tramble
