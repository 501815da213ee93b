#pragma once

#include "platform/Clock.h"
#include "platform/ClockSetter.h"
#include "platform/UdpPeer.h"
#include "timesync/ServerName.h"
#include "timesync/SntpMessage.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// How the last attempt ended.
enum class TSyncOutcome : uint8_t {
    None,              // no attempt yet
    Measured,          // the server answered; the clock was not considered
    ClockSet,          // the clock was set
    KeptByTimeService, // a time service keeps the clock: only measured
    ChangeRefused,     // the process may not set the clock
    ChangeFailed,      // the system would not take the new time
    BadServerName,     // the server setting cannot be read
    NoAddress,         // the name does not resolve (in time)
    NetworkError,      // no socket, or the request could not be sent
    NoAnswer,          // nothing came back in time
    Cancelled,         // the attempt was stopped from outside
    ShortAnswer,       // fewer than 48 bytes
    NotServerMode,     // the reply's mode is not 4
    BadVersion,        // the reply's version is outside 1..4
    Unsynchronised,    // the server's clock is not synchronised (leap 3)
    BadStratum,        // stratum 0 or above 15
    ZeroTransmit,      // the server sent no time
    WrongOriginate,    // the reply does not answer our request
    NoTimeZone,        // local time cannot be worked out
};

// The last exchange as the options dialog shows it beside the last-sync text.
struct TLastExchange {
    TSyncOutcome Outcome = TSyncOutcome::None;
    TWallTime At{}; // local clock when the attempt ended
    // How far the local clock was behind the server, and the round trip;
    // there when the server's answer was accepted.
    std::optional<std::chrono::nanoseconds> Offset;
    std::optional<std::chrono::nanoseconds> Delay;
};

// What one run of the sync timer's work yields.
struct TSyncReport {
    bool ClockSet = false;
    // The new last-sync text; only when the clock was set.
    std::optional<std::string> LastSyncText;
    TLastExchange Exchange;
};

// One SNTP client: a request to the server, the checks on its reply, the
// arithmetic of the four times and the setting of the clock.
class TSntpClient {
public:
    static constexpr std::chrono::milliseconds kDefaultWait{3000};

    TSntpClient(const TClock& clock, platform::TClockSetter& setter);

    // "host", "host:port" or "[v6addr]:port"; empty gives the default server.
    void SetServer(std::string_view name);
    // The longest wait for the name to resolve and, apart, for the answer.
    void SetWait(std::chrono::milliseconds wait) { m_wait = wait; }
    // Lets another thread end the waits; the attempt then fails.
    void SetCancel(const platform::TWaitCancel* cancel) { m_cancel = cancel; }

    // One exchange: the server's transmit time as a local date-time, or 0
    // when there is no usable answer.
    double GetServerTime();
    // One exchange and, when it succeeded and no time service keeps the
    // clock, the clock set to its own time plus the measured offset. Whether
    // the clock was set.
    bool SyncClock();
    // Sets the clock to a local date-time; whether it was set.
    bool SetClock(double localStamp);

    // SyncClock and, when it set the clock, a second exchange whose server
    // time becomes the last-sync text (the time set when that one fails).
    TSyncReport SyncAndDescribe();

    const TSntpTimes& Times() const { return m_times; }
    const TLastExchange& LastExchange() const { return m_last; }

private:
    TSyncOutcome Exchange();

    const TClock& m_clock;
    platform::TClockSetter& m_setter;
    std::optional<TServerName> m_server;
    std::chrono::milliseconds m_wait = kDefaultWait;
    const platform::TWaitCancel* m_cancel = nullptr;
    uint64_t m_noise;
    TSntpTimes m_times;
    TWallTime m_setTo{};
    TLastExchange m_last;
};

} // namespace tramble
