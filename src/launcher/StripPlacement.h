#pragma once

#include "launcher/Geometry.h"

namespace tramble {

enum class TEdge { Left = 0, Top = 1, Right = 2, Bottom = 3 };

struct TStrip {
    TEdge Edge = TEdge::Left;
    TRect Rect;
};

// The nearest desktop edge of the window; at equal distances left wins over
// top, top over right, right over bottom.
TEdge NearestEdge(const TRect& window, const TRect& desktop);

// Where the minimised bar's strip goes: `length` along the nearest edge and
// `thickness` across it, at the bar's place along the edge. A bar that
// touched the right or bottom edge keeps its strip on that edge. The strip
// never leaves the desktop.
TStrip PlaceStrip(const TRect& window, const TRect& desktop, int length, int thickness);

// The window's place while it is dragged: moved back inside the desktop with
// its size kept.
TRect KeepInsideWhileMoving(const TRect& proposed, const TRect& desktop);
// The window's place while it is resized: each edge clamped on its own.
TRect KeepInsideWhileSizing(const TRect& proposed, const TRect& desktop);

} // namespace tramble
