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

} // namespace

TThermalSensors::TThermalSensors(std::string sysRoot) : m_sysRoot(std::move(sysRoot))
{
}

std::string TThermalSensors::FindSensor() const
{
    const std::string hwmon = m_sysRoot + "/class/hwmon";
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
    const std::string thermal = m_sysRoot + "/class/thermal";
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

TReading<int> TThermalSensors::CpuTemperature()
{
    std::optional<int64_t> value;
    if (!m_input.empty())
        value = ReadKernelNumber(m_input);
    if (!value) {
        m_input = FindSensor();
        if (m_input.empty())
            return TReading<int>::None();
        value = ReadKernelNumber(m_input);
        if (!value)
            return TReading<int>::None();
    }
    return MillidegreesToCelsius(*value);
}

} // namespace tramble::platform
