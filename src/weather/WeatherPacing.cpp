#include "weather/WeatherPacing.h"

namespace tramble {

void TWeatherPacing::Start()
{
    m_interval = kFirst;
    Resume();
}

void TWeatherPacing::Resume()
{
    m_enabled = true;
    m_next = m_clock.Steady() + m_interval;
}

void TWeatherPacing::Tick(TWeatherTarget& worker)
{
    // Any interval but the retry one means a new cycle begins: at start, and
    // after a fresh or a failed cycle's pause.
    if (m_interval != kRetry) {
        m_cycle = 0;
        worker.ClearValid();
        m_interval = kRetry;
    }
    if (worker.Valid()) {
        m_interval = kFresh;
    } else {
        // A request that hangs is cut off before the next one starts.
        if (worker.Busy())
            worker.Abort();
        worker.Wake();
        if (++m_cycle > 5)
            m_interval = kRest;
    }
    m_next = m_clock.Steady() + m_interval;
}

} // namespace tramble
