#pragma once

#include "launcher/Geometry.h"

#include <optional>

namespace tramble {

enum class TTaskbarEdge { Left, Top, Right, Bottom };

struct TTaskbar {
    TRect Rect;
    TTaskbarEdge Edge = TTaskbarEdge::Bottom;
};

// The panel that keeps a screen's work area smaller than the screen, taken as
// the taskbar: the widest strip the work area leaves free (bottom, top, left,
// right on a tie). Nothing when the work area is the whole screen.
std::optional<TTaskbar> TaskbarFromWorkArea(const TRect& screen, const TRect& workArea);

// The bar's place on its first start: beside the taskbar's far end, or
// (0, 0) without a taskbar. barWidth and barHeight are the outer size.
TPoint DefaultBarPosition(const std::optional<TTaskbar>& taskbar, int barWidth, int barHeight);

} // namespace tramble
