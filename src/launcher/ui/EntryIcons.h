#pragma once

#include "launcher/RgbaImage.h"
#include "platform/FileTypeIcons.h"

#include <QImage>

#include <optional>
#include <string>

namespace tramble {

// A Qt image as the core's RGBA picture.
TRgbaImage ToRgbaImage(const QImage& image);

// Points Qt's theme icons at the icon themes of the data folders, also where
// no desktop names one (a bare X server, a test run). Safe to call again.
void PrepareIconThemes();

// Finds the picture of an entry's icon: IconFile may be an image file (for
// an ICO file the index picks the image), a desktop entry (its Icon), an
// icon-theme name, a folder, or an executable (the icon of the desktop
// entry that runs it, else the theme's executable icon).
class TEntryIconSource {
public:
    std::optional<TRgbaImage> Extract(const std::string& iconFile, int index, int size);

private:
    std::optional<TRgbaImage> FromImageFile(const QString& path, int index, int size) const;
    std::optional<TRgbaImage> FromTheme(const QString& name, int size);
    std::optional<TRgbaImage> FromIconText(const std::string& icon, int size);
    const platform::TDesktopIconIndex& DesktopIcons();

    std::optional<platform::TDesktopIconIndex> m_desktopIcons; // read on first need
};

} // namespace tramble
