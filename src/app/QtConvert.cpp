#include "app/QtConvert.h"

namespace tramble {

QFont ToQFont(const TFont& font)
{
    QFont result(Qs(font.Name));
    if (font.Size > 0)
        result.setPointSize(font.Size);
    result.setBold(font.Style & fsBold);
    result.setItalic(font.Style & fsItalic);
    result.setUnderline(font.Style & fsUnderline);
    result.setStrikeOut(font.Style & fsStrikeOut);
    if (font.Pitch == fpFixed)
        result.setFixedPitch(true);
    return result;
}

QColor ToQColor(TColor colour)
{
    if (colour < 0 || colour > 0xFFFFFF)
        return {};
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

} // namespace tramble
