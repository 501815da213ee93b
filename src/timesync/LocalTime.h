#pragma once

#include "timesync/SntpMessage.h"

#include <chrono>
#include <optional>
#include <string>

namespace tramble {

// Local date-times as the rest of the program keeps them: days since
// 1899-12-30 00:00, the fraction being the time of day. `utcOffset` is how
// far local time is ahead of UTC (daylight time included).
double LocalStampFromWall(TWallTime time, std::chrono::seconds utcOffset);
TWallTime WallFromLocalStamp(double stamp, std::chrono::seconds utcOffset);

// The system's offset from UTC at that moment (tm_gmtoff); nothing when the
// time zone cannot be read.
std::optional<std::chrono::seconds> SystemUtcOffset(TWallTime time);

// The local moment in the locale's short date and long time ("%x %X"); the
// time left out when it is exactly midnight.
std::string LocalTimeText(TWallTime time, std::chrono::seconds utcOffset);

} // namespace tramble
