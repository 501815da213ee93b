#include "platform/ClockSetter.h"

#include <cerrno>
#include <ctime>
#include <sys/timex.h>

namespace tramble::platform {
namespace {

class TKernelClockSetter final : public TClockSetter {
public:
    bool KeptSynchronised() const override
    {
        // A read-only query: modes 0 changes nothing. chrony, ntpd and
        // systemd-timesyncd clear STA_UNSYNC while they steer the clock.
        timex tx{};
        const int state = ::adjtimex(&tx);
        return state >= 0 && state != TIME_ERROR && (tx.status & STA_UNSYNC) == 0;
    }

    TChange SetWall(std::chrono::system_clock::time_point to) override
    {
        const auto since = to.time_since_epoch();
        const auto seconds = std::chrono::floor<std::chrono::seconds>(since);
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(seconds.count());
        ts.tv_nsec = static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
        if (::clock_settime(CLOCK_REALTIME, &ts) == 0)
            return TChange::Done;
        return errno == EPERM ? TChange::Refused : TChange::Failed;
    }
};

} // namespace

TClockSetter& SystemClockSetter()
{
    static TKernelClockSetter setter;
    return setter;
}

} // namespace tramble::platform
