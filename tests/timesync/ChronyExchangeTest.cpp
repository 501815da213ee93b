// Exchanges with a real NTP server: chronyd from the system, started by the
// test on a free loopback port, serving this machine's own clock. The
// clock setter is the test's, so the real clock is never touched.
#include "timesync/SntpClient.h"

#include "support/ChronyServer.h"
#include "timesync/ClockDoubles.h"
#include "timesync/LocalTime.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

using namespace std::chrono_literals;

class ChronyExchange : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_chrony = new test::ChronyServer; }
    static void TearDownTestSuite()
    {
        delete s_chrony;
        s_chrony = nullptr;
    }
    void SetUp() override
    {
        if (!s_chrony->Serving())
            GTEST_SKIP() << "chronyd cannot serve here: " << s_chrony->Reason();
        client.SetServer("127.0.0.1:" + std::to_string(s_chrony->Port()));
    }

    static test::ChronyServer* s_chrony;
    test::ManualClockSetter setter;
    TSntpClient client{SystemClock(), setter};
};

test::ChronyServer* ChronyExchange::s_chrony = nullptr;

TEST_F(ChronyExchange, MeasuresTheSameClockAsNoOffset)
{
    const auto before = std::chrono::system_clock::now();
    const double serverTime = client.GetServerTime();
    const auto after = std::chrono::system_clock::now();
    ASSERT_NE(serverTime, 0) << static_cast<int>(client.LastExchange().Outcome);
    const TSntpTimes& times = client.Times();
    // chrony reads the clock this process reads: the server's times fall
    // inside the exchange, the offset is a matter of microseconds.
    EXPECT_GE(times.T2, times.T1 - 1ms);
    EXPECT_LE(times.T3, times.T4 + 1ms);
    EXPECT_GE(times.T3, times.T2);
    EXPECT_GE(times.Delay, -1ms);
    EXPECT_LE(times.Delay, after - before);
    EXPECT_LT(std::chrono::abs(times.Offset), 50ms);
    const auto utcOffset = SystemUtcOffset(times.T3);
    ASSERT_TRUE(utcOffset);
    EXPECT_NEAR(serverTime, LocalStampFromWall(times.T3, *utcOffset), 1e-9);
    EXPECT_EQ(client.LastExchange().Outcome, TSyncOutcome::Measured);
}

TEST_F(ChronyExchange, SetsTheClockToItsOwnTimePlusTheOffset)
{
    const TSyncReport report = client.SyncAndDescribe();
    ASSERT_TRUE(report.ClockSet) << static_cast<int>(report.Exchange.Outcome);
    ASSERT_EQ(setter.Calls(), 1);
    EXPECT_LT(std::chrono::abs(*setter.Asked() - setter.AskedAt()), 50ms);
    ASSERT_TRUE(report.LastSyncText);
    EXPECT_FALSE(report.LastSyncText->empty());
}

TEST_F(ChronyExchange, OnlyMeasuresWhenATimeServiceKeepsTheClock)
{
    setter.Kept = true;
    EXPECT_FALSE(client.SyncClock());
    EXPECT_EQ(setter.Calls(), 0);
    EXPECT_EQ(client.LastExchange().Outcome, TSyncOutcome::KeptByTimeService);
    ASSERT_TRUE(client.LastExchange().Offset);
    EXPECT_LT(std::chrono::abs(*client.LastExchange().Offset), 50ms);
}

TEST_F(ChronyExchange, ServesOverIpv6Too)
{
    client.SetServer("[::1]:" + std::to_string(s_chrony->Port()));
    const bool set = client.SyncClock();
    if (client.LastExchange().Outcome == TSyncOutcome::NetworkError)
        GTEST_SKIP() << "no IPv6 loopback here";
    EXPECT_TRUE(set) << static_cast<int>(client.LastExchange().Outcome);
    EXPECT_LT(std::chrono::abs(*client.LastExchange().Offset), 50ms);
}

} // namespace
} // namespace tramble
