#include "launcher/ui/RainbowStrip.h"

#include "launcher/RainbowColours.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace tramble {
namespace {

QImage Shown(TRainbowStrip& strip)
{
    return strip.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(RainbowStrip, FrameImageLiesAlongTheEdgeWithRedInTheLowByte)
{
    TStripFrame frame = TStripFrame::Black(40, 3);
    for (int along = 0; along < 40; ++along) {
        for (int across = 0; across < 3; ++across)
            frame.Pixels[across * 40 + along] = MakeColour(along, across * 10, 7);
    }
    const QImage flat = FrameImage(frame, true);
    const QImage upright = FrameImage(frame, false);
    ASSERT_EQ(flat.size(), QSize(40, 3));
    ASSERT_EQ(upright.size(), QSize(3, 40));
    for (const QPoint p : {QPoint(0, 0), QPoint(39, 2), QPoint(17, 1)}) {
        EXPECT_EQ(flat.pixelColor(p), QColor(p.x(), p.y() * 10, 7));
        EXPECT_EQ(upright.pixelColor(p.y(), p.x()), QColor(p.x(), p.y() * 10, 7));
    }
}

TEST(RainbowStrip, ShowsBlackThenEachFrameAtItsEdge)
{
    TRainbowStrip strip;
    strip.ShowAt({TEdge::Bottom, {100, 700, 150, 3}});
    EXPECT_EQ(strip.geometry(), QRect(100, 700, 150, 3));
    QImage black(150, 3, QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_EQ(Shown(strip), black);

    TRainbowSettings one;
    one.Style = 1;
    one.UserColor = true;
    one.RBCC1 = one.RBCC2 = MakeColour(200, 30, 60);
    strip.NextFrame(one);
    QImage filled(150, 3, QImage::Format_RGB32);
    filled.fill(QColor(200, 30, 60));
    EXPECT_EQ(Shown(strip), filled);

    strip.ShowAt({TEdge::Left, {0, 100, 5, 120}});
    TRainbowSettings wheel;
    wheel.Width = 120;
    wheel.Height = 5;
    const int phase = strip.State().Phase;
    strip.NextFrame(wheel);
    strip.NextFrame(wheel);
    EXPECT_EQ(strip.State().Phase, phase + 4);
    EXPECT_EQ(Shown(strip), FrameImage(strip.State().Frame, false));
    EXPECT_NE(Shown(strip).pixel(2, 60), qRgb(0, 0, 0));
}

} // namespace
} // namespace tramble
