#pragma once

#include <chrono>

namespace tramble {

// Time as the core reads it. Code that paces, stamps or measures takes a
// clock from its caller, so tests run it on a clock they move by hand.
class TClock {
public:
    using WallTime = std::chrono::system_clock::time_point;
    using SteadyTime = std::chrono::steady_clock::time_point;

    virtual ~TClock() = default;
    // The wall clock: what the user's calendar says (it may jump).
    virtual WallTime Now() const = 0;
    // A clock that only moves forward, for intervals and time-outs.
    virtual SteadyTime Steady() const = 0;
};

// The system's clocks.
class TSystemClock final : public TClock {
public:
    WallTime Now() const override { return std::chrono::system_clock::now(); }
    SteadyTime Steady() const override { return std::chrono::steady_clock::now(); }
};

inline TClock& SystemClock()
{
    static TSystemClock clock;
    return clock;
}

// A clock that stands still until it is moved; both readings move together.
class TManualClock final : public TClock {
public:
    explicit TManualClock(WallTime start = WallTime{}) : m_wall(start) {}
    WallTime Now() const override { return m_wall; }
    SteadyTime Steady() const override { return m_steady; }

    void Advance(std::chrono::nanoseconds by)
    {
        m_wall += std::chrono::duration_cast<WallTime::duration>(by);
        m_steady += by;
    }
    // Sets the wall clock only, as a clock change does.
    void SetWall(WallTime to) { m_wall = to; }

private:
    WallTime m_wall;
    SteadyTime m_steady{};
};

} // namespace tramble
