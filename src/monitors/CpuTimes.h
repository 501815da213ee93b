#pragma once

#include "monitors/Reading.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// One processor line of the kernel's statistics, in clock ticks.
struct TCpuTimes {
    std::string Name;  // "cpu0", "cpu1", ..., "cpu" for the total
    int64_t Idle = 0;  // idle + iowait: the time the processor had no work
    int64_t Total = 0; // every tick of the line, guest time counted once
};

// Seconds since boot and idle seconds summed over all processors, both in
// hundredths of a second.
struct TUptime {
    int64_t Time = 0;
    int64_t Idle = 0;
};

extern const char* const kNoProcessorObject;
extern const char* const kNoCpuUsageCounter;

// The per-processor lines in their order, then the total line as the last
// entry. Fails with kNoProcessorObject when there is no total line and with
// kNoCpuUsageCounter when a processor line lacks the idle field.
TReading<std::vector<TCpuTimes>> ParseProcStat(std::string_view text);

TReading<TUptime> ParseUptime(std::string_view text);

// Number of processors in a kernel CPU list such as "0-3,6"; 0 when the text
// is no such list.
int CountCpuList(std::string_view text);

} // namespace tramble
