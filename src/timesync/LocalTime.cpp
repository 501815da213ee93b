#include "timesync/LocalTime.h"

#include <cmath>
#include <ctime>

namespace tramble {
namespace {

using std::chrono::nanoseconds;
using std::chrono::seconds;

constexpr double kUnixEpochStamp = 25569; // 1970-01-01 as days since 1899-12-30
constexpr double kNanosPerDay = 86400e9;

} // namespace

double LocalStampFromWall(TWallTime time, seconds utcOffset)
{
    const nanoseconds local = time.time_since_epoch() + utcOffset;
    // Whole days and the rest apart, so that the fraction keeps its precision.
    const auto days = std::chrono::floor<std::chrono::days>(local);
    return kUnixEpochStamp + static_cast<double>(days.count()) +
           static_cast<double>((local - days).count()) / kNanosPerDay;
}

TWallTime WallFromLocalStamp(double stamp, seconds utcOffset)
{
    const double days = std::floor(stamp);
    const auto whole = std::chrono::days(static_cast<int64_t>(days) - static_cast<int64_t>(kUnixEpochStamp));
    const auto part = nanoseconds(std::llround((stamp - days) * kNanosPerDay));
    return TWallTime{} + whole + part - utcOffset;
}

std::optional<seconds> SystemUtcOffset(TWallTime time)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    if (!::localtime_r(&t, &local))
        return std::nullopt;
    return seconds(local.tm_gmtoff);
}

std::string LocalTimeText(TWallTime time, seconds utcOffset)
{
    const nanoseconds local = time.time_since_epoch() + utcOffset;
    const seconds whole = std::chrono::floor<seconds>(local);
    const std::time_t t = static_cast<std::time_t>(whole.count());
    std::tm parts{};
    if (!::gmtime_r(&t, &parts))
        return {};
    const bool midnight = local == std::chrono::floor<std::chrono::days>(local);
    char text[128];
    const size_t length = std::strftime(text, sizeof text, midnight ? "%x" : "%x %X", &parts);
    return std::string(text, length);
}

} // namespace tramble
