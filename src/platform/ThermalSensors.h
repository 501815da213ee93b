#pragma once

#include "monitors/Reading.h"

#include <string>

namespace tramble::platform {

// The CPU temperature that the kernel's sensor drivers report under
// <sysRoot>/class. Processor drivers: hwmon "coretemp" (Package id 0),
// "k10temp" or "zenpower" (Tdie, else Tctl). Thermal zones: "x86_pkg_temp",
// else "acpitz". Each sensor found is remembered and searched again when it
// stops answering.
class TThermalSensors {
public:
    explicit TThermalSensors(std::string sysRoot = "/sys");

    // Whole °C from a processor driver, or no reading.
    TReading<int> DriverTemperature();
    // Whole °C from a thermal zone, or no reading.
    TReading<int> ZoneTemperature();
    // The processor driver, else the zone.
    TReading<int> CpuTemperature();

    // True when one of the processor drivers is loaded, read or not.
    bool DriverLoaded() const;

private:
    std::string FindDriverInput() const;
    std::string FindZoneInput() const;

    std::string m_sysRoot;
    std::string m_driverInput;
    std::string m_zoneInput;
};

} // namespace tramble::platform
