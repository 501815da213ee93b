#include "platform/ThermalSensors.h"

#include "monitors/SystemStatus.h"
#include "platform/linux/KernelFiles.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace tramble::platform {
namespace {

struct SensorChip {
    const char* name;
    std::vector<std::string> labels; // preferred first
};

const SensorChip kChips[] = {
    {"coretemp", {"Package id 0"}},
    {"k10temp", {"Tdie", "Tctl"}},
    {"zenpower", {"Tdie", "Tctl"}},
};

const char* const kZoneTypes[] = {"x86_pkg_temp", "acpitz"};

// The input of the chip's channel with the first matching label; the first
// channel when none of them is labelled so.
std::string ChipInput(const std::string& chip, const std::vector<std::string>& labels)
{
    const std::vector<std::string> files = ListFolder(chip);
    for (const std::string& wanted : labels) {
        for (const std::string& file : files) {
            const size_t suffix = file.rfind("_label");
            if (file.rfind("temp", 0) != 0 || suffix == std::string::npos || suffix + 6 != file.size())
                continue;
            if (ReadKernelLine(chip + "/" + file) == wanted)
                return chip + "/" + file.substr(0, suffix) + "_input";
        }
    }
    return chip + "/temp1_input";
}

// Reads the remembered input, else finds one and reads that.
TReading<int> ReadRemembered(std::string& input, std::string (*find)(const std::string&), const std::string& sysRoot)
{
    std::optional<int64_t> value;
    if (!input.empty())
        value = ReadKernelNumber(input);
    if (!value) {
        input = find(sysRoot);
        if (input.empty() || !(value = ReadKernelNumber(input)))
            return TReading<int>::None();
    }
    return MillidegreesToCelsius(*value);
}

std::string DriverInput(const std::string& sysRoot)
{
    const std::string hwmon = sysRoot + "/class/hwmon";
    const std::vector<std::string> chips = ListFolder(hwmon);
    std::vector<std::string> names;
    for (const std::string& chip : chips)
        names.push_back(ReadKernelLine(hwmon + "/" + chip + "/name").value_or(""));
    for (const SensorChip& wanted : kChips) {
        for (size_t i = 0; i < chips.size(); ++i) {
            if (names[i] != wanted.name)
                continue;
            std::string input = ChipInput(hwmon + "/" + chips[i], wanted.labels);
            if (ReadKernelNumber(input))
                return input;
        }
    }
    return {};
}

std::string ZoneInput(const std::string& sysRoot)
{
    const std::string thermal = sysRoot + "/class/thermal";
    const std::vector<std::string> zones = ListFolder(thermal);
    for (const char* type : kZoneTypes) {
        for (const std::string& zone : zones) {
            if (zone.rfind("thermal_zone", 0) != 0 || ReadKernelLine(thermal + "/" + zone + "/type") != type)
                continue;
            std::string input = thermal + "/" + zone + "/temp";
            if (ReadKernelNumber(input))
                return input;
        }
    }
    return {};
}

} // namespace

TThermalSensors::TThermalSensors(std::string sysRoot) : m_sysRoot(std::move(sysRoot))
{
}

bool TThermalSensors::DriverLoaded() const
{
    const std::string hwmon = m_sysRoot + "/class/hwmon";
    for (const std::string& chip : ListFolder(hwmon)) {
        const std::optional<std::string> name = ReadKernelLine(hwmon + "/" + chip + "/name");
        for (const SensorChip& known : kChips) {
            if (name == known.name)
                return true;
        }
    }
    return false;
}

TReading<int> TThermalSensors::DriverTemperature()
{
    return ReadRemembered(m_driverInput, DriverInput, m_sysRoot);
}

TReading<int> TThermalSensors::ZoneTemperature()
{
    return ReadRemembered(m_zoneInput, ZoneInput, m_sysRoot);
}

TReading<int> TThermalSensors::CpuTemperature()
{
    TReading<int> reading = DriverTemperature();
    return reading ? reading : ZoneTemperature();
}

} // namespace tramble::platform
