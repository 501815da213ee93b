#pragma once

#include "platform/Clock.h"
#include "platform/ClockSetter.h"

#include <atomic>
#include <mutex>
#include <optional>

namespace tramble::test {

// Stands in for the system clock's setter: it moves a manual clock (when
// given one) and remembers what it was asked.
class ManualClockSetter final : public platform::TClockSetter {
public:
    explicit ManualClockSetter(TManualClock* clock = nullptr) : m_clock(clock) {}

    bool KeptSynchronised() const override { return Kept; }
    TChange SetWall(std::chrono::system_clock::time_point to) override
    {
        std::lock_guard lock(m_lock);
        ++m_calls;
        m_asked = to;
        m_askedAt = std::chrono::system_clock::now();
        if (Answer == TChange::Done && m_clock)
            m_clock->SetWall(to);
        return Answer;
    }

    int Calls() const
    {
        std::lock_guard lock(m_lock);
        return m_calls;
    }
    // The time last asked for, and the system's time when it was asked.
    std::optional<TClock::WallTime> Asked() const
    {
        std::lock_guard lock(m_lock);
        return m_asked;
    }
    TClock::WallTime AskedAt() const
    {
        std::lock_guard lock(m_lock);
        return m_askedAt;
    }

    std::atomic<bool> Kept = false;
    std::atomic<TChange> Answer = TChange::Done;

private:
    TManualClock* m_clock;
    mutable std::mutex m_lock;
    int m_calls = 0;
    std::optional<TClock::WallTime> m_asked;
    TClock::WallTime m_askedAt{};
};

// A clock that moves forward by a fixed step each time it is read, so that
// time passes during an exchange in a known way. Read from one thread only.
class SteppingClock final : public TClock {
public:
    SteppingClock(WallTime start, std::chrono::nanoseconds step) : m_clock(start), m_step(step) {}
    WallTime Now() const override
    {
        const WallTime now = m_clock.Now();
        m_clock.Advance(m_step);
        return now;
    }
    SteadyTime Steady() const override { return m_clock.Steady(); }
    TManualClock& Manual() { return m_clock; }

private:
    mutable TManualClock m_clock;
    std::chrono::nanoseconds m_step;
};

} // namespace tramble::test
