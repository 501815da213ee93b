#include "monitors/DiskWorker.h"

#include <condition_variable>
#include <mutex>
#include <utility>

namespace tramble {

// Everything the thread touches; it holds a share, so a thread left behind
// by Stop still finds it. The clock is read only under the lock while the
// worker is not stopped, which Stop's caller outlives.
struct TDiskWorker::TState {
    TReader read;
    const TClock* clock = nullptr;
    std::chrono::steady_clock::duration period{};

    mutable std::mutex mutex;
    mutable std::condition_variable wake;
    std::condition_variable finished;
    bool stopping = false;
    bool done = false;
    TClock::SteadyTime due{};
    std::optional<TDiskReading> latest;
};

TDiskWorker::TDiskWorker(TReader read, const TClock& clock, std::chrono::seconds period)
    : m_read(std::move(read)), m_clock(clock), m_period(period)
{
}

TDiskWorker::~TDiskWorker()
{
    Stop();
}

void TDiskWorker::Start()
{
    if (m_state)
        return;
    auto state = std::make_shared<TState>();
    state->read = m_read;
    state->clock = &m_clock;
    state->period = m_period;
    state->due = m_clock.Steady();
    m_state = state;
    m_thread = std::thread(Run, std::move(state));
}

void TDiskWorker::Stop()
{
    if (!m_state)
        return;
    bool done = false;
    {
        std::unique_lock lock(m_state->mutex);
        m_state->stopping = true;
        m_state->wake.notify_all();
        done = m_state->finished.wait_for(lock, kStopWait, [this] { return m_state->done; });
    }
    if (done)
        m_thread.join();
    else
        m_thread.detach();
    m_state.reset();
}

std::optional<TDiskReading> TDiskWorker::Latest() const
{
    if (!m_state)
        return std::nullopt;
    std::lock_guard lock(m_state->mutex);
    // The clock may be one that tests move by hand: a due read is started
    // when it is looked for, not only when the wait runs out.
    if (m_clock.Steady() >= m_state->due)
        m_state->wake.notify_all();
    return m_state->latest;
}

void TDiskWorker::Run(std::shared_ptr<TState> state)
{
    std::unique_lock lock(state->mutex);
    while (!state->stopping) {
        const TClock::SteadyTime now = state->clock->Steady();
        if (now < state->due) {
            state->wake.wait_for(lock, state->due - now);
            continue;
        }
        state->due = now + state->period;
        lock.unlock();
        std::optional<TDiskReading> reading;
        try {
            reading = state->read();
        } catch (...) {
            // A failed read keeps the last reading, as a sleeping disk does.
        }
        lock.lock();
        if (reading && !state->stopping)
            state->latest = std::move(reading);
    }
    state->done = true;
    state->finished.notify_all();
}

} // namespace tramble
