#pragma once

#include <QIcon>
#include <QPixmap>

namespace tramble {

// The bar's main image; a copy other than the first carries its instance
// number in its lower right corner.
QPixmap MainImage(int instance);
QPixmap BookmarkImage();
// The window icon of an instance: the main image with its number.
QIcon InstanceIcon(int instance);

} // namespace tramble
