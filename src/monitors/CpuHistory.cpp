#include "monitors/CpuHistory.h"

#include <algorithm>

namespace tramble {

void TCpuHistory::Add(int v)
{
    std::copy(CpuHistory.begin() + 1, CpuHistory.end(), CpuHistory.begin());
    v = std::clamp(v, 0, 100);
    CpuHistory.back() = static_cast<uint8_t>(v);
    CpuWindowSum += v - CpuHistory.front();
    CpuTotalSum += v;
}

void TCpuHistory::Clear()
{
    *this = TCpuHistory();
}

} // namespace tramble
