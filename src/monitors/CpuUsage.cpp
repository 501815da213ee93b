#include "monitors/CpuUsage.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tramble {

TCpuUsage::TCpuUsage(TPerfDataSampler perfData, TSystemInfoSampler systemInfo)
    : m_perfData(std::move(perfData)), m_systemInfo(std::move(systemInfo))
{
}

TReading<int> TCpuUsage::PerfDataPercent()
{
    if (TStatus status = m_perfData.CollectCpuSample(); !status)
        return TReading<int>::Error(status.Message());
    TReading<int> count = m_perfData.CpuInstanceCount();
    if (!count)
        return TReading<int>::Error(count.Message());
    // The last instance is the total over all processors.
    TReading<double> fraction = m_perfData.CpuLoadFraction(count.Value() - 1);
    if (!fraction)
        return TReading<int>::Error(fraction.Message());
    const double percent = std::clamp(fraction.Value() * 100.0, -1.0, 101.0);
    return static_cast<int>(std::nearbyint(percent));
}

void TCpuUsage::SelectMethod()
{
    m_method = cumNone;
    if (PerfDataPercent())
        m_method = cumPerfData;
    else if (m_systemInfo.Initialise()) {
        m_systemInfo.SystemCpuPercent();
        m_method = cumSystemInfo;
    }
    m_history.Clear();
}

TReading<int> TCpuUsage::Sample()
{
    TReading<int> v = TReading<int>::None();
    switch (m_method) {
    case cumNone: return v;
    case cumPerfData: v = PerfDataPercent(); break;
    case cumSystemInfo: v = m_systemInfo.SystemCpuPercent(); break;
    }
    if (!v)
        return v;
    m_history.Add(v.Value());
    return m_history.Newest();
}

} // namespace tramble
