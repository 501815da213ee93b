#include "bookmarks/ui/MenuImages.h"

#include <QApplication>
#include <QStyle>

namespace tramble {
namespace {

struct TImageSource {
    const char* ThemeName;
    QStyle::StandardPixmap Fallback;
};

TImageSource Source(TMenuImage image)
{
    switch (image) {
    case miAdd: return {"list-add", QStyle::SP_FileDialogNewFolder};
    case miDelete: return {"edit-delete", QStyle::SP_TrashIcon};
    case miEdit: return {"document-edit", QStyle::SP_FileDialogDetailedView};
    case miUp: return {"go-up", QStyle::SP_ArrowUp};
    case miDown: return {"go-down", QStyle::SP_ArrowDown};
    case miBookmark: return {"text-html", QStyle::SP_DriveNetIcon};
    case miAddGroup: return {"folder-new", QStyle::SP_FileDialogNewFolder};
    case miGroup: return {"folder", QStyle::SP_DirIcon};
    }
    return {"", QStyle::SP_FileIcon};
}

} // namespace

QIcon MenuImage(TMenuImage image)
{
    const TImageSource source = Source(image);
    return QIcon::fromTheme(QLatin1String(source.ThemeName), QApplication::style()->standardIcon(source.Fallback));
}

} // namespace tramble
