#pragma once

#include <cstdint>

namespace tramble {

// What the periodic saving asks for after one look at the clock.
struct TClockTick {
    bool Counted = false;       // a new wall-clock second was counted
    bool StoreState = false;    // store position, size and "elapse" (every 8 s)
    bool FlushSettings = false; // flush the settings file as well (every 64 s)
};

// Whole seconds since start (SecondsCounter) and the total running time
// ("last"/"elapse"), both raised when the wall clock's second changes.
class TSessionClock {
public:
    explicit TSessionClock(int32_t elapse = 0) : m_elapse(elapse) {}

    // second: the seconds field of the current wall-clock time (0..59).
    TClockTick Look(int second);

    void SetElapse(int32_t elapse) { m_elapse = elapse; }
    int32_t SecondsCounter() const { return m_seconds; }
    int32_t Elapse() const { return m_elapse; }

private:
    int32_t m_seconds = 0;
    int32_t m_elapse = 0;
    int m_lastSecond = -1;
};

} // namespace tramble
