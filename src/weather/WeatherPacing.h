#pragma once

#include "platform/Clock.h"

#include <chrono>

namespace tramble {

// What the weather timer needs of the worker at a tick.
class TWeatherTarget {
public:
    virtual ~TWeatherTarget() = default;
    virtual bool Valid() const = 0;
    virtual void ClearValid() = 0;
    virtual bool Busy() const = 0;
    virtual void Abort() = 0;
    virtual void Wake() = 0;
};

// The weather timer's rule. The first tick comes a second after it starts;
// each cycle asks the worker up to six times at five-second spacing; fresh
// weather pauses the timer five minutes, six failures two minutes.
class TWeatherPacing {
public:
    using Ms = std::chrono::milliseconds;
    static constexpr Ms kFirst{1000};
    static constexpr Ms kRetry{5000};
    static constexpr Ms kFresh{300000};
    static constexpr Ms kRest{120000};

    explicit TWeatherPacing(const TClock& clock) : m_clock(clock) {}

    // Enabled with the first interval: the next tick comes a second from now.
    void Start();
    // Enabled again with the interval it had.
    void Resume();
    void Stop() { m_enabled = false; }
    bool Enabled() const { return m_enabled; }

    // One tick; the next is due one interval after it.
    void Tick(TWeatherTarget& worker);

    Ms Interval() const { return m_interval; }
    int Cycle() const { return m_cycle; }
    // When the next tick is due (meaningful while enabled).
    TClock::SteadyTime NextTick() const { return m_next; }
    bool Due() const { return m_enabled && m_clock.Steady() >= m_next; }

private:
    const TClock& m_clock;
    bool m_enabled = false;
    Ms m_interval = kFirst;
    int m_cycle = 0;
    TClock::SteadyTime m_next{};
};

} // namespace tramble
