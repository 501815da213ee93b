// The clock sync in a running bar: its start-up and shut-down steps, its
// timer, the exchange off the window's thread. The server is a responder of
// the test's own on loopback; the clock setter only records.
#include "timesync/ui/ClockSyncController.h"

#include "support/QtWait.h"
#include "support/TempDir.h"
#include "support/TestBarLink.h"
#include "timesync/ClockDoubles.h"
#include "timesync/SntpResponder.h"
#include "ui/BarLink.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

namespace tramble {
namespace {

using namespace std::chrono_literals;
using test::SntpResponder;
using Answers = std::vector<SntpResponder::Answer>;

using TestBar = test::TestBarLink;

SntpResponder::Script ServerAhead(std::chrono::nanoseconds ahead, std::chrono::milliseconds pause = 0ms)
{
    return [ahead, pause](const TSntpReply& request, int) {
        SntpResponder::Answer answer = SntpResponder::Good(request, FromNtpTimestamp(request.Transmit) + ahead);
        answer.After = pause;
        return Answers{answer};
    };
}

std::string Settings(const SntpResponder& responder, bool on = true)
{
    return "[cfg]\nNTPServer=" + responder.Server() + "\nSyncTime=" + (on ? "1" : "0") +
           "\n[last]\nSyncTimeTime=earlier\n";
}

struct ControllerFixture : ::testing::Test {
    test::ManualClockSetter setter;

    QTimer* SyncTimer(TClockSyncController& sync) { return sync.findChild<QTimer*>("tmrSyncTime"); }

    // Runs until the controller reports `count` attempts in all.
    static bool WaitForAttempts(int& finished, int count, int ms = 5000)
    {
        return test::WaitFor([&] { return finished >= count; }, ms);
    }
};

TEST_F(ControllerFixture, FirstAttemptFiveSecondsAfterLoadThenHourly)
{
    SntpResponder responder(ServerAhead(1h));
    TestBar bar(Settings(responder));
    TClockSyncController sync(bar, SystemClock(), setter);
    int finished = 0;
    QObject::connect(&sync, &TClockSyncController::attemptFinished, [&] { ++finished; });
    RunStartupLoad(bar.StartupLoad(), bar.m_modes);

    EXPECT_EQ(bar.Config().NTPServer, responder.Server());
    EXPECT_EQ(sync.LastSyncText(), "earlier");
    QTimer* timer = SyncTimer(sync);
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->isActive());
    EXPECT_GE(timer->interval(), 4990);
    EXPECT_LE(timer->interval(), 5000);

    // The options dialog asks for an attempt sooner.
    sync.ScheduleSync(10ms);
    ASSERT_TRUE(WaitForAttempts(finished, 1));
    EXPECT_EQ(setter.Calls(), 1);
    EXPECT_LT(std::chrono::abs(*setter.Asked() - setter.AskedAt() - 1h), 50ms);
    EXPECT_EQ(sync.LastExchange().Outcome, TSyncOutcome::ClockSet);
    EXPECT_NE(sync.LastSyncText(), "earlier");
    EXPECT_FALSE(sync.LastSyncText().empty());
    EXPECT_FALSE(sync.AttemptRunning());
    EXPECT_TRUE(timer->isActive());
    EXPECT_GE(timer->interval(), 3'599'000);
    EXPECT_LE(timer->interval(), 3'600'000);
}

TEST_F(ControllerFixture, FailedAttemptKeepsTheTextAndWaitsAnHour)
{
    SntpResponder responder([](const TSntpReply& request, int) {
        TSntpReply reply = *ParseSntpReply(SntpResponder::Good(request, FromNtpTimestamp(request.Transmit)).Bytes);
        reply.Leap = 3;
        return Answers{SntpResponder::Bytes(reply)};
    });
    TestBar bar(Settings(responder));
    TClockSyncController sync(bar, SystemClock(), setter);
    int finished = 0;
    QObject::connect(&sync, &TClockSyncController::attemptFinished, [&] { ++finished; });
    RunStartupLoad(bar.StartupLoad(), bar.m_modes);
    sync.ScheduleSync(0ms);
    ASSERT_TRUE(WaitForAttempts(finished, 1));
    EXPECT_EQ(sync.LastExchange().Outcome, TSyncOutcome::Unsynchronised);
    EXPECT_EQ(sync.LastSyncText(), "earlier");
    EXPECT_EQ(setter.Calls(), 0);
    EXPECT_TRUE(SyncTimer(sync)->isActive());
    EXPECT_GE(SyncTimer(sync)->interval(), 3'599'000);
}

TEST_F(ControllerFixture, WindowThreadRunsOnWhileTheServerTakesItsTime)
{
    SntpResponder responder(ServerAhead(1h, 400ms));
    TestBar bar(Settings(responder));
    TClockSyncController sync(bar, SystemClock(), setter);
    int finished = 0;
    QObject::connect(&sync, &TClockSyncController::attemptFinished, [&] { ++finished; });
    RunStartupLoad(bar.StartupLoad(), bar.m_modes);

    int ticks = 0;
    int ticksWhenFinished = -1;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] { ++ticks; });
    QObject::connect(&sync, &TClockSyncController::attemptFinished, [&] { ticksWhenFinished = ticks; });
    other.start(10);
    sync.ScheduleSync(0ms);
    ASSERT_TRUE(WaitForAttempts(finished, 1));
    // A blocking wait would have held every tick back until the answer.
    EXPECT_GE(ticksWhenFinished, 10);
    EXPECT_EQ(sync.LastExchange().Outcome, TSyncOutcome::ClockSet);
}

TEST_F(ControllerFixture, AttemptsNeverOverlap)
{
    SntpResponder responder(ServerAhead(1h, 300ms));
    TestBar bar(Settings(responder));
    TClockSyncController sync(bar, SystemClock(), setter);
    int finished = 0;
    QObject::connect(&sync, &TClockSyncController::attemptFinished, [&] { ++finished; });
    RunStartupLoad(bar.StartupLoad(), bar.m_modes);
    sync.ScheduleSync(0ms);
    ASSERT_TRUE(test::WaitFor([&] { return sync.AttemptRunning(); }));
    // Requests while one runs: the next attempt follows the running one.
    for (int i = 0; i < 5; ++i) {
        sync.ScheduleSync(0ms);
        test::WaitFor([] { return false; }, 20);
    }
    ASSERT_TRUE(WaitForAttempts(finished, 2));
    EXPECT_EQ(responder.MostOpen(), 1);
    // Each attempt that set the clock asked the server twice.
    EXPECT_EQ(responder.Requests(), 4);
    EXPECT_EQ(setter.Calls(), 2);
}

TEST_F(ControllerFixture, SwitchedOffMeansNoAttempt)
{
    SntpResponder responder(ServerAhead(1h));
    TestBar bar(Settings(responder, false));
    TClockSyncController sync(bar, SystemClock(), setter);
    RunStartupLoad(bar.StartupLoad(), bar.m_modes);
    EXPECT_FALSE(bar.Config().SyncTime);
    EXPECT_FALSE(SyncTimer(sync)->isActive());
    sync.ScheduleSync(0ms);
    sync.StopSync();
    test::WaitFor([] { return false; }, 100);
    EXPECT_EQ(responder.Requests(), 0);
}

TEST_F(ControllerFixture, ShutdownWritesTheLastSyncTextUnlessReadOnly)
{
    SntpResponder responder(ServerAhead(1h));
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        TestBar bar(Settings(responder));
        TClockSyncController sync(bar, SystemClock(), setter);
        int finished = 0;
        QObject::connect(&sync, &TClockSyncController::attemptFinished, [&] { ++finished; });
        RunStartupLoad(bar.StartupLoad(), bar.m_modes);
        bar.m_modes.ReadOnlyMode = readOnly;
        sync.ScheduleSync(0ms);
        ASSERT_TRUE(WaitForAttempts(finished, 1));
        const std::string text = sync.LastSyncText();
        const std::string file = bar.ShutDown();
        if (readOnly) {
            EXPECT_NE(file.find("SyncTimeTime=earlier"), std::string::npos) << file;
        } else {
            EXPECT_NE(file.find("SyncTimeTime=" + text), std::string::npos) << file;
        }
        EXPECT_FALSE(SyncTimer(sync)->isActive());
    }
}

TEST_F(ControllerFixture, ShutdownBeforeTheLoadLeavesTheStoredText)
{
    SntpResponder responder(ServerAhead(1h));
    TestBar bar(Settings(responder));
    TClockSyncController sync(bar, SystemClock(), setter);
    EXPECT_NE(bar.ShutDown().find("SyncTimeTime=earlier"), std::string::npos);
}

TEST_F(ControllerFixture, ShutdownStopsAnAttemptThatWaits)
{
    SntpResponder responder([](const TSntpReply&, int) { return Answers{}; });
    TestBar bar(Settings(responder));
    auto sync = std::make_unique<TClockSyncController>(bar, SystemClock(), setter);
    sync->SetReplyWait(60s);
    int finished = 0;
    QObject::connect(sync.get(), &TClockSyncController::attemptFinished, [&] { ++finished; });
    RunStartupLoad(bar.StartupLoad(), bar.m_modes);
    sync->ScheduleSync(0ms);
    ASSERT_TRUE(test::WaitFor([&] { return responder.Requests() == 1; }));
    bar.ShutDown();
    ASSERT_TRUE(WaitForAttempts(finished, 1));
    EXPECT_EQ(sync->LastExchange().Outcome, TSyncOutcome::Cancelled);
    EXPECT_FALSE(SyncTimer(*sync)->isActive());

    // Destroying the controller mid-attempt ends the attempt too.
    auto again = std::make_unique<TClockSyncController>(bar, SystemClock(), setter);
    again->SetReplyWait(60s);
    again->SetServer(responder.Server());
    again->ScheduleSync(0ms);
    ASSERT_TRUE(test::WaitFor([&] { return responder.Requests() == 2; }));
    again.reset();
    EXPECT_EQ(setter.Calls(), 0);
}

TEST_F(ControllerFixture, NewServerAppliesToTheNextAttempt)
{
    SntpResponder first(ServerAhead(1h));
    SntpResponder second(ServerAhead(2h));
    TestBar bar(Settings(first));
    TClockSyncController sync(bar, SystemClock(), setter);
    int finished = 0;
    QObject::connect(&sync, &TClockSyncController::attemptFinished, [&] { ++finished; });
    RunStartupLoad(bar.StartupLoad(), bar.m_modes);
    sync.SetServer(second.Server());
    sync.ScheduleSync(0ms);
    ASSERT_TRUE(WaitForAttempts(finished, 1));
    EXPECT_EQ(first.Requests(), 0);
    EXPECT_EQ(second.Requests(), 2);
    EXPECT_LT(std::chrono::abs(*sync.LastExchange().Offset - 2h), 50ms);
}

} // namespace
} // namespace tramble
