#include "monitors/SystemInfoSampler.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tramble {

const char* const kGetCpuUsageError = "Get CPU Usage error!";

TSystemInfoSampler::TSystemInfoSampler(TUptimeSource uptime, TCountSource processorCount)
    : m_uptime(std::move(uptime)), m_countSource(std::move(processorCount))
{
}

TStatus TSystemInfoSampler::Initialise()
{
    TReading<int> count = m_countSource();
    if (!count || count.Value() <= 0 || !m_uptime())
        return TStatus::Error(kGetCpuUsageError);
    m_processorCount = count.Value();
    return StatusOk();
}

int TSystemInfoSampler::SystemCpuPercent()
{
    if (!Initialised())
        return 0;
    TReading<TUptime> now = m_uptime();
    if (!now)
        return 0;
    const int64_t idle = now.Value().Idle;
    const int64_t time = now.Value().Time;
    if (m_previousIdle != 0 && time <= m_previousTime)
        return 0;
    int result = 0;
    if (m_previousIdle != 0) {
        const double idleShare =
            static_cast<double>(idle - m_previousIdle) / static_cast<double>(time - m_previousTime);
        double x = 100.0 - idleShare * 100.0 / m_processorCount;
        // Wild inputs stay far outside 0..100 but within int range.
        x = std::clamp(x, -1.0e6, 1.0e6);
        result = static_cast<int>(std::nearbyint(x + 0.5));
    }
    m_previousIdle = idle;
    m_previousTime = time;
    return result;
}

} // namespace tramble
