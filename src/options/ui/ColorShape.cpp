#include "options/ui/ColorShape.h"

#include "ui/Prompts.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

namespace tramble {

QColor ToQtColour(TColor colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

TColor FromQtColour(const QColor& colour)
{
    return colour.red() | colour.green() << 8 | colour.blue() << 16;
}

TColorShape::TColorShape(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setFixedSize(40, 20);
    setCursor(Qt::PointingHandCursor);
}

void TColorShape::SetColour(TColor colour)
{
    m_colour = colour & 0xFFFFFF;
    update();
}

void TColorShape::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    QColorDialog dialog(ToQtColour(m_colour), window());
    dialog.setObjectName(QStringLiteral("ColorDialog"));
    if (RunPrompt(dialog) == QDialog::Accepted)
        SetColour(FromQtColour(dialog.selectedColor()));
}

void TColorShape::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(contentsRect(), ToQtColour(m_colour));
    painter.end();
    QFrame::paintEvent(event);
}

} // namespace tramble
