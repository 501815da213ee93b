#include "launcher/RainbowSettings.h"

#include <algorithm>

namespace tramble {

TRainbowSettings ClampedForDrawing(const TRainbowSettings& settings)
{
    TRainbowSettings s = settings;
    s.Width = std::clamp(s.Width, kStripMinLength, kStripMaxLength);
    s.Height = std::clamp(s.Height, kStripMinThickness, kStripMaxThickness);
    s.Speed = std::clamp(s.Speed, -kRainbowMaxSpeed, kRainbowMaxSpeed);
    return s;
}

TRect ReplaceStripAtEdge(TEdge edge, const TRect& current, const TRect& desktop, const TRainbowSettings& settings)
{
    const TRainbowSettings s = ClampedForDrawing(settings);
    TRect r = current;
    switch (edge) {
    case TEdge::Left: r = {desktop.Left, current.Top, s.Height, s.Width}; break;
    case TEdge::Top: r = {current.Left, desktop.Top, s.Width, s.Height}; break;
    case TEdge::Right: r = {desktop.Right() - s.Height, current.Top, s.Height, s.Width}; break;
    case TEdge::Bottom: r = {current.Left, desktop.Bottom() - s.Height, s.Width, s.Height}; break;
    }
    return KeepInsideWhileMoving(r, desktop);
}

} // namespace tramble
