#pragma once

#include <array>
#include <cstdint>

namespace tramble {

// The last sixteen per-second loads, oldest first, with running sums.
struct TCpuHistory {
    std::array<uint8_t, 16> CpuHistory{};
    int32_t CpuWindowSum = 0; // entries 1..15, the fifteen newest
    int32_t CpuTotalSum = 0;  // every sample since the start

    // Limits v to 0..100 and appends it as the newest entry.
    void Add(int v);
    void Clear();
    int Newest() const { return CpuHistory.back(); }
};

} // namespace tramble
