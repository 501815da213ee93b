#pragma once

#include "i18n/Language.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tramble {

// "label:  count", the about window's count lines (two blanks after the colon).
std::string CountText(const TLanguage& language, std::string_view labelKey, uint32_t count);

// A running time in whole days, hours and minutes with their unit words
// ("Sum Time: 1 Hour 1 Minute"); days are left out when there are none,
// and hours too when there are none of them either. Seconds below a full
// minute are not shown.
std::string DurationText(const TLanguage& language, std::string_view labelKey, int64_t seconds);

} // namespace tramble
