#include "timesync/SyncPacing.h"

namespace tramble {

void TSyncPacing::Start(bool enabled)
{
    if (enabled)
        ScheduleIn(kFirstDelay);
    else
        Stop();
}

void TSyncPacing::ScheduleIn(std::chrono::milliseconds delay)
{
    m_enabled = true;
    m_due = m_clock.Steady() + delay;
}

void TSyncPacing::Stop()
{
    m_enabled = false;
    m_due.reset();
}

bool TSyncPacing::BeginAttempt()
{
    if (m_running || !m_due || m_clock.Steady() < *m_due)
        return false;
    m_running = true;
    m_due.reset();
    return true;
}

void TSyncPacing::EndAttempt()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_enabled && !m_due)
        m_due = m_clock.Steady() + kPeriod;
}

std::optional<std::chrono::milliseconds> TSyncPacing::TimeToNext() const
{
    if (!m_due)
        return std::nullopt;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*m_due - m_clock.Steady());
    return left > std::chrono::milliseconds::zero() ? left : std::chrono::milliseconds::zero();
}

} // namespace tramble
