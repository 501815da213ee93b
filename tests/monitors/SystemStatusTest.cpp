#include "monitors/SystemStatus.h"

#include <gtest/gtest.h>

using namespace tramble;

TEST(MemInfo, AvailableAndTotalInBytes)
{
    const std::string text = "MemTotal:       24683736 kB\n"
                             "MemFree:        23939032 kB\n"
                             "MemAvailable:   24151644 kB\n"
                             "Buffers:           12345 kB\n";
    auto status = ParseMemInfo(text);
    ASSERT_TRUE(status);
    EXPECT_EQ(status.Value().TotalPhys, 24683736ull * 1024);
    EXPECT_EQ(status.Value().AvailPhys, 24151644ull * 1024);

    // Kernels before MemAvailable: the free memory stands in.
    EXPECT_EQ(ParseMemInfo("MemTotal: 1000 kB\nMemFree: 300 kB\n").Value().AvailPhys, 300u * 1024);
    // Never more available than there is.
    EXPECT_EQ(ParseMemInfo("MemTotal: 1000 kB\nMemAvailable: 3000 kB\n").Value().AvailPhys, 1000u * 1024);
    for (const char* bad : {"", "MemFree: 300 kB\n", "MemTotal: lots\n", "MemTotal: 99999999999999999999 kB\n"})
        EXPECT_FALSE(ParseMemInfo(bad)) << bad;
}

namespace {

TPowerSupply Battery(const char* status, std::optional<int64_t> capacity)
{
    TPowerSupply b;
    b.Name = "BAT0";
    b.Type = "Battery";
    b.Status = status;
    b.Capacity = capacity;
    return b;
}

TPowerSupply Mains(int64_t online)
{
    TPowerSupply m;
    m.Name = "AC";
    m.Type = "Mains";
    m.Online = online;
    return m;
}

TPowerSupply WithEnergy(TPowerSupply b, int64_t now, int64_t full, std::optional<int64_t> power)
{
    b.EnergyNow = now;
    b.EnergyFull = full;
    b.PowerNow = power;
    return b;
}

TPowerSupply WithCharge(TPowerSupply b, int64_t now, int64_t full, std::optional<int64_t> current)
{
    b.ChargeNow = now;
    b.ChargeFull = full;
    b.CurrentNow = current;
    return b;
}

} // namespace

TEST(PowerStatus, SuppliesToTheBatteryIconFigures)
{
    TPowerSupply mouse = Battery("Discharging", 10);
    mouse.Scope = "Device";
    TPowerSupply absent = Battery("Unknown", 50);
    absent.Present = 0;
    TPowerSupply second = WithEnergy(Battery("Discharging", 20), 10'000'000, 50'000'000, 5'000'000);
    second.Name = "BAT1";

    const struct {
        const char* name;
        std::vector<TPowerSupply> supplies;
        uint8_t ac;
        uint8_t flag;
        uint8_t percent;
        std::optional<uint32_t> seconds;
    } cases[] = {
        // clang-format off
        {"desktop", {}, kUnknownStatus, kNoSystemBattery, kUnknownStatus, std::nullopt},
        {"desktop with mains", {Mains(1)}, 1, kNoSystemBattery, kUnknownStatus, std::nullopt},
        {"mouse battery is no system battery", {Mains(1), mouse}, 1, kNoSystemBattery, kUnknownStatus, std::nullopt},
        {"absent battery", {absent}, kUnknownStatus, kNoSystemBattery, kUnknownStatus, std::nullopt},
        {"charging on mains", {Mains(1), Battery("Charging", 50)}, 1, kBatteryCharging, 50, std::nullopt},
        {"full on mains", {Mains(1), Battery("Full", 100)}, 1, kBatteryHigh, 100, std::nullopt},
        {"mains offline", {Mains(0), Battery("Discharging", 30)}, 0, kBatteryLow, 30, std::nullopt},
        {"no mains entry, discharging", {Battery("Discharging", 4)}, 0, kBatteryLow | kBatteryCritical, 4,
         std::nullopt},
        {"no mains entry, charging", {Battery("Charging", 67)}, 1, kBatteryHigh | kBatteryCharging, 67, std::nullopt},
        {"one battery: the driver's percentage",
         {WithEnergy(Battery("Discharging", 61), 25'000'000, 50'000'000, 25'000'000)}, 0, 0, 61, 3600},
        {"energy: 2.5 hours",
         {Mains(0), WithEnergy(Battery("Discharging", std::nullopt), 25'000'000, 50'000'000, 10'000'000)},
         0, 0, 50, 9000},
        {"charge with a negative current",
         {WithCharge(Battery("Discharging", std::nullopt), 3'000'000, 4'000'000, -1'500'000)},
         0, kBatteryHigh, 75, 7200},
        {"no drain figure", {WithEnergy(Battery("Discharging", std::nullopt), 25, 50, 0)}, 0, 0, 50, std::nullopt},
        {"charging has no time left", {WithEnergy(Battery("Charging", 12), 25, 50, 10)}, 1,
         kBatteryLow | kBatteryCharging, 12, std::nullopt},
        {"two batteries add up",
         {WithEnergy(Battery("Discharging", 90), 40'000'000, 50'000'000, 5'000'000), second},
         0, 0, 50, 18000},
        {"no capacity at all", {Battery("Discharging", std::nullopt)}, 0, kUnknownStatus, kUnknownStatus,
         std::nullopt},
        {"capacity beyond 100", {Battery("Full", 104)}, kUnknownStatus, kBatteryHigh, 100, std::nullopt},
        // clang-format on
    };
    for (const auto& c : cases) {
        const TPowerStatus status = PowerStatusFrom(c.supplies);
        EXPECT_EQ(status.ACLineStatus, c.ac) << c.name;
        EXPECT_EQ(status.BatteryFlag, c.flag) << c.name;
        EXPECT_EQ(status.BatteryLifePercent, c.percent) << c.name;
        EXPECT_EQ(status.BatteryLifeTime, c.seconds) << c.name;
    }
}

TEST(PowerStatus, MillidegreesRoundToWholeDegrees)
{
    const struct {
        int64_t milli;
        int celsius;
    } cases[] = {{45000, 45}, {45499, 45}, {45500, 46}, {-1500, -2}, {-1499, -1}, {0, 0}, {INT64_MAX, 1099511628}};
    for (const auto& c : cases)
        EXPECT_EQ(MillidegreesToCelsius(c.milli), c.celsius) << c.milli;
}
