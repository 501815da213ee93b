#pragma once

#include "launcher/Geometry.h"
#include "store/Font.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <string>

namespace tramble {

inline TRect ToTRect(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

inline QRect ToQRect(const TRect& r)
{
    return {r.Left, r.Top, r.Width, r.Height};
}

inline QString Qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// A stored font as Qt draws it; fontconfig stands in for families it lacks.
QFont ToQFont(const TFont& font);
// A stored colour (0x00BBGGRR); nothing valid for system colours.
QColor ToQColor(TColor colour);

} // namespace tramble
