#pragma once

#include <QIcon>

namespace tramble {

// The menu images the bookmark menus and the manager show, by their number
// in the bar's menu image list.
enum TMenuImage {
    miAdd = 0,
    miDelete = 1,
    miEdit = 2,
    miUp = 10,
    miDown = 11,
    miBookmark = 13,
    miAddGroup = 31,
    miGroup = 32,
};

// The theme's icon for the image, or the style's own when the theme has none.
QIcon MenuImage(TMenuImage image);

} // namespace tramble
