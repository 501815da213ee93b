#include "launcher/ui/StripController.h"

#include "launcher/StripPlacement.h"
#include "launcher/ui/RainbowStrip.h"
#include "launcher/ui/RectConvert.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace tramble {

TStripController::TStripController(TStripBar bar) : m_bar(std::move(bar)), m_strip(new TRainbowStrip(&m_bar.Window))
{
    tmrAnimation.setInterval(200);
    connect(&tmrAnimation, &QTimer::timeout, this, &TStripController::RunAutoHide);
    tmrRainbow.setInterval(110);
    connect(&tmrRainbow, &QTimer::timeout, this, &TStripController::OnRainbowTick);
}

TStripController::~TStripController() = default;

void TStripController::EnterRainbowMode()
{
    QWidget& window = m_bar.Window;
    if (m_inStrip || !window.isVisible())
        return;
    // A strip cannot be put at an edge where the compositor places windows.
    if (m_bar.CompositorPlaces) {
        window.showMinimized();
        return;
    }
    const TRect frame = ToTRect(window.frameGeometry());
    window.hide();
    m_bar.Fold();
    m_inStrip = true;
    const TRainbowSettings look = ClampedForDrawing(RainbowSettings());
    const TStrip strip = PlaceStrip(frame, ToTRect(m_bar.Desktop()), look.Width, look.Height);
    m_strip->ShowAt(strip);
    tmrRainbow.start();
    tmrAnimation.stop();
    m_stripProbe.start();
}

void TStripController::LeaveRainbowMode()
{
    if (!m_inStrip)
        return;
    m_autoHide.LeftRainbowMode();
    tmrRainbow.stop();
    m_strip->hide();
    m_inStrip = false;
    m_bar.Unfold();
    m_bar.Window.show();
    m_bar.Window.raise();
    UpdateAutoHideProbe();
}

void TStripController::Stop()
{
    tmrAnimation.stop();
    tmrRainbow.stop();
    m_strip->hide();
}

void TStripController::NotePopupPoint(const QPoint& global)
{
    m_popupPoint = global - m_bar.Window.frameGeometry().topLeft();
    m_autoHide.SetPopupPoint({m_popupPoint.x(), m_popupPoint.y()});
}

TRainbowSettings TStripController::RainbowSettings() const
{
    const TConfig& config = m_bar.Config;
    TRainbowSettings s;
    s.Speed = config.RainBowSpeed;
    s.Width = config.RainBowWidth;
    s.Height = config.RainBowHeight;
    s.Style = config.RainbowStyle;
    s.UserColor = config.UserColor;
    s.RBCC1 = config.RBCC1;
    s.RBCC2 = config.RBCC2;
    return s;
}

void TStripController::ApplyStripSettings()
{
    if (!m_inStrip)
        return;
    const TEdge edge = m_strip->DockEdge();
    const TRect rect =
        ReplaceStripAtEdge(edge, ToTRect(m_strip->geometry()), ToTRect(m_bar.Desktop()), RainbowSettings());
    m_strip->ShowAt({edge, rect});
}

void TStripController::OnRainbowTick()
{
    m_strip->NextFrame(RainbowSettings());
    if (m_stripProbe.hasExpired(tmrAnimation.interval())) {
        m_stripProbe.restart();
        RunAutoHide();
    }
}

void TStripController::UpdateAutoHideProbe()
{
    // Only a shown bar at a desktop edge can hide, and not while the pointer
    // is on it: then leaving it is an event of its own.
    const QWidget& window = m_bar.Window;
    const bool armed = !m_inStrip && window.isVisible() && !window.underMouse() &&
                       TouchesDesktopEdge(ToTRect(window.frameGeometry()), ToTRect(m_bar.Desktop()));
    if (!armed)
        tmrAnimation.stop();
    else if (!tmrAnimation.isActive())
        tmrAnimation.start();
}

void TStripController::OnPointerEntered()
{
    // One look with the pointer on the bar starts the hide count again.
    RunAutoHide();
    UpdateAutoHideProbe();
}

void TStripController::RunAutoHide()
{
    const QWidget& window = m_bar.Window;
    // Without the pointer's place outside the bar there is nothing to decide.
    if (m_bar.CompositorPlaces || (!m_inStrip && !window.isVisible()))
        return;
    const QRect frame = window.frameGeometry();
    const QPoint cursor = QCursor::pos();
    TAutoHideView view;
    view.Cursor = {cursor.x(), cursor.y()};
    view.Window = ToTRect(m_inStrip ? m_strip->frameGeometry() : frame);
    view.Desktop = ToTRect(m_bar.Desktop());
    view.FrameSize = {frame.width() - window.width(), frame.height() - window.height()};
    view.InRainbowMode = m_inStrip;
    view.HideSpeed = m_bar.Config.HideSpeed;
    view.ResSpeed = m_bar.Config.ResSpeed;
    switch (m_autoHide.Tick(view, [this](TPoint p) { return SightAt(p); })) {
    case TAutoHideAction::Restore: LeaveRainbowMode(); break;
    case TAutoHideAction::Minimise: QTimer::singleShot(0, this, &TStripController::EnterRainbowMode); break;
    case TAutoHideAction::None: break;
    }
}

TProbeSight TStripController::SightAt(TPoint p) const
{
    // Only the bar itself counts: an open menu or another program's window
    // over the point holds the bar.
    const QWidget* shown = QApplication::widgetAt(p.X, p.Y);
    if (!shown)
        return TProbeSight::Nothing;
    return shown->window() == &m_bar.Window ? TProbeSight::Bar : TProbeSight::OtherWindow;
}

} // namespace tramble
