#pragma once

#include "monitors/DiskInfo.h"
#include "platform/Clock.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace tramble {

// One reading of the system disk, as the disk icon shows it.
using TDiskReading = TDiskInfo;

// Reads the system disk on a thread of its own, so that a slow or stuck disk
// never holds up the window, at most once a period: the first read right
// after Start, the next a period after the previous one began. Latest gives
// the last reading meanwhile.
class TDiskWorker {
public:
    // One read of the disk; nothing when the disk sleeps and must not be
    // woken, which keeps the last reading. It runs on the worker thread and
    // may outlive the worker when a read hangs, so it must own (or share)
    // everything it uses.
    using TReader = std::function<std::optional<TDiskReading>()>;

    explicit TDiskWorker(TReader read, const TClock& clock = SystemClock(),
                         std::chrono::seconds period = std::chrono::minutes(1));
    ~TDiskWorker();
    TDiskWorker(const TDiskWorker&) = delete;
    TDiskWorker& operator=(const TDiskWorker&) = delete;

    // Starts the thread; nothing when it runs already.
    void Start();
    // Ends the thread. Returns within a short bound even while a read hangs:
    // that thread is then left to finish on its own, and its reading dropped.
    void Stop();

    // The last reading; nothing before the first read has finished, while
    // the disk has slept since Start, and after Stop.
    std::optional<TDiskReading> Latest() const;

    // How long Stop waits for a read in progress.
    static constexpr std::chrono::milliseconds kStopWait{500};

private:
    struct TState;
    static void Run(std::shared_ptr<TState> state);

    TReader m_read;
    const TClock& m_clock;
    std::chrono::seconds m_period;
    std::shared_ptr<TState> m_state;
    std::thread m_thread;
};

} // namespace tramble
