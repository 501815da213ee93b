#pragma once

#include "launcher/RainbowFrame.h"
#include "launcher/RainbowSettings.h"
#include "launcher/RandomSource.h"
#include "launcher/StripPlacement.h"

#include <QImage>
#include <QWidget>

namespace tramble {

// The thin window the minimised bar collapses into. It takes no input and
// stays on top; it shows black until the animation draws its frames.
class TRainbowStrip : public QWidget {
    Q_OBJECT
public:
    explicit TRainbowStrip(QWidget* owner = nullptr);

    // Places the strip at its edge, black, and shows it.
    void ShowAt(const TStrip& strip);
    TEdge DockEdge() const { return m_edge; }

    // One tick of the animation: the next frame, painted.
    void NextFrame(const TRainbowSettings& settings);
    // The phase, the blocks and the frame the next tick draws from.
    const TRainbowState& State() const { return m_state; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool Horizontal() const { return m_edge == TEdge::Top || m_edge == TEdge::Bottom; }

    TEdge m_edge = TEdge::Left;
    TSeededRandom m_random;
    TRainbowState m_state;
    QImage m_image;
};

// The frame as the strip shows it: along the x axis for a horizontal strip,
// along the y axis for a vertical one.
QImage FrameImage(const TStripFrame& frame, bool horizontal);

} // namespace tramble
