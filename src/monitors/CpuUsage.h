#pragma once

#include "monitors/CpuHistory.h"
#include "monitors/PerfDataSampler.h"
#include "monitors/Reading.h"
#include "monitors/SystemInfoSampler.h"

#include <cstdint>

namespace tramble {

enum TCpuUsageMethod : uint8_t {
    cumNone = 0,       // no source works; the CPU icon shows its error text
    cumPerfData = 1,   // TPerfDataSampler
    cumSystemInfo = 2, // TSystemInfoSampler
};

// The CPU load monitor: picks a sampler once at start-up and keeps the
// one-second history the tray draws.
class TCpuUsage {
public:
    TCpuUsage(TPerfDataSampler perfData, TSystemInfoSampler systemInfo);

    // The start-up probe: the performance sampler first, then the system
    // sampler; clears the history.
    void SelectMethod();
    TCpuUsageMethod CpuUsageMethod() const { return m_method; }

    // One per-second sample. Gives the stored load, no reading when no
    // method works, or the sampler's error; a failed sample leaves the
    // history as it was.
    TReading<int> Sample();

    const TCpuHistory& History() const { return m_history; }

private:
    TReading<int> PerfDataPercent();

    TPerfDataSampler m_perfData;
    TSystemInfoSampler m_systemInfo;
    TCpuUsageMethod m_method = cumNone;
    TCpuHistory m_history;
};

} // namespace tramble
