#pragma once

#include "launcher/AutoHide.h"
#include "launcher/RainbowSettings.h"
#include "store/Config.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QTimer>

#include <functional>

class QWidget;

namespace tramble {

class TRainbowStrip;

// What the strip needs of the bar window.
struct TStripBar {
    QWidget& Window;
    const TConfig& Config;
    // Where the compositor places windows there is no strip and no auto-hide.
    bool CompositorPlaces = false;
    std::function<QRect()> Desktop;
    // The bar's own layout state as it folds into the strip, once hidden.
    std::function<void()> Fold;
    // The bar's layout state restored and its size back, before it shows.
    std::function<void()> Unfold;
};

// The rainbow strip the bar collapses into and the auto-hide that folds and
// restores the bar; owns the strip window, its animation and the probe.
class TStripController : public QObject {
    Q_OBJECT
public:
    explicit TStripController(TStripBar bar);
    ~TStripController() override;

    // Collapses the bar into the strip at the nearest desktop edge.
    void EnterRainbowMode();
    // Brings the bar back from the strip.
    void LeaveRainbowMode();
    bool InRainbowMode() const { return m_inStrip; }
    // Places the shown strip again after its size settings changed.
    void ApplyStripSettings();
    // Stops the animation and the probe and hides the strip, for shut-down.
    void Stop();

    // While the bar is held it neither hides nor leaves the strip.
    void HoldBar() { m_autoHide.Hold(); }
    void ReleaseBar() { m_autoHide.Release(); }
    bool ModalGuard() const { return m_autoHide.ModalGuard(); }
    // A bar or button menu opens at this screen point.
    void NotePopupPoint(const QPoint& global);
    // Where the last bar or button menu opened, relative to the bar.
    QPoint PopupPoint() const { return m_popupPoint; }

    // The pointer came onto the bar.
    void OnPointerEntered();
    // The bar moved, resized, or the pointer left it: the probe runs only
    // while a decision can come of it.
    void UpdateAutoHideProbe();

    TRainbowStrip* Strip() const { return m_strip; }

private:
    TRainbowSettings RainbowSettings() const;
    void OnRainbowTick();
    void RunAutoHide();
    TProbeSight SightAt(TPoint p) const;

    TStripBar m_bar;
    TRainbowStrip* m_strip = nullptr;
    // Auto-hide's 200-ms probe; it runs only while a decision can come of
    // it, so an idle bar sleeps.
    QTimer tmrAnimation;
    // In the strip, the probe rides on the rainbow's frames.
    QElapsedTimer m_stripProbe;
    QTimer tmrRainbow;
    TAutoHide m_autoHide;
    bool m_inStrip = false;
    QPoint m_popupPoint;
};

} // namespace tramble
