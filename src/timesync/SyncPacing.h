#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <optional>

namespace tramble {

// When the clock is synchronised: five seconds after the settings are
// loaded or confirmed, then an hour after each attempt ends, whatever its
// outcome. Attempts never overlap.
class TSyncPacing {
public:
    static constexpr std::chrono::milliseconds kFirstDelay{5000};
    static constexpr std::chrono::milliseconds kPeriod{3600000};

    explicit TSyncPacing(const TClock& clock) : m_clock(clock) {}

    // Settings loaded or confirmed: the first attempt soon when on, none when off.
    void Start(bool enabled);
    // The next attempt `delay` from now. Asked for while an attempt runs, it
    // comes that long after the request, not an hour after the attempt.
    void ScheduleIn(std::chrono::milliseconds delay);
    // No further attempts; one that runs still ends.
    void Stop();

    // The timer fired: whether an attempt begins now (not before it is due,
    // not while another runs).
    bool BeginAttempt();
    void EndAttempt();

    bool Running() const { return m_running; }
    // Time until the next attempt is due, zero when overdue; nothing while an
    // attempt runs without a request for the next, or when none is planned.
    std::optional<std::chrono::milliseconds> TimeToNext() const;

private:
    const TClock& m_clock;
    bool m_enabled = false;
    bool m_running = false;
    std::optional<TClock::SteadyTime> m_due;
};

} // namespace tramble
