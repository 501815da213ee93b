#include "monitors/DiskWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

using namespace tramble;
using namespace std::chrono_literals;

namespace {

// What the reader is told to answer, shared with the worker's thread.
struct Script {
    std::mutex mutex;
    int calls = 0;
    bool asleep = false;
    bool throws = false;
};

TDiskWorker::TReader ReaderOf(std::shared_ptr<Script> script)
{
    return [script]() -> std::optional<TDiskReading> {
        std::lock_guard lock(script->mutex);
        ++script->calls;
        if (script->throws)
            throw std::runtime_error("disk gone");
        if (script->asleep)
            return std::nullopt;
        TDiskReading reading;
        reading.Valid = 1;
        reading.Temperature = 30 + script->calls;
        return reading;
    };
}

int Calls(Script& script)
{
    std::lock_guard lock(script.mutex);
    return script.calls;
}

void Tell(Script& script, bool asleep, bool throws)
{
    std::lock_guard lock(script.mutex);
    script.asleep = asleep;
    script.throws = throws;
}

// Looks at the worker until it shows the temperature; false when that does
// not happen within a generous time.
bool WaitForTemperature(const TDiskWorker& worker, int temperature)
{
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < end) {
        const std::optional<TDiskReading> reading = worker.Latest();
        if (reading && reading->Temperature == temperature)
            return true;
        std::this_thread::sleep_for(2ms);
    }
    return false;
}

// Looks at the worker until the reader has run `calls` times and the
// reading is out; false when that does not happen within a generous time.
bool WaitForCalls(const TDiskWorker& worker, Script& script, int calls)
{
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < end) {
        worker.Latest();
        if (Calls(script) >= calls) {
            // The reading is stored just after the reader returns.
            std::this_thread::sleep_for(20ms);
            return true;
        }
        std::this_thread::sleep_for(2ms);
    }
    return false;
}

// Gives a worker that should stay idle the chance to misbehave.
void Linger(const TDiskWorker& worker)
{
    for (int i = 0; i < 10; ++i) {
        worker.Latest();
        std::this_thread::sleep_for(10ms);
    }
}

} // namespace

TEST(DiskWorker, FirstReadAtStartThenOncePerPeriod)
{
    auto script = std::make_shared<Script>();
    TManualClock clock;
    TDiskWorker worker(ReaderOf(script), clock, 60s);
    EXPECT_EQ(worker.Latest(), std::nullopt);
    Linger(worker);
    EXPECT_EQ(Calls(*script), 0); // nothing before Start

    worker.Start();
    ASSERT_TRUE(WaitForTemperature(worker, 31));

    clock.Advance(59s);
    Linger(worker);
    EXPECT_EQ(Calls(*script), 1);
    clock.Advance(1s);
    ASSERT_TRUE(WaitForTemperature(worker, 32));

    // A long pause gives one read, not one per missed period.
    clock.Advance(10min);
    ASSERT_TRUE(WaitForCalls(worker, *script, 3));
    Linger(worker);
    EXPECT_EQ(Calls(*script), 3);
    worker.Start(); // running already: no second thread, no extra read
    Linger(worker);
    EXPECT_EQ(Calls(*script), 3);
}

TEST(DiskWorker, SleepingOrFailingDiskKeepsTheLastReading)
{
    auto script = std::make_shared<Script>();
    Tell(*script, true, false);
    TManualClock clock;
    TDiskWorker worker(ReaderOf(script), clock, 60s);
    worker.Start();
    ASSERT_TRUE(WaitForCalls(worker, *script, 1));
    EXPECT_EQ(worker.Latest(), std::nullopt);

    Tell(*script, false, false);
    clock.Advance(60s);
    ASSERT_TRUE(WaitForTemperature(worker, 32));

    for (bool throws : {false, true}) {
        Tell(*script, !throws, throws);
        const int calls = Calls(*script);
        clock.Advance(60s);
        ASSERT_TRUE(WaitForCalls(worker, *script, calls + 1));
        ASSERT_TRUE(worker.Latest()) << throws;
        EXPECT_EQ(worker.Latest()->Temperature, 32) << throws;
    }

    // Still reading after the failures.
    Tell(*script, false, false);
    clock.Advance(60s);
    EXPECT_TRUE(WaitForTemperature(worker, 35));
}

TEST(DiskWorker, StopReturnsWhileAReadHangs)
{
    // The read blocks until the test lets it go, as a disk that does not
    // answer would.
    struct Gate {
        std::promise<void> entered;
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        std::atomic<bool> returned{false};
    };
    auto gate = std::make_shared<Gate>();
    std::shared_future<void> entered = gate->entered.get_future().share();
    auto worker = std::make_unique<TDiskWorker>([gate]() -> std::optional<TDiskReading> {
        gate->entered.set_value();
        gate->released.wait();
        gate->returned = true;
        TDiskReading late;
        late.Valid = 1;
        return late;
    });
    worker->Start();
    ASSERT_EQ(entered.wait_for(10s), std::future_status::ready);

    auto stopped = std::async(std::launch::async, [&worker] { worker->Stop(); });
    ASSERT_EQ(stopped.wait_for(30s), std::future_status::ready) << "Stop waited for the hung read";
    EXPECT_FALSE(gate->returned);
    EXPECT_EQ(worker->Latest(), std::nullopt);
    worker.reset(); // the worker and its clock may go while the read still hangs

    gate->release.set_value();
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!gate->returned && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(gate->returned);
}

TEST(DiskWorker, StartsAgainAfterStop)
{
    auto script = std::make_shared<Script>();
    TManualClock clock;
    TDiskWorker worker(ReaderOf(script), clock, 60s);
    worker.Start();
    ASSERT_TRUE(WaitForCalls(worker, *script, 1));
    worker.Stop();
    EXPECT_EQ(worker.Latest(), std::nullopt);
    worker.Stop(); // twice is harmless
    worker.Start();
    EXPECT_TRUE(WaitForTemperature(worker, 32));
}
