#include "launcher/ui/EntryIcons.h"

#include "shell/DesktopEntry.h"

#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPainter>

#include <fstream>
#include <iterator>

namespace tramble {
namespace {

// Theme icons are looked up in this theme when the desktop names none that
// has them (a bare X server, a test run).
const char* const kFallbackTheme = "Adwaita";

// The picture scaled into a transparent square of size × size, centred.
QImage Fit(const QImage& image, int size)
{
    QImage square(size, size, QImage::Format_RGBA8888);
    square.fill(Qt::transparent);
    const QImage scaled = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&square);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return square;
}

std::string DesktopEntryIcon(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::optional<TDesktopEntry> entry = TDesktopEntry::Parse(text);
    return entry ? entry->ValueOr("Icon", "") : std::string();
}

} // namespace

TRgbaImage ToRgbaImage(const QImage& image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    TRgbaImage out(rgba.width(), rgba.height());
    for (int y = 0; y < rgba.height(); ++y)
        std::copy_n(rgba.constScanLine(y), size_t(rgba.width()) * 4, out.Pixels.begin() + size_t(y) * rgba.width() * 4);
    return out;
}

std::optional<TRgbaImage> TEntryIconSource::Extract(const std::string& iconFile, int index, int size)
{
    if (iconFile.empty() || size <= 0)
        return std::nullopt;
    const QString path = QString::fromStdString(iconFile);
    const QFileInfo info(path);
    if (!info.exists())
        return iconFile.find('/') == std::string::npos ? FromTheme(path, size) : std::nullopt;
    if (info.isDir())
        return FromTheme(QStringLiteral("folder"), size);
    if (info.suffix() == QLatin1String("desktop"))
        return FromIconText(DesktopEntryIcon(path), size);
    if (!QImageReader::imageFormat(path).isEmpty())
        return FromImageFile(path, index, size);
    if (info.isExecutable()) {
        const std::string icon = DesktopIcons().IconFor(iconFile);
        if (std::optional<TRgbaImage> image = FromIconText(icon, size))
            return image;
        return FromTheme(QStringLiteral("application-x-executable"), size);
    }
    return std::nullopt;
}

std::optional<TRgbaImage> TEntryIconSource::FromIconText(const std::string& icon, int size)
{
    if (icon.empty())
        return std::nullopt;
    const QString text = QString::fromStdString(icon);
    if (icon.find('/') != std::string::npos)
        return FromImageFile(text, 0, size);
    return FromTheme(text, size);
}

std::optional<TRgbaImage> TEntryIconSource::FromImageFile(const QString& path, int index, int size) const
{
    QImageReader reader(path);
    if (index > 0 && !reader.jumpToImage(index))
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return ToRgbaImage(Fit(image, size));
}

void PrepareIconThemes()
{
    // Without a desktop platform theme Qt looks in its resources only.
    QStringList paths = QIcon::themeSearchPaths();
    const qsizetype known = paths.size();
    for (const std::string& folder : platform::DataFolders()) {
        const QString icons = QString::fromStdString(folder + "/icons");
        if (!paths.contains(icons))
            paths << icons;
    }
    // Setting the paths empties Qt's icon cache, so only when they change.
    if (paths.size() != known)
        QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QStringLiteral("hicolor"));
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QLatin1String(kFallbackTheme));
}

std::optional<TRgbaImage> TEntryIconSource::FromTheme(const QString& name, int size)
{
    PrepareIconThemes();
    const QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull())
        return std::nullopt;
    const QPixmap pixmap = icon.pixmap(size, size);
    if (pixmap.isNull())
        return std::nullopt;
    return ToRgbaImage(Fit(pixmap.toImage(), size));
}

const platform::TDesktopIconIndex& TEntryIconSource::DesktopIcons()
{
    if (!m_desktopIcons)
        m_desktopIcons.emplace(platform::DataFolders());
    return *m_desktopIcons;
}

} // namespace tramble
