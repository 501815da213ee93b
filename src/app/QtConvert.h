#pragma once

#include "launcher/ui/RectConvert.h"
#include "store/Font.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string>

namespace tramble {

inline QString Qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// A stored font as Qt draws it; fontconfig stands in for families it lacks.
QFont ToQFont(const TFont& font);
// A stored colour (0x00BBGGRR); nothing valid for system colours.
QColor ToQColor(TColor colour);

} // namespace tramble
