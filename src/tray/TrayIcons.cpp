#include "tray/TrayIcons.h"

namespace tramble {

const TTrayIconInfo* TrayIconInfo(TTrayIconId id)
{
    for (const TTrayIconInfo& info : kTrayIcons) {
        if (info.Id == id)
            return &info;
    }
    return nullptr;
}

} // namespace tramble
