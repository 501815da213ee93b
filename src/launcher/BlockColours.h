#pragma once

#include "launcher/RandomSource.h"
#include "store/ColorNames.h"

#include <array>

namespace tramble {

// The colours of the marching blocks: a fixed table of 501 entries, filled
// with random colours once. Indexes outside the table are clamped into it.
class TBlockColours {
public:
    static constexpr int kCount = 501;

    TBlockColours() = default;
    explicit TBlockColours(TRandomSource& random);

    TColor operator[](int i) const { return m_colours[Index(i)]; }

    // Entries 1..n move one place toward 0 and `colour` goes into entry n.
    void PushAtEnd(int n, TColor colour);
    // Entries 0..n−1 move one place away from 0 and `colour` goes into entry 0.
    void PushAtStart(int n, TColor colour);

    bool operator==(const TBlockColours&) const = default;

private:
    static int Index(int i);

    std::array<TColor, kCount> m_colours{};
};

// Three random bytes.
TColor RandomColour(TRandomSource& random);

} // namespace tramble
