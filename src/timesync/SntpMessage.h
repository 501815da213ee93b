#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

namespace tramble {

using TWallTime = std::chrono::system_clock::time_point;

// 64-bit NTP timestamp: seconds since 1900-01-01 00:00 UTC modulo 2^32, then
// the fraction of a second in units of 2^-32 s.
struct TNtpTimestamp {
    uint32_t Seconds = 0;
    uint32_t Fraction = 0;

    bool IsZero() const { return Seconds == 0 && Fraction == 0; }
    bool operator==(const TNtpTimestamp&) const = default;
};

// The era rule of SNTP: a counter with its top bit set is reckoned from
// 1900, one with it clear from 2036-02-07 06:28:16 UTC, when the 32-bit
// counter wraps. Times from 1968 to 2104 convert both ways.
TNtpTimestamp ToNtpTimestamp(TWallTime time);
TWallTime FromNtpTimestamp(TNtpTimestamp stamp);

inline constexpr size_t kSntpMessageSize = 48;
inline constexpr uint16_t kSntpPort = 123;
using TSntpMessage = std::array<uint8_t, kSntpMessageSize>;

// A client request: all zero but the first byte (leap 0, version 3, mode 3)
// and the transmit timestamp.
TSntpMessage BuildSntpRequest(TNtpTimestamp transmit);

struct TSntpReply {
    int Leap = 0;
    int Version = 0;
    int Mode = 0;
    int Stratum = 0;
    TNtpTimestamp Originate;
    TNtpTimestamp Receive;
    TNtpTimestamp Transmit;
};

// The fields of a reply; nothing when it holds fewer than 48 bytes. Bytes
// after the 48th (extension fields, a key) are not read.
std::optional<TSntpReply> ParseSntpReply(std::span<const uint8_t> datagram);
// The same message as bytes, for responders of tests and tools.
TSntpMessage EncodeSntpReply(const TSntpReply& reply);

enum class TReplyFault {
    None,
    NotServerMode,  // mode other than 4
    BadVersion,     // version outside 1..4
    Unsynchronised, // leap indicator 3: the server has no time to give
    BadStratum,     // 0 (a kiss code) or above 15
    ZeroTransmit,   // the server sent no time
    WrongOriginate, // not an answer to our request: stale or forged
};

// Whether a reply may be used, given the transmit timestamp of our request.
TReplyFault CheckSntpReply(const TSntpReply& reply, TNtpTimestamp sent);

// The four times of one exchange and what follows from them: the round trip
// spent on the network and how far the local clock is behind the server's.
struct TSntpTimes {
    TWallTime T1; // the request left (local clock)
    TWallTime T2; // the server received it
    TWallTime T3; // the server answered
    TWallTime T4; // the answer arrived (local clock)
    std::chrono::nanoseconds Delay{};
    std::chrono::nanoseconds Offset{};
};

TSntpTimes MeasureSntpTimes(TWallTime t1, TWallTime t2, TWallTime t3, TWallTime t4);

} // namespace tramble
