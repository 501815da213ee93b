#include "timesync/ui/ClockSyncController.h"

#include "store/Config.h"
#include "store/SettingsKeys.h"
#include "ui/BarLink.h"

namespace tramble {

TClockSyncController::TClockSyncController(TBarLink& bar, const TClock& clock, platform::TClockSetter& setter,
                                           QObject* parent)
    : QObject(parent), m_bar(bar), m_clock(clock), m_setter(setter), m_pacing(clock), tmrSyncTime(this)
{
    setObjectName(QStringLiteral("ClockSync"));
    tmrSyncTime.setObjectName(QStringLiteral("tmrSyncTime"));
    tmrSyncTime.setSingleShot(true);
    connect(&tmrSyncTime, &QTimer::timeout, this, &TClockSyncController::tmrSyncTimeTimer);
    m_bar.StartupLoad().Set(TLoadStep::ClockSync, [this] { LoadSettings(); });
    m_bar.ShutdownOrder().Set(TShutdownStep::StoreSyncTime, [this] { StoreAtExit(); });
}

TClockSyncController::~TClockSyncController()
{
    StopWorker();
}

void TClockSyncController::LoadSettings()
{
    TFastIniFile& settings = m_bar.Settings();
    TConfig& config = m_bar.Config();
    ReadSyncSettings(settings, config);
    m_lastSyncText = ReadSetting(settings, keys::SyncTimeTime);
    m_loaded = true;
    SetServer(config.NTPServer);
    m_pacing.Start(config.SyncTime);
    ArmTimer();
}

void TClockSyncController::StoreAtExit()
{
    StopSync();
    // A load that never reached the sync settings leaves the stored text alone.
    if (m_loaded && !m_bar.Modes().ReadOnlyMode)
        WriteSetting(m_bar.Settings(), keys::SyncTimeTime, m_lastSyncText);
}

void TClockSyncController::SetServer(const std::string& name)
{
    m_server = name;
}

void TClockSyncController::ScheduleSync(std::chrono::milliseconds delay)
{
    m_pacing.ScheduleIn(delay);
    ArmTimer();
}

void TClockSyncController::StopSync()
{
    m_pacing.Stop();
    tmrSyncTime.stop();
    if (m_cancel)
        m_cancel->Cancel();
}

void TClockSyncController::tmrSyncTimeTimer()
{
    if (m_pacing.BeginAttempt())
        StartAttempt();
    else
        ArmTimer();
}

void TClockSyncController::StartAttempt()
{
    // The previous worker delivered its result before this attempt could
    // begin, so it has ended or is about to.
    if (m_worker.joinable())
        m_worker.join();
    m_cancel = std::make_unique<platform::TWaitCancel>();
    try {
        m_worker = std::thread([this, server = m_server, wait = m_wait, cancel = m_cancel.get()] {
            TSyncReport report;
            try {
                TSntpClient client(m_clock, m_setter);
                client.SetServer(server);
                client.SetWait(wait);
                client.SetCancel(cancel);
                report = client.SyncAndDescribe();
            } catch (...) {
                report.Exchange.Outcome = TSyncOutcome::NetworkError;
            }
            QMetaObject::invokeMethod(
                this, [this, report] { FinishAttempt(report); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        TSyncReport report;
        report.Exchange.Outcome = TSyncOutcome::NetworkError;
        report.Exchange.At = m_clock.Now();
        FinishAttempt(report);
    }
}

void TClockSyncController::FinishAttempt(const TSyncReport& report)
{
    m_lastExchange = report.Exchange;
    if (report.LastSyncText)
        m_lastSyncText = *report.LastSyncText;
    m_pacing.EndAttempt();
    ArmTimer();
    emit attemptFinished();
}

void TClockSyncController::ArmTimer()
{
    tmrSyncTime.stop();
    if (m_pacing.Running())
        return;
    if (const std::optional<std::chrono::milliseconds> next = m_pacing.TimeToNext())
        tmrSyncTime.start(*next);
}

void TClockSyncController::StopWorker()
{
    if (!m_worker.joinable())
        return;
    m_cancel->Cancel();
    m_worker.join();
}

} // namespace tramble
