#pragma once

#include "monitors/Reading.h"

#include <string>

namespace tramble::platform {

// The CPU temperature that the kernel's sensor drivers report under
// <sysRoot>/class: hwmon "coretemp" (Package id 0), "k10temp" or "zenpower"
// (Tdie, else Tctl), else the thermal zone "x86_pkg_temp", else "acpitz".
// The sensor found is remembered and searched again when it stops answering.
class TThermalSensors {
public:
    explicit TThermalSensors(std::string sysRoot = "/sys");

    // Whole °C, or no reading.
    TReading<int> CpuTemperature();

private:
    std::string FindSensor() const;

    std::string m_sysRoot;
    std::string m_input;
};

} // namespace tramble::platform
