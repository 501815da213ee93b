#include "weather/WeatherPacing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace tramble {
namespace {

using namespace std::chrono_literals;

// A worker that answers at once: each wake-up is one request, which
// succeeds or fails as the test says.
class TInstantWorker final : public TWeatherTarget {
public:
    explicit TInstantWorker(const TManualClock& clock) : m_clock(clock) {}

    bool Succeeds = true;
    bool Hanging = false; // a request stays open after its wake-up
    std::vector<std::chrono::milliseconds> Requests;
    int Aborts = 0;

    bool Valid() const override { return m_valid; }
    void ClearValid() override { m_valid = false; }
    bool Busy() const override { return m_busy; }
    void Abort() override
    {
        ++Aborts;
        m_busy = false;
    }
    void Wake() override
    {
        if (m_busy)
            return;
        Requests.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(m_clock.Steady().time_since_epoch()));
        m_valid = Succeeds && !Hanging;
        m_busy = Hanging;
    }

private:
    const TManualClock& m_clock;
    bool m_valid = false;
    bool m_busy = false;
};

// Runs the timer until `until`, firing each tick when it is due.
void RunUntil(TManualClock& clock, TWeatherPacing& pacing, TWeatherTarget& worker, std::chrono::milliseconds until)
{
    while (pacing.Enabled() && pacing.NextTick().time_since_epoch() <= until) {
        clock.Advance(pacing.NextTick() - clock.Steady());
        pacing.Tick(worker);
    }
}

TEST(WeatherPacing, FreshWeatherIsAskedForEveryFiveMinutesAndFiveSeconds)
{
    TManualClock clock;
    TInstantWorker worker(clock);
    TWeatherPacing pacing(clock);
    pacing.Start();
    RunUntil(clock, pacing, worker, 700s);
    // 1 s, then each cycle: a tick that finds the weather fresh 5 s later,
    // then 300 s of rest.
    const std::vector<std::chrono::milliseconds> expected{1000ms, 306000ms, 611000ms};
    EXPECT_EQ(worker.Requests, expected);
    EXPECT_EQ(pacing.Interval(), TWeatherPacing::kFresh);
}

TEST(WeatherPacing, SixFailuresAtFiveSecondsThenTwoMinutesRest)
{
    TManualClock clock;
    TInstantWorker worker(clock);
    worker.Succeeds = false;
    TWeatherPacing pacing(clock);
    pacing.Start();
    RunUntil(clock, pacing, worker, 300s);
    const std::vector<std::chrono::milliseconds> expected{1000ms,   6000ms,   11000ms,  16000ms,  21000ms,
                                                          26000ms,  146000ms, 151000ms, 156000ms, 161000ms,
                                                          166000ms, 171000ms, 291000ms, 296000ms};
    EXPECT_EQ(worker.Requests, expected);
}

TEST(WeatherPacing, RecoveryAfterFailuresStartsTheFiveMinutePause)
{
    TManualClock clock;
    TInstantWorker worker(clock);
    worker.Succeeds = false;
    TWeatherPacing pacing(clock);
    pacing.Start();
    RunUntil(clock, pacing, worker, 16s);
    worker.Succeeds = true;
    RunUntil(clock, pacing, worker, 400s);
    const std::vector<std::chrono::milliseconds> expected{1000ms, 6000ms, 11000ms, 16000ms, 21000ms, 326000ms};
    EXPECT_EQ(worker.Requests, expected);
}

TEST(WeatherPacing, HangingRequestIsCutOffByTheNextTick)
{
    TManualClock clock;
    TInstantWorker worker(clock);
    worker.Hanging = true;
    TWeatherPacing pacing(clock);
    pacing.Start();
    RunUntil(clock, pacing, worker, 11s);
    // Every tick after the first finds the request open, aborts it and asks again.
    EXPECT_EQ(worker.Aborts, 2);
    EXPECT_EQ(worker.Requests.size(), 3u);
}

TEST(WeatherPacing, ResumeKeepsTheIntervalStartBeginsAgain)
{
    TManualClock clock;
    TInstantWorker worker(clock);
    TWeatherPacing pacing(clock);
    pacing.Start();
    EXPECT_FALSE(pacing.Due());
    clock.Advance(1s);
    EXPECT_TRUE(pacing.Due());
    pacing.Tick(worker);
    pacing.Tick(worker); // fresh: five minutes
    pacing.Stop();
    EXPECT_FALSE(pacing.Due());
    pacing.Resume();
    EXPECT_EQ(pacing.Interval(), TWeatherPacing::kFresh);
    EXPECT_EQ(pacing.NextTick(), clock.Steady() + TWeatherPacing::kFresh);
    pacing.Start();
    EXPECT_EQ(pacing.NextTick(), clock.Steady() + TWeatherPacing::kFirst);
}

} // namespace
} // namespace tramble
