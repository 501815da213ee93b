#include "monitors/SystemStatus.h"

#include "text/TextConvert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tramble {
namespace {

// The kB value of a meminfo line, in bytes.
std::optional<uint64_t> KilobyteField(std::string_view value)
{
    value = TrimLeft(value);
    uint64_t kb = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), kb);
    if (error != std::errc() || kb > UINT64_MAX / 1024)
        return std::nullopt;
    return kb * 1024;
}

bool IsBattery(const TPowerSupply& supply)
{
    return supply.Type == "Battery" && supply.Scope != "Device" && supply.Present.value_or(1) != 0;
}

// Supplies that feed the machine from outside: mains adapters and USB ports.
bool IsLineSupply(const TPowerSupply& supply)
{
    return supply.Type == "Mains" || supply.Type.rfind("USB", 0) == 0;
}

// Sum of now / sum of full over all batteries, when all of them have both.
std::optional<double> ShareOfFull(const std::vector<const TPowerSupply*>& batteries,
                                  std::optional<int64_t> TPowerSupply::*now, std::optional<int64_t> TPowerSupply::*full)
{
    double sumNow = 0;
    double sumFull = 0;
    for (const TPowerSupply* b : batteries) {
        if (!(b->*now) || !(b->*full) || *(b->*full) <= 0 || *(b->*now) < 0)
            return std::nullopt;
        sumNow += static_cast<double>(*(b->*now));
        sumFull += static_cast<double>(*(b->*full));
    }
    return sumNow / sumFull;
}

// Hours left at the present drain, from whichever pair of figures the
// batteries report.
std::optional<double> HoursLeft(const std::vector<const TPowerSupply*>& batteries,
                                std::optional<int64_t> TPowerSupply::*now, std::optional<int64_t> TPowerSupply::*rate)
{
    double sumNow = 0;
    double sumRate = 0;
    for (const TPowerSupply* b : batteries) {
        if (!(b->*now) || !(b->*rate))
            return std::nullopt;
        sumNow += static_cast<double>(std::max<int64_t>(*(b->*now), 0));
        // Some drivers report the drain as a negative figure.
        sumRate += std::abs(static_cast<double>(*(b->*rate)));
    }
    if (sumRate <= 0)
        return std::nullopt;
    return sumNow / sumRate;
}

uint8_t AcLineStatus(const std::vector<TPowerSupply>& supplies, bool charging, bool discharging)
{
    bool haveLine = false;
    for (const TPowerSupply& supply : supplies) {
        if (!IsLineSupply(supply) || !supply.Online)
            continue;
        if (*supply.Online == 1)
            return 1;
        haveLine = true;
    }
    if (haveLine || discharging)
        return 0;
    return charging ? 1 : kUnknownStatus;
}

} // namespace

TReading<TMemoryStatus> ParseMemInfo(std::string_view text)
{
    std::optional<uint64_t> total;
    std::optional<uint64_t> available;
    std::optional<uint64_t> free;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, colon);
        const std::string_view value = line.substr(colon + 1);
        if (key == "MemTotal")
            total = KilobyteField(value);
        else if (key == "MemAvailable")
            available = KilobyteField(value);
        else if (key == "MemFree")
            free = KilobyteField(value);
    }
    if (!total)
        return TReading<TMemoryStatus>::None();
    TMemoryStatus status;
    status.TotalPhys = *total;
    status.AvailPhys = std::min(available ? *available : free.value_or(0), *total);
    return status;
}

int MillidegreesToCelsius(int64_t millidegrees)
{
    constexpr int64_t kLimit = int64_t(1) << 40;
    millidegrees = std::clamp(millidegrees, -kLimit, kLimit);
    const int64_t half = millidegrees < 0 ? -500 : 500;
    return static_cast<int>((millidegrees + half) / 1000);
}

TPowerStatus PowerStatusFrom(const std::vector<TPowerSupply>& supplies)
{
    std::vector<const TPowerSupply*> batteries;
    bool charging = false;
    bool discharging = false;
    for (const TPowerSupply& supply : supplies) {
        if (!IsBattery(supply))
            continue;
        batteries.push_back(&supply);
        charging = charging || supply.Status == "Charging";
        discharging = discharging || supply.Status == "Discharging";
    }

    TPowerStatus status;
    status.ACLineStatus = AcLineStatus(supplies, charging, discharging);
    if (batteries.empty()) {
        status.BatteryFlag = kNoSystemBattery;
        return status;
    }

    // One battery: the driver's own percentage. Several: their energy added up.
    std::optional<double> share;
    if (batteries.size() == 1 && batteries[0]->Capacity)
        share = static_cast<double>(*batteries[0]->Capacity) / 100.0;
    if (!share)
        share = ShareOfFull(batteries, &TPowerSupply::EnergyNow, &TPowerSupply::EnergyFull);
    if (!share)
        share = ShareOfFull(batteries, &TPowerSupply::ChargeNow, &TPowerSupply::ChargeFull);
    if (!share) {
        double sum = 0;
        int count = 0;
        for (const TPowerSupply* b : batteries) {
            if (b->Capacity) {
                sum += static_cast<double>(*b->Capacity) / 100.0;
                ++count;
            }
        }
        if (count > 0)
            share = sum / count;
    }
    if (!share)
        return status;

    const int percent = static_cast<int>(std::lround(std::clamp(*share, 0.0, 1.0) * 100.0));
    status.BatteryLifePercent = static_cast<uint8_t>(percent);
    status.BatteryFlag = 0;
    if (percent > 66)
        status.BatteryFlag |= kBatteryHigh;
    if (percent < 33)
        status.BatteryFlag |= kBatteryLow;
    if (percent < 5)
        status.BatteryFlag |= kBatteryCritical;
    if (charging)
        status.BatteryFlag |= kBatteryCharging;

    if (discharging && !charging) {
        std::optional<double> hours = HoursLeft(batteries, &TPowerSupply::EnergyNow, &TPowerSupply::PowerNow);
        if (!hours)
            hours = HoursLeft(batteries, &TPowerSupply::ChargeNow, &TPowerSupply::CurrentNow);
        // Anything beyond ten days is a driver's figure, not a real estimate.
        if (hours && *hours <= 240.0)
            status.BatteryLifeTime = static_cast<uint32_t>(std::lround(*hours * 3600.0));
    }
    return status;
}

} // namespace tramble
