// The strip's animation, auto-hide and restore, and holding the bar.
#include "app/frmMain.h"

#include "app/QtConvert.h"
#include "launcher/ui/RainbowStrip.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>

namespace tramble {

void TfrmMain::HoldBar()
{
    m_autoHide.Hold();
}

void TfrmMain::ReleaseBar()
{
    m_autoHide.Release();
}

bool TfrmMain::ModalGuard() const
{
    return m_autoHide.ModalGuard();
}

void TfrmMain::NotePopupPoint(const QPoint& global)
{
    m_popupPoint = global - frameGeometry().topLeft();
    m_autoHide.SetPopupPoint({m_popupPoint.x(), m_popupPoint.y()});
}

TRainbowSettings TfrmMain::RainbowSettings() const
{
    TRainbowSettings s;
    s.Speed = m_config.RainBowSpeed;
    s.Width = m_config.RainBowWidth;
    s.Height = m_config.RainBowHeight;
    s.Style = m_config.RainbowStyle;
    s.UserColor = m_config.UserColor;
    s.RBCC1 = m_config.RBCC1;
    s.RBCC2 = m_config.RBCC2;
    return s;
}

void TfrmMain::ApplyStripSettings()
{
    if (!m_inStrip)
        return;
    const TEdge edge = m_strip->DockEdge();
    const TRect rect = ReplaceStripAtEdge(edge, ToTRect(m_strip->geometry()), ToTRect(Desktop()), RainbowSettings());
    m_strip->ShowAt({edge, rect});
}

void TfrmMain::OnRainbowTick()
{
    m_strip->NextFrame(RainbowSettings());
    if (m_stripProbe.hasExpired(tmrAnimation.interval())) {
        m_stripProbe.restart();
        RunAutoHide();
    }
}

void TfrmMain::UpdateAutoHideProbe()
{
    // Only a shown bar at a desktop edge can hide, and not while the pointer
    // is on it: then leaving it is an event of its own.
    const bool armed =
        !m_inStrip && isVisible() && !underMouse() && TouchesDesktopEdge(ToTRect(frameGeometry()), ToTRect(Desktop()));
    if (!armed)
        tmrAnimation.stop();
    else if (!tmrAnimation.isActive())
        tmrAnimation.start();
}

void TfrmMain::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    // One look with the pointer on the bar starts the hide count again.
    RunAutoHide();
    UpdateAutoHideProbe();
}

void TfrmMain::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    UpdateAutoHideProbe();
}

void TfrmMain::RunAutoHide()
{
    // Without the pointer's place outside the bar there is nothing to decide.
    if (m_env.CompositorPlaces || (!m_inStrip && !isVisible()))
        return;
    const QRect frame = frameGeometry();
    const QPoint cursor = QCursor::pos();
    TAutoHideView view;
    view.Cursor = {cursor.x(), cursor.y()};
    view.Window = ToTRect(m_inStrip ? m_strip->frameGeometry() : frame);
    view.Desktop = ToTRect(Desktop());
    view.FrameSize = {frame.width() - width(), frame.height() - height()};
    view.InRainbowMode = m_inStrip;
    view.HideSpeed = m_config.HideSpeed;
    view.ResSpeed = m_config.ResSpeed;
    switch (m_autoHide.Tick(view, [this](TPoint p) { return SightAt(p); })) {
    case TAutoHideAction::Restore: LeaveRainbowMode(); break;
    case TAutoHideAction::Minimise: QTimer::singleShot(0, this, &TfrmMain::EnterRainbowMode); break;
    case TAutoHideAction::None: break;
    }
}

TProbeSight TfrmMain::SightAt(TPoint p) const
{
    // Only the bar itself counts: an open menu or another program's window
    // over the point holds the bar.
    const QWidget* shown = QApplication::widgetAt(p.X, p.Y);
    if (!shown)
        return TProbeSight::Nothing;
    return shown->window() == this ? TProbeSight::Bar : TProbeSight::OtherWindow;
}

} // namespace tramble
