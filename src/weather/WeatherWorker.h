#pragma once

#include "platform/Clock.h"
#include "weather/Weather.h"
#include "weather/WeatherPacing.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace tramble {

// The weather worker: one thread that sleeps until woken, then fetches the
// weather of the city code from the weather host once, parses it into a copy
// of the current record and publishes the copy whole. The window thread reads
// the record, paces the wake-ups and may abort a request in progress.
class TWeatherWorker final : public TWeatherTarget {
public:
    // The thread starts and waits for its first wake-up before this returns.
    // clock stamps UpdateTime; it must outlive the thread.
    explicit TWeatherWorker(const TClock& clock);
    ~TWeatherWorker() override; // Stop()
    TWeatherWorker(const TWeatherWorker&) = delete;
    TWeatherWorker& operator=(const TWeatherWorker&) = delete;

    // host[:port] of the weather service and the location code; read once per attempt.
    void SetHost(std::string host);
    void SetCityCode(std::string code);

    // Wakes the worker when it waits; a wake-up while it works is dropped.
    void Wake() override;
    // Whether it waits for a wake-up.
    bool Waiting() const;

    TWeather Snapshot() const;
    // Attempts since the last success (1 at creation).
    int32_t AttemptCount() const;
    bool Valid() const override;
    void ClearValid() override;
    // The tray shows no weather until the next fetch arrives.
    void ClearHumidity();

    // Whether a request is in progress, and aborting it (it then fails).
    bool Busy() const override;
    void Abort() override;

    // Sets the stop flag, aborts a request in progress and wakes the worker;
    // then, at most `rounds` times while a request is still in progress,
    // aborts it again and waits `pause`. A worker that has ended is joined,
    // one that has not is left to end on its own. Whether it had ended.
    bool Stop(int rounds = 10, std::chrono::milliseconds pause = std::chrono::milliseconds(100));

private:
    struct TShared;
    static void Run(std::shared_ptr<TShared> shared);

    std::shared_ptr<TShared> m_shared;
    std::thread m_thread;
};

} // namespace tramble
