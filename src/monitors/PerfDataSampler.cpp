#include "monitors/PerfDataSampler.h"

#include <utility>

namespace tramble {

const char* const kCpuIndexOutOfBounds = "CPU index out of bounds";

TPerfDataSampler::TPerfDataSampler(TSource source) : m_source(std::move(source))
{
}

TStatus TPerfDataSampler::CollectCpuSample()
{
    TReading<std::vector<TCpuTimes>> snapshot = m_source();
    if (!snapshot)
        return TStatus::Error(snapshot.Message().empty() ? kNoProcessorObject : snapshot.Message());
    const std::vector<TCpuTimes>& lines = snapshot.Value();

    if (m_instanceCount < 0) {
        m_instanceCount = static_cast<int32_t>(lines.size());
        for (const TCpuTimes& line : lines)
            m_names.push_back(line.Name);
        m_currentCounters.assign(lines.size(), 0);
        m_previousCounters.assign(lines.size(), 0);
        m_currentTime.assign(lines.size(), 0);
        m_previousTime.assign(lines.size(), 0);
    }
    for (size_t i = 0; i < m_names.size(); ++i) {
        m_previousCounters[i] = m_currentCounters[i];
        m_previousTime[i] = m_currentTime[i];
        // Processors may go offline, so instances are matched by name; one
        // that is gone keeps its values, and its load reads 0.
        const TCpuTimes* line = i < lines.size() && lines[i].Name == m_names[i] ? &lines[i] : nullptr;
        for (size_t j = 0; !line && j < lines.size(); ++j) {
            if (lines[j].Name == m_names[i])
                line = &lines[j];
        }
        if (line) {
            m_currentCounters[i] = line->Idle;
            m_currentTime[i] = line->Total;
        }
    }
    return StatusOk();
}

TReading<int> TPerfDataSampler::CpuInstanceCount()
{
    if (m_instanceCount < 0) {
        TStatus status = CollectCpuSample();
        if (!status)
            return TReading<int>::Error(status.Message());
    }
    return m_instanceCount;
}

TReading<double> TPerfDataSampler::CpuLoadFraction(int index)
{
    TReading<int> count = CpuInstanceCount();
    if (!count)
        return TReading<double>::Error(count.Message());
    if (index < 0 || index >= count.Value())
        return TReading<double>::Error(kCpuIndexOutOfBounds);
    const size_t i = static_cast<size_t>(index);
    if (m_currentTime[i] == m_previousTime[i])
        return 0.0;
    return 1.0 - static_cast<double>(m_currentCounters[i] - m_previousCounters[i]) /
                     static_cast<double>(m_currentTime[i] - m_previousTime[i]);
}

} // namespace tramble
