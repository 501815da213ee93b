#include "timesync/SntpClient.h"

#include "timesync/LocalTime.h"
#include "timesync/TimeServers.h"

#include <random>
#include <vector>

namespace tramble {
namespace {

TSyncOutcome OutcomeOf(TReplyFault fault)
{
    switch (fault) {
    case TReplyFault::None: return TSyncOutcome::Measured;
    case TReplyFault::NotServerMode: return TSyncOutcome::NotServerMode;
    case TReplyFault::BadVersion: return TSyncOutcome::BadVersion;
    case TReplyFault::Unsynchronised: return TSyncOutcome::Unsynchronised;
    case TReplyFault::BadStratum: return TSyncOutcome::BadStratum;
    case TReplyFault::ZeroTransmit: return TSyncOutcome::ZeroTransmit;
    case TReplyFault::WrongOriginate: return TSyncOutcome::WrongOriginate;
    }
    return TSyncOutcome::NotServerMode;
}

TSyncOutcome OutcomeOf(platform::TNetStatus status, TSyncOutcome timedOut)
{
    switch (status) {
    case platform::TNetStatus::Ok: return TSyncOutcome::Measured;
    case platform::TNetStatus::NoAddress: return TSyncOutcome::NoAddress;
    case platform::TNetStatus::SocketError: return TSyncOutcome::NetworkError;
    case platform::TNetStatus::TimedOut: return timedOut;
    case platform::TNetStatus::Cancelled: return TSyncOutcome::Cancelled;
    }
    return TSyncOutcome::NetworkError;
}

// Next value of a splitmix64 sequence.
uint64_t NextNoise(uint64_t& state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

TSntpClient::TSntpClient(const TClock& clock, platform::TClockSetter& setter)
    : m_clock(clock), m_setter(setter), m_server(ParseServerName(kDefaultTimeServer)),
      m_noise(std::random_device{}() | uint64_t{std::random_device{}()} << 32)
{
}

void TSntpClient::SetServer(std::string_view name)
{
    m_server = ParseServerName(name.find_first_not_of(" \t") == std::string_view::npos ? kDefaultTimeServer : name);
}

TSyncOutcome TSntpClient::Exchange()
{
    if (!m_server)
        return TSyncOutcome::BadServerName;
    platform::TUdpPeer peer;
    if (const auto status = peer.Resolve(m_server->Host, m_server->Port, m_wait, m_cancel);
        status != platform::TNetStatus::Ok)
        return OutcomeOf(status, TSyncOutcome::NoAddress);

    // The low bits of the fraction, far below the clock's precision, are
    // random, so that an answer cannot be forged without seeing the request.
    // The arithmetic uses the exact local time.
    const TWallTime t1 = m_clock.Now();
    TNtpTimestamp sent = ToNtpTimestamp(t1);
    sent.Fraction ^= static_cast<uint32_t>(NextNoise(m_noise) & 0xFFFF);
    const TSntpMessage request = BuildSntpRequest(sent);
    if (const auto status = peer.Send(request); status != platform::TNetStatus::Ok)
        return OutcomeOf(status, TSyncOutcome::NoAnswer);

    std::vector<uint8_t> datagram;
    if (const auto status = peer.Receive(datagram, m_wait, m_cancel); status != platform::TNetStatus::Ok)
        return OutcomeOf(status, TSyncOutcome::NoAnswer);
    const TWallTime t4 = m_clock.Now();

    const std::optional<TSntpReply> reply = ParseSntpReply(datagram);
    if (!reply)
        return TSyncOutcome::ShortAnswer;
    if (const TReplyFault fault = CheckSntpReply(*reply, sent); fault != TReplyFault::None)
        return OutcomeOf(fault);
    m_times = MeasureSntpTimes(t1, FromNtpTimestamp(reply->Receive), FromNtpTimestamp(reply->Transmit), t4);
    return TSyncOutcome::Measured;
}

double TSntpClient::GetServerTime()
{
    m_last = {};
    m_last.Outcome = Exchange();
    m_last.At = m_clock.Now();
    if (m_last.Outcome != TSyncOutcome::Measured)
        return 0;
    m_last.Offset = m_times.Offset;
    m_last.Delay = m_times.Delay;
    const std::optional<std::chrono::seconds> utcOffset = SystemUtcOffset(m_times.T3);
    if (!utcOffset) {
        m_last.Outcome = TSyncOutcome::NoTimeZone;
        return 0;
    }
    return LocalStampFromWall(m_times.T3, *utcOffset);
}

bool TSntpClient::SyncClock()
{
    if (GetServerTime() == 0)
        return false;
    if (m_setter.KeptSynchronised()) {
        m_last.Outcome = TSyncOutcome::KeptByTimeService;
        return false;
    }
    // Taken now, not at T1: the server's hold time and whatever passed
    // since the answer arrived would otherwise leave the clock behind.
    m_setTo = m_clock.Now() + m_times.Offset;
    switch (m_setter.SetWall(m_setTo)) {
    case platform::TClockSetter::TChange::Done: m_last.Outcome = TSyncOutcome::ClockSet; return true;
    case platform::TClockSetter::TChange::Refused: m_last.Outcome = TSyncOutcome::ChangeRefused; return false;
    case platform::TClockSetter::TChange::Failed: m_last.Outcome = TSyncOutcome::ChangeFailed; return false;
    }
    return false;
}

bool TSntpClient::SetClock(double localStamp)
{
    const std::optional<std::chrono::seconds> utcOffset = SystemUtcOffset(m_clock.Now());
    if (!utcOffset)
        return false;
    return m_setter.SetWall(WallFromLocalStamp(localStamp, *utcOffset)) == platform::TClockSetter::TChange::Done;
}

TSyncReport TSntpClient::SyncAndDescribe()
{
    TSyncReport report;
    report.ClockSet = SyncClock();
    report.Exchange = m_last;
    if (!report.ClockSet)
        return report;
    const TWallTime shown = GetServerTime() != 0 ? m_times.T3 : m_setTo;
    // The record stays that of the exchange that set the clock.
    m_last = report.Exchange;
    if (const std::optional<std::chrono::seconds> utcOffset = SystemUtcOffset(shown))
        report.LastSyncText = LocalTimeText(shown, *utcOffset);
    return report;
}

} // namespace tramble
