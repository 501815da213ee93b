#include "app/MainImage.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

// The images are linked from a static library, whose resources are
// registered on first use.
static void RegisterImages()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(tramble);
        return true;
    }();
    (void)registered;
}

namespace tramble {

QPixmap MainImage(int instance)
{
    RegisterImages();
    QPixmap image(QStringLiteral(":/tramble/main.png"));
    if (instance <= 0 || image.isNull())
        return image;
    QPainter painter(&image);
    QFont font(QStringLiteral("FixedSys"));
    font.setPointSize(12);
    font.setStyleHint(QFont::Monospace);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 255));
    const QFontMetrics metrics(font);
    const QString number = QString::number(instance);
    const int x = image.width() - metrics.horizontalAdvance(number) - 8;
    const int y = image.height() - metrics.height() - 6;
    painter.drawText(QPoint(x, y + metrics.ascent()), number);
    return image;
}

QPixmap BookmarkImage()
{
    RegisterImages();
    return QPixmap(QStringLiteral(":/tramble/bookmark.png"));
}

QIcon InstanceIcon(int instance)
{
    return QIcon(MainImage(instance));
}

} // namespace tramble
