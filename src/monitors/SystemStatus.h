#pragma once

#include "monitors/Reading.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// Physical memory in bytes.
struct TMemoryStatus {
    uint64_t AvailPhys = 0;
    uint64_t TotalPhys = 0;
};

// MemAvailable (MemFree on kernels without it) and MemTotal; no reading
// when MemTotal is missing.
TReading<TMemoryStatus> ParseMemInfo(std::string_view text);

constexpr uint8_t kBatteryHigh = 0x01;
constexpr uint8_t kBatteryLow = 0x02;
constexpr uint8_t kBatteryCritical = 0x04;
constexpr uint8_t kBatteryCharging = 0x08;
constexpr uint8_t kNoSystemBattery = 0x80;
constexpr uint8_t kUnknownStatus = 0xFF;

// The power state the battery icon shows.
struct TPowerStatus {
    uint8_t ACLineStatus = kUnknownStatus;       // 0 offline, 1 online, 255 unknown
    uint8_t BatteryFlag = kUnknownStatus;        // kBattery* bits, kNoSystemBattery, or 255
    uint8_t BatteryLifePercent = kUnknownStatus; // 0..100, or 255
    std::optional<uint32_t> BatteryLifeTime;     // seconds left, when known
};

// The attributes of one power supply that matter here; missing ones are empty.
struct TPowerSupply {
    std::string Name;
    std::string Type;   // "Battery", "Mains", "USB", ...
    std::string Scope;  // "Device" for the batteries of mice and keyboards
    std::string Status; // "Charging", "Discharging", "Full", ...
    std::optional<int64_t> Present;
    std::optional<int64_t> Online;
    std::optional<int64_t> Capacity;                          // percent
    std::optional<int64_t> EnergyNow, EnergyFull, PowerNow;   // µWh, µW
    std::optional<int64_t> ChargeNow, ChargeFull, CurrentNow; // µAh, µA
};

// Combines the system's batteries and mains supplies.
TPowerStatus PowerStatusFrom(const std::vector<TPowerSupply>& supplies);

// A sensor's millidegree reading rounded to whole degrees, within int range.
int MillidegreesToCelsius(int64_t millidegrees);

} // namespace tramble
