#pragma once

#include "store/ColorNames.h"

#include <QFrame>

namespace tramble {

// A box showing one colour; a left press opens the colour dialog on it and
// a confirmed choice paints the box.
class TColorShape : public QFrame {
    Q_OBJECT
public:
    explicit TColorShape(QWidget* parent = nullptr);

    TColor Colour() const { return m_colour; }
    void SetColour(TColor colour);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    TColor m_colour = 0;
};

// 0x00BBGGRR and back.
QColor ToQtColour(TColor colour);
TColor FromQtColour(const QColor& colour);

} // namespace tramble
