#include "launcher/BarPosition.h"

namespace tramble {

std::optional<TTaskbar> TaskbarFromWorkArea(const TRect& screen, const TRect& workArea)
{
    const int bottom = screen.Bottom() - workArea.Bottom();
    const int top = workArea.Top - screen.Top;
    const int left = workArea.Left - screen.Left;
    const int right = screen.Right() - workArea.Right();
    int widest = 0;
    std::optional<TTaskbar> found;
    auto consider = [&](int inset, TTaskbarEdge edge, TRect rect) {
        if (inset > widest) {
            widest = inset;
            found = TTaskbar{rect, edge};
        }
    };
    consider(bottom, TTaskbarEdge::Bottom, {screen.Left, workArea.Bottom(), screen.Width, bottom});
    consider(top, TTaskbarEdge::Top, {screen.Left, screen.Top, screen.Width, top});
    consider(left, TTaskbarEdge::Left, {screen.Left, screen.Top, left, screen.Height});
    consider(right, TTaskbarEdge::Right, {workArea.Right(), screen.Top, right, screen.Height});
    return found;
}

TPoint DefaultBarPosition(const std::optional<TTaskbar>& taskbar, int barWidth, int barHeight)
{
    if (!taskbar)
        return {0, 0};
    const TRect& r = taskbar->Rect;
    switch (taskbar->Edge) {
    case TTaskbarEdge::Left: return {r.Right(), r.Bottom()};
    case TTaskbarEdge::Top: return {r.Right() - barWidth, r.Bottom()};
    case TTaskbarEdge::Right: return {r.Left - barWidth, r.Bottom()};
    case TTaskbarEdge::Bottom: return {r.Right() - barWidth, r.Top - barHeight};
    }
    return {0, 0};
}

} // namespace tramble
