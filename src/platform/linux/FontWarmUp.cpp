#include "platform/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

namespace tramble::platform {

std::jthread WarmUpFonts()
{
    return std::jthread([] { FcInit(); });
}

} // namespace tramble::platform
