#pragma once

#include "platform/Clock.h"
#include "platform/ClockSetter.h"
#include "platform/UdpPeer.h"
#include "timesync/SntpClient.h"
#include "timesync/SyncPacing.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace tramble {

class TBarLink;

// Keeps the computer's clock set from a time server: five seconds after the
// settings are loaded, then an hour after each attempt. The exchange runs on
// a worker thread, so the bar never waits for the network; its result comes
// back to the window's thread. Nothing is ever reported to the user.
class TClockSyncController : public QObject {
    Q_OBJECT
public:
    // Takes part in the bar's start-up (reading the settings) and shut-down
    // (stopping, writing the last-sync text). clock and setter: the system's
    // in the program; they must outlive the controller.
    TClockSyncController(TBarLink& bar, const TClock& clock = SystemClock(),
                         platform::TClockSetter& setter = platform::SystemClockSetter(), QObject* parent = nullptr);
    ~TClockSyncController() override;

    // The server of the following attempts ("host", "host:port",
    // "[v6addr]:port"); empty gives the default server.
    void SetServer(const std::string& name);
    // The next attempt `delay` from now; also switches synchronisation on.
    void ScheduleSync(std::chrono::milliseconds delay);
    // No further attempts; one that runs is stopped.
    void StopSync();

    // When the clock was last set, as the options dialog shows it.
    const std::string& LastSyncText() const { return m_lastSyncText; }
    // Time, measured offset and outcome of the last attempt.
    const TLastExchange& LastExchange() const { return m_lastExchange; }
    bool AttemptRunning() const { return m_pacing.Running(); }

    // The longest wait for the server's name and, apart, for its answer.
    void SetReplyWait(std::chrono::milliseconds wait) { m_wait = wait; }

signals:
    // An attempt ended and its outcome is in LastExchange().
    void attemptFinished();

private:
    void LoadSettings();
    void StoreAtExit();
    void tmrSyncTimeTimer();
    void StartAttempt();
    void FinishAttempt(const TSyncReport& report);
    void ArmTimer();
    void StopWorker();

    TBarLink& m_bar;
    const TClock& m_clock;
    platform::TClockSetter& m_setter;
    TSyncPacing m_pacing;
    QTimer tmrSyncTime;
    std::string m_server;
    std::string m_lastSyncText;
    TLastExchange m_lastExchange;
    std::chrono::milliseconds m_wait = TSntpClient::kDefaultWait;
    bool m_loaded = false;
    std::unique_ptr<platform::TWaitCancel> m_cancel;
    std::thread m_worker;
};

} // namespace tramble
