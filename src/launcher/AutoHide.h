#pragma once

#include "launcher/Geometry.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace tramble {

// What the screen shows at a point: the bar itself, a window of another
// application (or another window of ours, such as an open menu), or nothing.
enum class TProbeSight { Bar, OtherWindow, Nothing };

enum class TAutoHideAction {
    None,
    Restore, // leave the strip: the cursor stayed on it long enough
    Minimise // collapse the bar: the cursor stayed away long enough
};

// What one animation tick looks at.
struct TAutoHideView {
    TPoint Cursor;
    TRect Window; // the bar's outer rectangle, or the strip's while it is shown
    TRect Desktop;
    TPoint FrameSize; // outer size minus client size of the bar
    bool InRainbowMode = false;
    int HideSpeed = 5; // ticks away from the bar before it hides
    int ResSpeed = 3;  // ticks on the strip before the bar comes back
};

// The range the options dialog allows for both delays.
constexpr int kMinDelayTicks = 1;
constexpr int kMaxDelayTicks = 18;

// Within two pixels of the rectangle, borders included.
bool IsNear(const TPoint& cursor, const TRect& window);
bool TouchesDesktopEdge(const TRect& window, const TRect& desktop);

// Auto-hide and restore of the bar, one decision per 200-ms tick.
class TAutoHide {
public:
    // Dialogs and launches hold the bar: while any hold is open nothing is
    // decided. Holds nest; the last release clears the guard, and every
    // release starts the hide count again.
    void Hold() { ++m_holds; }
    void Release();
    bool ModalGuard() const { return m_holds > 0; }

    // Where a bar or button menu opened, relative to the window's top-left
    // corner. From then on it is the probe point, so an open menu holds the bar.
    void SetPopupPoint(const TPoint& relative) { m_popupPoint = relative; }
    // The point whose sight decides hiding: the window's corner plus the
    // popup point, or plus the frame size while no menu has opened yet.
    TPoint ProbePoint(const TAutoHideView& view) const;

    // sight tells what the screen shows at a point; it is asked only when
    // the decision needs it.
    TAutoHideAction Tick(const TAutoHideView& view, const std::function<TProbeSight(TPoint)>& sight);

    // The bar came back from the strip, by hover or by a tray click.
    void LeftRainbowMode() { m_restoreCount = 0; }

    uint16_t HideCount() const { return m_hideCount; }
    uint16_t RestoreCount() const { return m_restoreCount; }

private:
    TAutoHideAction TickInStrip(const TAutoHideView& view);
    TAutoHideAction TickOnBar(const TAutoHideView& view, const std::function<TProbeSight(TPoint)>& sight);

    int m_holds = 0;
    uint16_t m_hideCount = 0;
    uint16_t m_restoreCount = 0;
    std::optional<TPoint> m_popupPoint;
};

} // namespace tramble
