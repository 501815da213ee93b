#include "ui/DialogPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace tramble {

void CentreOnDesktop(QWidget& window)
{
    const QWidget* owner = window.parentWidget();
    const QScreen* screen = owner ? owner->screen() : window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    if (!window.isVisible() && !window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    const QRect desktop = screen->availableGeometry();
    const QSize size = window.frameGeometry().size();
    window.move(desktop.left() + std::max(0, (desktop.width() - size.width()) / 2),
                desktop.top() + std::max(0, (desktop.height() - size.height()) / 2));
}

} // namespace tramble
