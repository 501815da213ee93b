#include "launcher/StripPlacement.h"

#include <algorithm>

namespace tramble {

TEdge NearestEdge(const TRect& window, const TRect& desktop)
{
    const int l = window.Left - desktop.Left;
    const int t = window.Top - desktop.Top;
    const int r = desktop.Right() - window.Right();
    const int b = desktop.Bottom() - window.Bottom();
    if (l <= t && l <= r && l <= b)
        return TEdge::Left;
    if (t <= l && t <= r && t <= b)
        return TEdge::Top;
    if (r <= l && r <= t && r <= b)
        return TEdge::Right;
    return TEdge::Bottom;
}

TStrip PlaceStrip(const TRect& window, const TRect& desktop, int length, int thickness)
{
    length = std::max(length, 1);
    thickness = std::max(thickness, 1);
    const bool touchedBottom = desktop.Bottom() == window.Bottom();
    const bool touchedRight = desktop.Right() == window.Right();

    TStrip strip;
    strip.Edge = NearestEdge(window, desktop);
    TRect& r = strip.Rect;
    switch (strip.Edge) {
    case TEdge::Left: r = {desktop.Left, window.Top, thickness, length}; break;
    case TEdge::Top: r = {window.Left, desktop.Top, length, thickness}; break;
    case TEdge::Right: r = {desktop.Right() - thickness, window.Top, thickness, length}; break;
    case TEdge::Bottom: r = {window.Left, desktop.Bottom() - thickness, length, thickness}; break;
    }
    if (touchedRight)
        r.Left = desktop.Right() - r.Width;
    if (touchedBottom)
        r.Top = desktop.Bottom() - r.Height;
    r = KeepInsideWhileMoving(r, desktop);
    return strip;
}

TRect KeepInsideWhileMoving(const TRect& proposed, const TRect& desktop)
{
    TRect r = proposed;
    if (r.Left < desktop.Left)
        r.Left = desktop.Left;
    if (r.Right() > desktop.Right())
        r.Left = desktop.Right() - r.Width;
    if (r.Top < desktop.Top)
        r.Top = desktop.Top;
    if (r.Bottom() > desktop.Bottom())
        r.Top = desktop.Bottom() - r.Height;
    return r;
}

TRect KeepInsideWhileSizing(const TRect& proposed, const TRect& desktop)
{
    const int left = std::max(proposed.Left, desktop.Left);
    const int top = std::max(proposed.Top, desktop.Top);
    const int right = std::min(proposed.Right(), desktop.Right());
    const int bottom = std::min(proposed.Bottom(), desktop.Bottom());
    return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

} // namespace tramble
