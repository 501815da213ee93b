#pragma once

#include "launcher/Geometry.h"

#include <QRect>

namespace tramble {

inline TRect ToTRect(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

inline QRect ToQRect(const TRect& r)
{
    return {r.Left, r.Top, r.Width, r.Height};
}

} // namespace tramble
