#include "launcher/AutoHide.h"

#include <algorithm>

namespace tramble {
namespace {

constexpr int kNearMargin = 2;

int DelayTicks(int setting)
{
    return std::clamp(setting, kMinDelayTicks, kMaxDelayTicks);
}

} // namespace

bool IsNear(const TPoint& cursor, const TRect& window)
{
    return window.Left - kNearMargin <= cursor.X && cursor.X <= window.Right() + kNearMargin &&
           window.Top - kNearMargin <= cursor.Y && cursor.Y <= window.Bottom() + kNearMargin;
}

bool TouchesDesktopEdge(const TRect& window, const TRect& desktop)
{
    return window.Left == desktop.Left || window.Top == desktop.Top || window.Right() == desktop.Right() ||
           window.Bottom() == desktop.Bottom();
}

void TAutoHide::Release()
{
    if (m_holds > 0)
        --m_holds;
    m_hideCount = 0;
}

TPoint TAutoHide::ProbePoint(const TAutoHideView& view) const
{
    const TPoint offset = m_popupPoint.value_or(view.FrameSize);
    return {view.Window.Left + offset.X, view.Window.Top + offset.Y};
}

TAutoHideAction TAutoHide::Tick(const TAutoHideView& view, const std::function<TProbeSight(TPoint)>& sight)
{
    if (ModalGuard())
        return TAutoHideAction::None;
    return view.InRainbowMode ? TickInStrip(view) : TickOnBar(view, sight);
}

TAutoHideAction TAutoHide::TickInStrip(const TAutoHideView& view)
{
    if (!IsNear(view.Cursor, view.Window)) {
        m_restoreCount = 0;
        return TAutoHideAction::None;
    }
    ++m_restoreCount;
    if (m_restoreCount <= DelayTicks(view.ResSpeed))
        return TAutoHideAction::None;
    m_restoreCount = 0;
    return TAutoHideAction::Restore;
}

TAutoHideAction TAutoHide::TickOnBar(const TAutoHideView& view, const std::function<TProbeSight(TPoint)>& sight)
{
    if (!TouchesDesktopEdge(view.Window, view.Desktop))
        return TAutoHideAction::None;
    if (IsNear(view.Cursor, view.Window) || sight(ProbePoint(view)) != TProbeSight::Bar) {
        m_hideCount = 0;
        return TAutoHideAction::None;
    }
    ++m_hideCount;
    if (m_hideCount <= DelayTicks(view.HideSpeed))
        return TAutoHideAction::None;
    m_hideCount = 0;
    return TAutoHideAction::Minimise;
}

} // namespace tramble
