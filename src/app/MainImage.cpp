#include "app/MainImage.h"

#include "launcher/ui/ImageFromPng.h"

#include <QFile>
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
namespace {

QPixmap ResourcePixmap(const QString& path)
{
    RegisterImages();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray png = file.readAll();
    return QPixmap::fromImage(ImageFromPng(std::string_view(png.constData(), png.size())));
}

} // namespace

QPixmap MainImage(int instance)
{
    QPixmap image = ResourcePixmap(QStringLiteral(":/tramble/main.png"));
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
    return ResourcePixmap(QStringLiteral(":/tramble/bookmark.png"));
}

QIcon InstanceIcon(int instance)
{
    return QIcon(MainImage(instance));
}

} // namespace tramble
