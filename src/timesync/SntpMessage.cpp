#include "timesync/SntpMessage.h"

namespace tramble {
namespace {

using std::chrono::nanoseconds;
using std::chrono::seconds;

// Unix seconds of 1900-01-01 and of the 2036 wrap.
constexpr int64_t kEra0 = -2208988800;
constexpr int64_t kEra1 = kEra0 + (int64_t{1} << 32);
constexpr uint64_t kNanosPerSecond = 1'000'000'000;

void PutStamp(uint8_t* at, TNtpTimestamp stamp)
{
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(stamp.Seconds >> (24 - 8 * i));
        at[4 + i] = static_cast<uint8_t>(stamp.Fraction >> (24 - 8 * i));
    }
}

uint32_t Get32(const uint8_t* at)
{
    return uint32_t{at[0]} << 24 | uint32_t{at[1]} << 16 | uint32_t{at[2]} << 8 | uint32_t{at[3]};
}

TNtpTimestamp GetStamp(const uint8_t* at)
{
    return {Get32(at), Get32(at + 4)};
}

} // namespace

TNtpTimestamp ToNtpTimestamp(TWallTime time)
{
    const nanoseconds since = time.time_since_epoch();
    const seconds whole = std::chrono::floor<seconds>(since);
    const auto part = static_cast<uint64_t>((since - whole).count());
    return {static_cast<uint32_t>(static_cast<uint64_t>(whole.count() - kEra0)),
            static_cast<uint32_t>((part << 32) / kNanosPerSecond)};
}

TWallTime FromNtpTimestamp(TNtpTimestamp stamp)
{
    const int64_t base = (stamp.Seconds & 0x80000000u) ? kEra0 : kEra1;
    const uint64_t part = (uint64_t{stamp.Fraction} * kNanosPerSecond + (uint64_t{1} << 31)) >> 32;
    return TWallTime{} + seconds(base + stamp.Seconds) + nanoseconds(part);
}

TSntpMessage BuildSntpRequest(TNtpTimestamp transmit)
{
    TSntpMessage message{};
    message[0] = 0x1B;
    PutStamp(&message[40], transmit);
    return message;
}

std::optional<TSntpReply> ParseSntpReply(std::span<const uint8_t> datagram)
{
    if (datagram.size() < kSntpMessageSize)
        return std::nullopt;
    TSntpReply reply;
    reply.Leap = datagram[0] >> 6;
    reply.Version = (datagram[0] >> 3) & 7;
    reply.Mode = datagram[0] & 7;
    reply.Stratum = datagram[1];
    reply.Originate = GetStamp(&datagram[24]);
    reply.Receive = GetStamp(&datagram[32]);
    reply.Transmit = GetStamp(&datagram[40]);
    return reply;
}

TSntpMessage EncodeSntpReply(const TSntpReply& reply)
{
    TSntpMessage message{};
    message[0] = static_cast<uint8_t>((reply.Leap & 3) << 6 | (reply.Version & 7) << 3 | (reply.Mode & 7));
    message[1] = static_cast<uint8_t>(reply.Stratum);
    PutStamp(&message[24], reply.Originate);
    PutStamp(&message[32], reply.Receive);
    PutStamp(&message[40], reply.Transmit);
    return message;
}

TReplyFault CheckSntpReply(const TSntpReply& reply, TNtpTimestamp sent)
{
    if (reply.Mode != 4)
        return TReplyFault::NotServerMode;
    if (reply.Version < 1 || reply.Version > 4)
        return TReplyFault::BadVersion;
    if (reply.Leap == 3)
        return TReplyFault::Unsynchronised;
    if (reply.Stratum == 0 || reply.Stratum > 15)
        return TReplyFault::BadStratum;
    if (reply.Transmit.IsZero())
        return TReplyFault::ZeroTransmit;
    if (reply.Originate != sent)
        return TReplyFault::WrongOriginate;
    return TReplyFault::None;
}

TSntpTimes MeasureSntpTimes(TWallTime t1, TWallTime t2, TWallTime t3, TWallTime t4)
{
    TSntpTimes times{t1, t2, t3, t4};
    times.Delay = (t4 - t1) - (t3 - t2);
    times.Offset = ((t2 - t1) + (t3 - t4)) / 2;
    return times;
}

} // namespace tramble
