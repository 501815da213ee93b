// The server setting, the offered servers and local date-times.
#include "timesync/LocalTime.h"
#include "timesync/ServerName.h"
#include "timesync/TimeServers.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace tramble {
namespace {

using namespace std::chrono_literals;
using std::chrono::hours;
using std::chrono::seconds;

struct NameRow {
    const char* Text;
    std::optional<TServerName> Name;
};

TEST(ServerName, ReadsHostsPortsAndIpv6Addresses)
{
    const std::vector<NameRow> rows = {
        {"pool.ntp.org", TServerName{"pool.ntp.org", 123}},
        {"  time.example:1123\t", TServerName{"time.example", 1123}},
        {"127.0.0.1:5", TServerName{"127.0.0.1", 5}},
        {"host:65535", TServerName{"host", 65535}},
        {"[::1]:8123", TServerName{"::1", 8123}},
        {"[2001:db8::5]", TServerName{"2001:db8::5", 123}},
        {"::1", TServerName{"::1", 123}},
        {"2001:db8::5", TServerName{"2001:db8::5", 123}},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"host:", std::nullopt},
        {"host:0", std::nullopt},
        {"host:65536", std::nullopt},
        {"host:123456", std::nullopt},
        {"host:12a", std::nullopt},
        {"host:-1", std::nullopt},
        {":123", std::nullopt},
        {"[::1", std::nullopt},
        {"[::1]x", std::nullopt},
        {"[::1]:", std::nullopt},
        {"[]:123", std::nullopt},
        {"a b:12", std::nullopt},
        {"x]:12", std::nullopt},
    };
    for (const NameRow& row : rows)
        EXPECT_EQ(ParseServerName(row.Text), row.Name) << '"' << row.Text << '"';
}

TEST(TimeServers, OfferedServersAreDistinctUsableNames)
{
    std::set<std::string_view> seen;
    for (std::string_view server : kPresetTimeServers) {
        EXPECT_EQ(ParseServerName(server), (TServerName{std::string(server), 123})) << server;
        EXPECT_TRUE(seen.insert(server).second) << server << " twice";
    }
    EXPECT_TRUE(seen.contains(kDefaultTimeServer));
}

struct StampRow {
    const char* Name;
    TWallTime Wall;
    seconds UtcOffset;
    double Stamp;
};

TEST(LocalTime, StampsCountLocalDaysFrom1899)
{
    const TWallTime epoch{};
    const std::vector<StampRow> rows = {
        {"unix epoch in UTC", epoch, 0s, 25569.0},
        {"unix epoch eight hours east", epoch, 8h, 25569.0 + 1.0 / 3},
        {"unix epoch five hours west", epoch, -5h, 25568.0 + 19.0 / 24},
        {"1899-12-30 itself", epoch - std::chrono::days(25569), 0s, 0.0},
        {"noon, 2026-12-08", epoch + std::chrono::days(20795) + 12h, 0s, 46364.5},
    };
    for (const StampRow& row : rows) {
        EXPECT_NEAR(LocalStampFromWall(row.Wall, row.UtcOffset), row.Stamp, 1e-9) << row.Name;
        const auto back = WallFromLocalStamp(row.Stamp, row.UtcOffset) - row.Wall;
        EXPECT_LE(std::chrono::abs(back), 1us) << row.Name;
    }
}

TEST(LocalTime, StampsKeepMicrosecondsBothWays)
{
    for (int64_t us = 0; us < 86'400'000'000; us += 3'600'000'123) {
        const TWallTime t = TWallTime{} + std::chrono::days(20795) + std::chrono::microseconds(us);
        for (seconds offset : {0s, seconds(19800), seconds(-36000)}) {
            const auto error = WallFromLocalStamp(LocalStampFromWall(t, offset), offset) - t;
            EXPECT_LE(std::chrono::abs(error), 1us) << us << " us, offset " << offset.count();
        }
    }
}

struct TextRow {
    const char* Name;
    TWallTime Wall;
    seconds UtcOffset;
    const char* Text;
};

TEST(LocalTime, TextIsShortDateAndLongTimeWithoutTheTimeAtMidnight)
{
    // The tests run in the C locale: %x is mm/dd/yy, %X is HH:MM:SS.
    const TWallTime day = TWallTime{} + std::chrono::days(20795); // 2026-12-08 00:00 UTC
    const std::vector<TextRow> rows = {
        {"UTC", day + 1h + 19min + 41s, 0s, "12/08/26 01:19:41"},
        {"eight hours east", day + 1h + 19min + 41s, 8h, "12/08/26 09:19:41"},
        {"local midnight east of UTC", day - 8h, 8h, "12/08/26"},
        {"UTC midnight", day, 0s, "12/08/26"},
        {"a nanosecond after midnight", day + 1ns, 0s, "12/08/26 00:00:00"},
        {"an hour west of a midnight", day, -1h, "12/07/26 23:00:00"},
    };
    for (const TextRow& row : rows)
        EXPECT_EQ(LocalTimeText(row.Wall, row.UtcOffset), row.Text) << row.Name;
}

} // namespace
} // namespace tramble
