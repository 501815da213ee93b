#pragma once

#include "monitors/CpuTimes.h"
#include "monitors/Reading.h"

#include <cstdint>
#include <functional>

namespace tramble {

extern const char* const kGetCpuUsageError;

// Whole-machine load from the system's uptime and summed idle time.
class TSystemInfoSampler {
public:
    using TUptimeSource = std::function<TReading<TUptime>()>;
    using TCountSource = std::function<TReading<int>()>;

    TSystemInfoSampler(TUptimeSource uptime, TCountSource processorCount);

    // Learns the processor count and checks that the uptime can be read;
    // fails with kGetCpuUsageError. Until it succeeds the sampler gives 0.
    TStatus Initialise();
    bool Initialised() const { return m_processorCount > 0; }
    int ProcessorCount() const { return m_processorCount; }

    // Load in percent since the previous call, not yet limited to 0..100.
    // 0 on the first call and whenever the uptime cannot be read or did not
    // advance; those calls keep the previous baseline.
    int SystemCpuPercent();

private:
    TUptimeSource m_uptime;
    TCountSource m_countSource;
    int m_processorCount = 0;
    int64_t m_previousIdle = 0;
    int64_t m_previousTime = 0;
};

} // namespace tramble
