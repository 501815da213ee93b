#include "launcher/ui/RainbowStrip.h"

#include "launcher/RainbowColours.h"

#include <QPainter>

#include <random>

namespace tramble {

TRainbowStrip::TRainbowStrip(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput |
                         Qt::WindowDoesNotAcceptFocus),
      m_random(std::random_device{}())
{
    setObjectName(QStringLiteral("RainbowStrip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setEnabled(false);
    m_state.Blocks = TBlockColours(m_random);
}

void TRainbowStrip::ShowAt(const TStrip& strip)
{
    m_edge = strip.Edge;
    const TRect& r = strip.Rect;
    m_state.Frame = Horizontal() ? TStripFrame::Black(r.Width, r.Height) : TStripFrame::Black(r.Height, r.Width);
    m_image = FrameImage(m_state.Frame, Horizontal());
    setGeometry(r.Left, r.Top, r.Width, r.Height);
    show();
    raise();
}

void TRainbowStrip::NextFrame(const TRainbowSettings& settings)
{
    m_state = NextRainbowState(settings, std::move(m_state), m_random);
    m_image = FrameImage(m_state.Frame, Horizontal());
    update();
}

void TRainbowStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, m_image);
}

QImage FrameImage(const TStripFrame& frame, bool horizontal)
{
    const int width = horizontal ? frame.Length : frame.Thickness;
    const int height = horizontal ? frame.Thickness : frame.Length;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const TColor c = horizontal ? frame.At(x, y) : frame.At(y, x);
            line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
        }
    }
    return image;
}

} // namespace tramble
