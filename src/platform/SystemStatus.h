#pragma once

#include "monitors/Reading.h"
#include "monitors/SystemStatus.h"

#include <map>
#include <string>

namespace tramble::platform {

// Available and total physical memory from <procRoot>/meminfo.
TReading<TMemoryStatus> ReadMemoryStatus(const std::string& procRoot = "/proc");

// Batteries and mains supplies under <sysRoot>/class/power_supply; a
// machine without a system battery gives kNoSystemBattery. Reads only the
// attributes the figures need: the energy of a single battery only when it
// has no capacity, the drain only while it discharges.
class TPowerStatusReader {
public:
    explicit TPowerStatusReader(std::string sysRoot = "/sys");

    TPowerStatus Read();

private:
    struct Kind {
        std::string type;
        std::string scope;
    };

    std::string m_sysRoot;
    std::map<std::string, Kind> m_kinds; // by supply name: a supply keeps its type
};

} // namespace tramble::platform
