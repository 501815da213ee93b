#include "launcher/ui/RainbowStrip.h"

#include <QPainter>

namespace tramble {

TRainbowStrip::TRainbowStrip(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput |
                         Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("RainbowStrip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setEnabled(false);
}

void TRainbowStrip::ShowAt(const TStrip& strip)
{
    m_edge = strip.Edge;
    setGeometry(strip.Rect.Left, strip.Rect.Top, strip.Rect.Width, strip.Rect.Height);
    show();
    raise();
}

void TRainbowStrip::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Qt::black);
}

} // namespace tramble
