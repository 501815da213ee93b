#pragma once

#include "monitors/CpuTimes.h"
#include "monitors/Reading.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tramble {

extern const char* const kCpuIndexOutOfBounds;

// Per-processor load from snapshots of the kernel's processor statistics. The
// instances are the processors in their order, then the total over all of
// them as the last instance. Each instance keeps an idle counter and its own
// time, both in clock ticks.
class TPerfDataSampler {
public:
    using TSource = std::function<TReading<std::vector<TCpuTimes>>()>;

    explicit TPerfDataSampler(TSource source);

    // Takes one snapshot; on failure nothing changes.
    TStatus CollectCpuSample();
    // Fixed by the first snapshot, which is taken here if none was yet.
    TReading<int> CpuInstanceCount();
    // Busy share of one instance between the last two snapshots (1.0 = fully
    // busy); 0 when no time passed in between.
    TReading<double> CpuLoadFraction(int index);

private:
    TSource m_source;
    int32_t m_instanceCount = -1;
    std::vector<std::string> m_names;
    std::vector<int64_t> m_currentCounters;
    std::vector<int64_t> m_previousCounters;
    std::vector<int64_t> m_currentTime;
    std::vector<int64_t> m_previousTime;
};

} // namespace tramble
