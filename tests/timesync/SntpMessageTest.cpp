// The SNTP message, its timestamps across the 2036 wrap, the checks on a
// reply and the arithmetic of the four times.
#include "timesync/SntpMessage.h"

#include <gtest/gtest.h>

#include <vector>

namespace tramble {
namespace {

using namespace std::chrono_literals;
using std::chrono::nanoseconds;
using std::chrono::seconds;

TWallTime Unix(int64_t s, int64_t ns = 0)
{
    return TWallTime{} + seconds(s) + nanoseconds(ns);
}

struct EraRow {
    const char* Name;
    TWallTime Wall;
    TNtpTimestamp Stamp;
};

TEST(SntpTimestamp, ConvertsBothWaysUnderTheEraRule)
{
    const std::vector<EraRow> rows = {
        {"unix epoch", Unix(0), {2208988800u, 0}},
        {"a quarter second", Unix(1796692781, 250'000'000), {4005681581u, 0x40000000u}},
        {"one nanosecond", Unix(0, 1), {2208988800u, 4}},
        {"first second of 1968 era half", Unix(-61505152), {0x80000000u, 0}},
        {"last second before the wrap", Unix(2085978495, 500'000'000), {0xFFFFFFFFu, 0x80000000u}},
        {"the wrap, 2036-02-07 06:28:16", Unix(2085978496), {0, 0}},
        {"2040-01-01", Unix(2208988800), {123010304u, 0}},
        {"last second of the second era", Unix(4233462143), {0x7FFFFFFFu, 0}},
    };
    for (const EraRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(ToNtpTimestamp(row.Wall), row.Stamp);
        EXPECT_EQ(FromNtpTimestamp(row.Stamp), row.Wall);
    }
}

TEST(SntpTimestamp, RoundTripKeepsEveryTimeFrom1968To2104)
{
    // Steps of a little over 97 days with an odd nanosecond part, across
    // both eras.
    for (int64_t s = -61505152; s < 4233462143; s += 8'400'013) {
        const TWallTime t = Unix(s, (s * 7919) % 1'000'000'000 + (s < 0 ? 1'000'000'000 : 0));
        const nanoseconds error = FromNtpTimestamp(ToNtpTimestamp(t)) - t;
        ASSERT_LE(std::abs(error.count()), 1) << "at unix second " << s;
    }
}

TEST(SntpTimestamp, ExchangeAcrossTheWrapMeasuresSmallDurations)
{
    // The request leaves just before the counter wraps, the answer comes
    // after it: the times stay a few milliseconds apart, not 136 years.
    const TWallTime t1 = FromNtpTimestamp({0xFFFFFFFFu, 0xF0000000u});
    const TWallTime t2 = FromNtpTimestamp({0, 0x01000000u});
    const TWallTime t3 = FromNtpTimestamp({0, 0x02000000u});
    const TWallTime t4 = FromNtpTimestamp({0, 0x04000000u});
    const TSntpTimes times = MeasureSntpTimes(t1, t2, t3, t4);
    EXPECT_GT(times.Delay, 0ns);
    EXPECT_LT(times.Delay, 100ms);
    EXPECT_LT(std::chrono::abs(times.Offset), 100ms);
}

TEST(SntpMessage, RequestIsAClientMessageCarryingOnlyItsTransmitTime)
{
    const TSntpMessage request = BuildSntpRequest({0x01020304u, 0xA0B0C0D0u});
    TSntpMessage expected{};
    expected[0] = 0x1B;
    const uint8_t transmit[8] = {0x01, 0x02, 0x03, 0x04, 0xA0, 0xB0, 0xC0, 0xD0};
    std::copy(std::begin(transmit), std::end(transmit), expected.begin() + 40);
    EXPECT_EQ(request, expected);
}

TEST(SntpMessage, ReplyFieldsAreReadFromTheirBytes)
{
    std::vector<uint8_t> datagram(48, 0);
    datagram[0] = 0xE4; // leap 3, version 4, mode 4
    datagram[1] = 7;
    for (int i = 0; i < 8; ++i) {
        datagram[24 + i] = static_cast<uint8_t>(0x10 + i);
        datagram[32 + i] = static_cast<uint8_t>(0x20 + i);
        datagram[40 + i] = static_cast<uint8_t>(0x30 + i);
    }
    const std::optional<TSntpReply> reply = ParseSntpReply(datagram);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->Leap, 3);
    EXPECT_EQ(reply->Version, 4);
    EXPECT_EQ(reply->Mode, 4);
    EXPECT_EQ(reply->Stratum, 7);
    EXPECT_EQ(reply->Originate, (TNtpTimestamp{0x10111213u, 0x14151617u}));
    EXPECT_EQ(reply->Receive, (TNtpTimestamp{0x20212223u, 0x24252627u}));
    EXPECT_EQ(reply->Transmit, (TNtpTimestamp{0x30313233u, 0x34353637u}));
    // The encoder writes the same bytes back.
    const TSntpMessage again = EncodeSntpReply(*reply);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), datagram.begin()));
}

TEST(SntpMessage, ShortDatagramsHaveNoFieldsAndLongerOnesAreRead)
{
    for (size_t size : {size_t{0}, size_t{1}, size_t{47}})
        EXPECT_FALSE(ParseSntpReply(std::vector<uint8_t>(size, 0x24))) << size << " bytes";
    for (size_t size : {size_t{48}, size_t{68}, size_t{120}})
        EXPECT_TRUE(ParseSntpReply(std::vector<uint8_t>(size, 0x24))) << size << " bytes";
}

struct CheckRow {
    const char* Name;
    void (*Change)(TSntpReply&);
    TReplyFault Fault;
};

TEST(SntpMessage, RepliesAreCheckedBeforeUse)
{
    const TNtpTimestamp sent{4005681581u, 0x12345678u};
    const std::vector<CheckRow> rows = {
        {"well formed", [](TSntpReply&) {}, TReplyFault::None},
        {"leap second ahead", [](TSntpReply& r) { r.Leap = 1; }, TReplyFault::None},
        {"leap second behind", [](TSntpReply& r) { r.Leap = 2; }, TReplyFault::None},
        {"leap 3: not synchronised", [](TSntpReply& r) { r.Leap = 3; }, TReplyFault::Unsynchronised},
        {"stratum 0", [](TSntpReply& r) { r.Stratum = 0; }, TReplyFault::BadStratum},
        {"stratum 1", [](TSntpReply& r) { r.Stratum = 1; }, TReplyFault::None},
        {"stratum 15", [](TSntpReply& r) { r.Stratum = 15; }, TReplyFault::None},
        {"stratum 16", [](TSntpReply& r) { r.Stratum = 16; }, TReplyFault::BadStratum},
        {"stratum 255", [](TSntpReply& r) { r.Stratum = 255; }, TReplyFault::BadStratum},
        {"version 0", [](TSntpReply& r) { r.Version = 0; }, TReplyFault::BadVersion},
        {"version 1", [](TSntpReply& r) { r.Version = 1; }, TReplyFault::None},
        {"version 3", [](TSntpReply& r) { r.Version = 3; }, TReplyFault::None},
        {"version 5", [](TSntpReply& r) { r.Version = 5; }, TReplyFault::BadVersion},
        {"version 7", [](TSntpReply& r) { r.Version = 7; }, TReplyFault::BadVersion},
        {"mode 3: a client's request", [](TSntpReply& r) { r.Mode = 3; }, TReplyFault::NotServerMode},
        {"mode 5: broadcast", [](TSntpReply& r) { r.Mode = 5; }, TReplyFault::NotServerMode},
        {"mode 1: symmetric", [](TSntpReply& r) { r.Mode = 1; }, TReplyFault::NotServerMode},
        {"zero transmit", [](TSntpReply& r) { r.Transmit = {}; }, TReplyFault::ZeroTransmit},
        {"transmit of fraction only",
         [](TSntpReply& r) {
             r.Transmit = {0, 1};
         },
         TReplyFault::None},
        {"originate one unit off", [](TSntpReply& r) { r.Originate.Fraction ^= 1; }, TReplyFault::WrongOriginate},
        {"originate a second off", [](TSntpReply& r) { r.Originate.Seconds += 1; }, TReplyFault::WrongOriginate},
        {"originate zero", [](TSntpReply& r) { r.Originate = {}; }, TReplyFault::WrongOriginate},
    };
    for (const CheckRow& row : rows) {
        TSntpReply reply;
        reply.Version = 4;
        reply.Mode = 4;
        reply.Stratum = 2;
        reply.Originate = sent;
        reply.Receive = {4005681581u, 0x20000000u};
        reply.Transmit = {4005681581u, 0x20001000u};
        row.Change(reply);
        EXPECT_EQ(CheckSntpReply(reply, sent), row.Fault) << row.Name;
    }
}

struct TimesRow {
    const char* Name;
    int64_t T1, T2, T3, T4; // milliseconds from a base time
    int64_t Delay, Offset;
};

TEST(SntpMessage, DelayAndOffsetFollowFromTheFourTimes)
{
    const std::vector<TimesRow> rows = {
        {"same clocks, 5 ms each way", 0, 5, 6, 11, 10, 0},
        {"server an hour ahead, no delay", 0, 3'600'000, 3'600'000, 0, 0, 3'600'000},
        {"server half a second behind", 0, -495, -494, 11, 10, -500},
        {"all the delay on the way there", 0, 100, 100, 100, 100, 50},
        {"long hold at the server", 0, 2, 802, 804, 4, 0},
    };
    const TWallTime base = Unix(1796692781);
    for (const TimesRow& row : rows) {
        const auto at = [&](int64_t ms) { return base + std::chrono::milliseconds(ms); };
        const TSntpTimes times = MeasureSntpTimes(at(row.T1), at(row.T2), at(row.T3), at(row.T4));
        EXPECT_EQ(times.Delay, std::chrono::milliseconds(row.Delay)) << row.Name;
        EXPECT_EQ(times.Offset, std::chrono::milliseconds(row.Offset)) << row.Name;
        EXPECT_EQ(times.T3, at(row.T3)) << row.Name;
    }
}

} // namespace
} // namespace tramble
