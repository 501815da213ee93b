#pragma once

#include <chrono>

namespace tramble::platform {

// Sets the system's wall clock. Code that may set the clock takes one from
// its caller, so tests hand it one that moves a clock of their own.
class TClockSetter {
public:
    enum class TChange { Done, Refused, Failed };

    virtual ~TClockSetter() = default;
    // Whether a time service (chrony, ntpd, systemd-timesyncd) keeps the
    // clock synchronised; then nobody else should set it.
    virtual bool KeptSynchronised() const = 0;
    // Refused: the process may not set the clock.
    virtual TChange SetWall(std::chrono::system_clock::time_point to) = 0;
};

// The kernel's clock.
TClockSetter& SystemClockSetter();

} // namespace tramble::platform
