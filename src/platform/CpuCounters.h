#pragma once

#include "monitors/CpuTimes.h"
#include "monitors/Reading.h"

#include <string>
#include <vector>

namespace tramble::platform {

// The processor lines of <procRoot>/stat, total last (see ParseProcStat).
TReading<std::vector<TCpuTimes>> ReadCpuTimes(const std::string& procRoot);

// <procRoot>/uptime.
TReading<TUptime> ReadUptime(const std::string& procRoot);

// Processors online, from <sysRoot>/devices/system/cpu/online.
TReading<int> ReadOnlineCpuCount(const std::string& sysRoot);

} // namespace tramble::platform
