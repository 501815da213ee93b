#include "weather/WeatherWorker.h"

#include "formula/Stamp.h"
#include "weather/HttpClient.h"
#include "weather/WeatherRequests.h"
#include "weather/WeatherXml.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace tramble {

struct TWeatherWorker::TShared {
    explicit TShared(const TClock& c) : Clock(c) {}

    const TClock& Clock;
    THttpClient Http;

    mutable std::mutex WakeLock;
    std::condition_variable WakeUp;
    bool Waiting = false;
    bool Woken = false;
    std::atomic<bool> Terminate{false};
    std::atomic<bool> Ended{false};

    mutable std::mutex RecordLock; // the record, the host and the code
    TWeather Record;
    std::string Host;
    std::string CityCode;
    std::atomic<int32_t> Attempts{1};
};

TWeatherWorker::TWeatherWorker(const TClock& clock) : m_shared(std::make_shared<TShared>(clock))
{
    m_thread = std::thread(&TWeatherWorker::Run, m_shared);
    std::unique_lock lock(m_shared->WakeLock);
    m_shared->WakeUp.wait(lock, [this] { return m_shared->Waiting; });
}

TWeatherWorker::~TWeatherWorker()
{
    Stop();
}

void TWeatherWorker::Run(std::shared_ptr<TShared> s)
{
    for (;;) {
        {
            std::unique_lock lock(s->WakeLock);
            s->Waiting = true;
            s->WakeUp.notify_all();
            s->WakeUp.wait(lock, [&] { return s->Woken; });
            s->Woken = false;
            s->Waiting = false;
        }
        if (s->Terminate)
            break;
        ++s->Attempts;
        std::string host;
        std::string code;
        {
            std::lock_guard lock(s->RecordLock);
            s->Record.Valid = false;
            host = s->Host;
            code = s->CityCode;
        }
        const std::string url = code.empty() ? std::string() : WeatherDataUrl(host, code);
        if (!url.empty()) {
            const THttpResult answer = s->Http.Get(WeatherServiceRequest(url));
            if (answer.Ok) {
                TWeather copy;
                {
                    std::lock_guard lock(s->RecordLock);
                    copy = s->Record;
                }
                ParseWeatherData(answer.Body, copy);
                copy.Valid = true;
                copy.UpdateTime = LocalStamp(s->Clock.Now());
                std::lock_guard lock(s->RecordLock);
                s->Record = std::move(copy);
                s->Attempts = 0;
            }
        }
        if (s->Terminate)
            break;
    }
    s->Ended = true;
}

void TWeatherWorker::SetHost(std::string host)
{
    std::lock_guard lock(m_shared->RecordLock);
    m_shared->Host = std::move(host);
}

void TWeatherWorker::SetCityCode(std::string code)
{
    std::lock_guard lock(m_shared->RecordLock);
    m_shared->CityCode = std::move(code);
}

void TWeatherWorker::Wake()
{
    std::lock_guard lock(m_shared->WakeLock);
    if (!m_shared->Waiting)
        return;
    m_shared->Woken = true;
    m_shared->WakeUp.notify_all();
}

bool TWeatherWorker::Waiting() const
{
    std::lock_guard lock(m_shared->WakeLock);
    return m_shared->Waiting && !m_shared->Woken;
}

TWeather TWeatherWorker::Snapshot() const
{
    std::lock_guard lock(m_shared->RecordLock);
    return m_shared->Record;
}

int32_t TWeatherWorker::AttemptCount() const
{
    return m_shared->Attempts;
}

bool TWeatherWorker::Valid() const
{
    std::lock_guard lock(m_shared->RecordLock);
    return m_shared->Record.Valid;
}

void TWeatherWorker::ClearValid()
{
    std::lock_guard lock(m_shared->RecordLock);
    m_shared->Record.Valid = false;
}

void TWeatherWorker::ClearHumidity()
{
    std::lock_guard lock(m_shared->RecordLock);
    m_shared->Record.CurrentConditions.Humidity.clear();
}

bool TWeatherWorker::Busy() const
{
    return m_shared->Http.Busy();
}

void TWeatherWorker::Abort()
{
    m_shared->Http.Abort();
}

bool TWeatherWorker::Stop(int rounds, std::chrono::milliseconds pause)
{
    if (!m_thread.joinable())
        return true;
    m_shared->Terminate = true;
    Abort();
    {
        // The stop wake-up must not be dropped: the worker sees the flag
        // either now or when it next waits.
        std::lock_guard lock(m_shared->WakeLock);
        m_shared->Woken = true;
        m_shared->WakeUp.notify_all();
    }
    for (int i = 0; i < rounds && Busy(); ++i) {
        Abort();
        std::this_thread::sleep_for(pause);
    }
    // A worker that just left its request needs a moment to end.
    for (int i = 0; i < 20 && !m_shared->Ended; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool ended = m_shared->Ended;
    if (ended)
        m_thread.join();
    else
        m_thread.detach();
    return ended;
}

} // namespace tramble
