#include "store/SessionClock.h"

namespace tramble {

TClockTick TSessionClock::Look(int second)
{
    TClockTick tick;
    if (second == m_lastSecond)
        return tick;
    m_lastSecond = second;
    ++m_elapse;
    ++m_seconds;
    tick.Counted = true;
    tick.StoreState = m_seconds % 8 == 0;
    tick.FlushSettings = m_seconds % 64 == 0;
    return tick;
}

} // namespace tramble
