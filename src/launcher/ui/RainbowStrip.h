#pragma once

#include "launcher/StripPlacement.h"

#include <QWidget>

namespace tramble {

// The thin window the minimised bar collapses into. It takes no input and
// stays on top; until the animation draws on it, it shows black.
class TRainbowStrip : public QWidget {
    Q_OBJECT
public:
    explicit TRainbowStrip(QWidget* owner = nullptr);

    void ShowAt(const TStrip& strip);
    TEdge DockEdge() const { return m_edge; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TEdge m_edge = TEdge::Left;
};

} // namespace tramble
