#pragma once

#include "monitors/Reading.h"
#include "monitors/SystemStatus.h"

#include <string>

namespace tramble::platform {

// Available and total physical memory from <procRoot>/meminfo.
TReading<TMemoryStatus> ReadMemoryStatus(const std::string& procRoot = "/proc");

// Batteries and mains supplies under <sysRoot>/class/power_supply; a
// machine without a system battery gives kNoSystemBattery.
TPowerStatus ReadPowerStatus(const std::string& sysRoot = "/sys");

} // namespace tramble::platform
