// One exchange with an SNTP responder of the test's own on loopback: which
// answers are used, what the clock is set to, what is recorded. The clock
// and its setter are the test's; the real clock is never touched.
#include "timesync/SntpClient.h"

#include "timesync/ClockDoubles.h"
#include "timesync/LocalTime.h"
#include "timesync/SntpResponder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

namespace tramble {
namespace {

using namespace std::chrono_literals;
using test::ManualClockSetter;
using test::SntpResponder;
using Answers = std::vector<SntpResponder::Answer>;

// 2026-12-08 01:19:41 UTC.
const TWallTime kStart = TWallTime{} + std::chrono::days(20795) + 1h + 19min + 41s;

TWallTime RequestTime(const TSntpReply& request)
{
    return FromNtpTimestamp(request.Transmit);
}

// A server whose clock is `ahead` of the requester's.
SntpResponder::Script ServerAhead(std::chrono::nanoseconds ahead)
{
    return [ahead](const TSntpReply& request, int) {
        return Answers{SntpResponder::Good(request, RequestTime(request) + ahead)};
    };
}

// A good answer, then changed.
SntpResponder::Script Changed(void (*change)(TSntpReply&))
{
    return [change](const TSntpReply& request, int) {
        TSntpReply reply = *ParseSntpReply(SntpResponder::Good(request, RequestTime(request) + 1h).Bytes);
        change(reply);
        return Answers{SntpResponder::Bytes(reply)};
    };
}

struct ClientFixture : ::testing::Test {
    TManualClock clock{kStart};
    ManualClockSetter setter{&clock};
    TSntpClient client{clock, setter};

    void Use(const SntpResponder& responder, std::chrono::milliseconds wait = 300ms)
    {
        ASSERT_TRUE(responder.Listening());
        client.SetServer(responder.Server());
        client.SetWait(wait);
    }
};

struct RejectRow {
    const char* Name;
    SntpResponder::Script Script;
    TSyncOutcome Outcome;
};

TEST_F(ClientFixture, FaultyOrMissingAnswersLeaveTheClockAlone)
{
    const std::vector<RejectRow> rows = {
        {"47 bytes",
         [](const TSntpReply& request, int) {
             SntpResponder::Answer answer = SntpResponder::Good(request, RequestTime(request) + 1h);
             answer.Bytes.resize(47);
             return Answers{answer};
         },
         TSyncOutcome::ShortAnswer},
        {"leap 3", Changed([](TSntpReply& r) { r.Leap = 3; }), TSyncOutcome::Unsynchronised},
        {"stratum 0", Changed([](TSntpReply& r) { r.Stratum = 0; }), TSyncOutcome::BadStratum},
        {"stratum 16", Changed([](TSntpReply& r) { r.Stratum = 16; }), TSyncOutcome::BadStratum},
        {"zero transmit", Changed([](TSntpReply& r) { r.Transmit = {}; }), TSyncOutcome::ZeroTransmit},
        {"wrong originate", Changed([](TSntpReply& r) { r.Originate.Fraction += 1u << 20; }),
         TSyncOutcome::WrongOriginate},
        {"mode 3", Changed([](TSntpReply& r) { r.Mode = 3; }), TSyncOutcome::NotServerMode},
        {"version 0", Changed([](TSntpReply& r) { r.Version = 0; }), TSyncOutcome::BadVersion},
        {"version 5", Changed([](TSntpReply& r) { r.Version = 5; }), TSyncOutcome::BadVersion},
        {"answer from another port only",
         [](const TSntpReply& request, int) {
             SntpResponder::Answer forged = SntpResponder::Good(request, RequestTime(request) + 1h);
             forged.FromOtherSocket = true;
             return Answers{forged};
         },
         TSyncOutcome::NoAnswer},
        {"no answer", [](const TSntpReply&, int) { return Answers{}; }, TSyncOutcome::NoAnswer},
    };
    for (const RejectRow& row : rows) {
        SCOPED_TRACE(row.Name);
        SntpResponder responder(row.Script);
        Use(responder);
        EXPECT_EQ(client.GetServerTime(), 0);
        EXPECT_FALSE(client.SyncClock());
        EXPECT_EQ(client.LastExchange().Outcome, row.Outcome);
        EXPECT_FALSE(client.LastExchange().Offset);
        EXPECT_EQ(responder.Requests(), 2);
        EXPECT_EQ(setter.Calls(), 0);
        EXPECT_EQ(clock.Now(), kStart);
    }
}

struct AcceptRow {
    const char* Name;
    SntpResponder::Script Script;
};

TEST_F(ClientFixture, SoundAnswersSetTheClock)
{
    const std::vector<AcceptRow> rows = {
        {"version 1", Changed([](TSntpReply& r) { r.Version = 1; })},
        {"version 3", Changed([](TSntpReply& r) { r.Version = 3; })},
        {"stratum 1", Changed([](TSntpReply& r) { r.Stratum = 1; })},
        {"stratum 15", Changed([](TSntpReply& r) { r.Stratum = 15; })},
        {"leap second announced", Changed([](TSntpReply& r) { r.Leap = 1; })},
        {"a forgery from another port first, then the server",
         [](const TSntpReply& request, int) {
             SntpResponder::Answer forged = SntpResponder::Good(request, RequestTime(request) - 24h);
             forged.FromOtherSocket = true;
             SntpResponder::Answer genuine = SntpResponder::Good(request, RequestTime(request) + 1h);
             genuine.After = 50ms;
             return Answers{forged, genuine};
         }},
    };
    for (const AcceptRow& row : rows) {
        SCOPED_TRACE(row.Name);
        clock.SetWall(kStart);
        const int calls = setter.Calls();
        SntpResponder responder(row.Script);
        Use(responder);
        EXPECT_TRUE(client.SyncClock());
        EXPECT_EQ(client.LastExchange().Outcome, TSyncOutcome::ClockSet);
        EXPECT_EQ(setter.Calls(), calls + 1);
        EXPECT_LT(std::chrono::abs(clock.Now() - (kStart + 1h)), 1ms);
    }
}

TEST_F(ClientFixture, ServerAnHourAheadMovesTheClockAnHourForward)
{
    SntpResponder responder(ServerAhead(1h));
    Use(responder);
    const double serverTime = client.GetServerTime();
    const auto utcOffset = SystemUtcOffset(kStart + 1h);
    ASSERT_TRUE(utcOffset);
    EXPECT_NEAR(serverTime, LocalStampFromWall(kStart + 1h, *utcOffset), 1e-7);
    EXPECT_LT(std::chrono::abs(*client.LastExchange().Offset - 1h), 1ms);
    EXPECT_LT(std::chrono::abs(*client.LastExchange().Delay), 1ms);

    EXPECT_TRUE(client.SyncClock());
    EXPECT_LT(std::chrono::abs(clock.Now() - (kStart + 1h)), 1ms);
    EXPECT_EQ(client.LastExchange().Outcome, TSyncOutcome::ClockSet);
    EXPECT_EQ(client.LastExchange().At, kStart);
}

TEST(SntpClient, NewTimeIsTheClockAtSettingPlusTheOffset)
{
    // Every reading of the local clock is 100 ms after the one before, and
    // the server holds the request for 60 ms: the clock must end up at its
    // own time when set plus the offset, not at T1 + offset + delay, which
    // would leave it behind by the hold and the time since the answer.
    test::SteppingClock clock(kStart, 100ms);
    ManualClockSetter setter(&clock.Manual());
    TSntpClient client(clock, setter);
    SntpResponder responder([](const TSntpReply& request, int) {
        return Answers{SntpResponder::Good(request, RequestTime(request) + 1h + 20ms, 60ms)};
    });
    client.SetServer(responder.Server());
    ASSERT_TRUE(client.SyncClock());
    const TSntpTimes& times = client.Times();
    EXPECT_EQ(times.T4 - times.T1, 100ms);
    EXPECT_LT(std::chrono::abs(times.Delay - 40ms), 20us);
    EXPECT_LT(std::chrono::abs(times.Offset - 1h), 20us);
    const TWallTime readWhenSetting = *setter.Asked() - times.Offset;
    EXPECT_GE(readWhenSetting, times.T4);
    EXPECT_LT(std::chrono::abs(clock.Manual().Now() - (readWhenSetting + 1h)), 20us);
    EXPECT_GT(clock.Manual().Now() - (times.T1 + times.Offset + times.Delay), 100ms);
}

TEST_F(ClientFixture, TimeServiceKeepsTheClockSoItIsOnlyMeasured)
{
    setter.Kept = true;
    SntpResponder responder(ServerAhead(-90s));
    Use(responder);
    EXPECT_FALSE(client.SyncClock());
    EXPECT_EQ(setter.Calls(), 0);
    EXPECT_EQ(clock.Now(), kStart);
    EXPECT_EQ(client.LastExchange().Outcome, TSyncOutcome::KeptByTimeService);
    ASSERT_TRUE(client.LastExchange().Offset);
    EXPECT_LT(std::chrono::abs(*client.LastExchange().Offset + 90s), 1ms);
    EXPECT_FALSE(client.SyncAndDescribe().LastSyncText);
}

TEST_F(ClientFixture, RefusedOrFailedChangesAreRecordedWithoutText)
{
    SntpResponder responder(ServerAhead(1h));
    Use(responder);
    for (auto [answer, outcome] : {std::pair{platform::TClockSetter::TChange::Refused, TSyncOutcome::ChangeRefused},
                                   std::pair{platform::TClockSetter::TChange::Failed, TSyncOutcome::ChangeFailed}}) {
        setter.Answer = answer;
        const TSyncReport report = client.SyncAndDescribe();
        EXPECT_FALSE(report.ClockSet);
        EXPECT_FALSE(report.LastSyncText);
        EXPECT_EQ(report.Exchange.Outcome, outcome);
        EXPECT_TRUE(report.Exchange.Offset);
        EXPECT_EQ(clock.Now(), kStart);
    }
    EXPECT_EQ(responder.Requests(), 2);
}

// Runs with the time zone set to UTC, and puts the old one back.
struct UtcZone {
    UtcZone()
    {
        if (const char* tz = std::getenv("TZ"))
            m_old = tz;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~UtcZone()
    {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    std::optional<std::string> m_old;
};

TEST_F(ClientFixture, LastSyncTextIsTheServerTimeOfASecondExchange)
{
    UtcZone utc;
    // The first answer is an hour ahead; by the second the server has
    // moved on two more minutes.
    SntpResponder responder([](const TSntpReply& request, int number) {
        return Answers{SntpResponder::Good(request, RequestTime(request) + (number == 1 ? 1h : 2min))};
    });
    Use(responder);
    const TSyncReport report = client.SyncAndDescribe();
    EXPECT_TRUE(report.ClockSet);
    EXPECT_EQ(report.LastSyncText, "12/08/26 02:21:41");
    EXPECT_EQ(responder.Requests(), 2);
    // The record is that of the exchange that set the clock.
    EXPECT_EQ(report.Exchange.Outcome, TSyncOutcome::ClockSet);
    EXPECT_LT(std::chrono::abs(*report.Exchange.Offset - 1h), 1ms);
    EXPECT_EQ(client.LastExchange().Outcome, TSyncOutcome::ClockSet);
}

TEST_F(ClientFixture, LastSyncTextIsTheTimeSetWhenTheSecondExchangeFails)
{
    UtcZone utc;
    SntpResponder responder([](const TSntpReply& request, int number) {
        return number == 1 ? Answers{SntpResponder::Good(request, RequestTime(request) + 1h)} : Answers{};
    });
    Use(responder, 200ms);
    const TSyncReport report = client.SyncAndDescribe();
    EXPECT_TRUE(report.ClockSet);
    EXPECT_EQ(report.LastSyncText, "12/08/26 02:19:41");
}

TEST_F(ClientFixture, Ipv6ServerWithPort)
{
    SntpResponder responder(ServerAhead(1h), AF_INET6);
    if (!responder.Listening())
        GTEST_SKIP() << "no IPv6 loopback here";
    Use(responder);
    EXPECT_TRUE(client.SyncClock());
    EXPECT_LT(std::chrono::abs(clock.Now() - (kStart + 1h)), 1ms);
}

TEST_F(ClientFixture, NamesAreResolvedByTheSystemResolver)
{
    // "localhost" comes from the hosts file; it may name ::1 as well, so a
    // responder listens there too on the same port when it can.
    SntpResponder v4(ServerAhead(1h));
    SntpResponder v6(ServerAhead(1h), AF_INET6, v4.Port());
    client.SetServer("localhost:" + std::to_string(v4.Port()));
    client.SetWait(1s);
    EXPECT_TRUE(client.SyncClock()) << static_cast<int>(client.LastExchange().Outcome);
    EXPECT_EQ(v4.Requests() + v6.Requests(), 1);
}

TEST_F(ClientFixture, UnreadableServerSettingSendsNothing)
{
    for (const char* name : {"[::1", "host:0", "[::1]:99999"}) {
        client.SetServer(name);
        EXPECT_FALSE(client.SyncClock()) << name;
        EXPECT_EQ(client.LastExchange().Outcome, TSyncOutcome::BadServerName) << name;
    }
    EXPECT_EQ(setter.Calls(), 0);
}

TEST_F(ClientFixture, CancelEndsTheWaitForAnAnswer)
{
    SntpResponder responder([](const TSntpReply&, int) { return Answers{}; });
    Use(responder, 60s);
    platform::TWaitCancel cancel;
    client.SetCancel(&cancel);
    std::thread canceller([&] {
        while (responder.Requests() == 0)
            std::this_thread::sleep_for(1ms);
        cancel.Cancel();
    });
    EXPECT_FALSE(client.SyncClock());
    canceller.join();
    EXPECT_EQ(client.LastExchange().Outcome, TSyncOutcome::Cancelled);
    // Once cancelled, later attempts of the same client end at once.
    EXPECT_FALSE(client.SyncClock());
    EXPECT_EQ(client.LastExchange().Outcome, TSyncOutcome::Cancelled);
}

} // namespace
} // namespace tramble
