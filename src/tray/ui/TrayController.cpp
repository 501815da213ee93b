#include "tray/ui/TrayController.h"

#include "platform/Launch.h"
#include "store/Config.h"
#include "store/InstanceNames.h"
#include "tray/TrayPictures.h"
#include "ui/BarLink.h"
#include "ui/Prompts.h"

#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QSystemTrayIcon>

#include <cstdlib>
#include <cstring>

namespace tramble {
namespace {

// How long after start-up the tray host may take to appear before the user
// is told that there is none (a session starts its panel and us together).
constexpr int kTrayHostGraceMs = 5000;

QIcon IconOf(const TTrayCanvas& picture)
{
    // The canvas holds 0xAARRGGBB words, as this image format does.
    QImage image(TTrayCanvas::kSize, TTrayCanvas::kSize, QImage::Format_ARGB32);
    for (int y = 0; y < TTrayCanvas::kSize; ++y)
        std::memcpy(image.scanLine(y), &picture.Pixels()[y * TTrayCanvas::kSize], TTrayCanvas::kSize * 4);
    return QIcon(QPixmap::fromImage(image));
}

TTrayCanvas OnWhite(int picture)
{
    TTrayCanvas canvas(kWhite);
    canvas.Draw(MenuPicture(picture));
    return canvas;
}

} // namespace

QString TrayTip(const std::string& tip)
{
    return QString::fromStdString(tip).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

TTrayController::TTrayController(TBarLink& bar, TTraySetup setup)
    : m_bar(bar), m_setup(std::move(setup)), m_monitors(std::make_unique<platform::TSystemMonitors>(m_setup.Roots))
{
    m_monitors->Start();
    RebuildInterfaceItems();
    tmrTray.setInterval(1000);
    connect(&tmrTray, &QTimer::timeout, this, &TTrayController::Tick);
    ConnectMenus();
    RegisterSteps();
    m_bar.OnLanguageApplied([this] { ApplyLanguage(); });
    ApplyLanguage();
    EnableOptionItems();
}

TTrayController::~TTrayController()
{
    if (m_disk)
        m_disk->Stop();
}

void TTrayController::RegisterSteps()
{
    m_bar.StartupLoad().Set(TLoadStep::TraySettings, [this] { ReadTraySettings(m_bar.Settings(), m_bar.Config()); });
    m_bar.StartupLoad().Set(TLoadStep::TrayIcons, [this] {
        m_monitors->Traffic().LoadInterfaceChoice(m_bar.Settings());
        RebuildInterfaceItems();
        m_iconsLoaded = true;
        EnableOptionItems();
        AddTrayIcons();
    });
    m_bar.ShutdownOrder().Set(TShutdownStep::TrayIcons, [this] {
        tmrTray.stop();
        RemoveTrayIcons();
        StoreInterfaceChoice();
    });
}

void TTrayController::StoreInterfaceChoice()
{
    // A load that ended before reading the choice leaves the stored one alone.
    if (!m_iconsLoaded || m_bar.Modes().ReadOnlyMode)
        return;
    m_monitors->Traffic().SaveInterfaceChoice(m_bar.Settings());
}

void TTrayController::ConnectMenus()
{
    for (QAction* item : m_menus.OptionItems()) {
        const int page = item == m_menus.pmTrayWeatherOption ? kWeatherPage : -1;
        connect(item, &QAction::triggered, this, [this, page] {
            if (m_openOptions)
                m_openOptions(page);
        });
    }
    for (const TTrayTool tool : {TTrayTool::System, TTrayTool::TaskManager, TTrayTool::Power, TTrayTool::NetConnect}) {
        for (QAction* item : m_menus.ToolItems(tool))
            connect(item, &QAction::triggered, this, [this, tool] { RunTool(tool); });
    }
}

void TTrayController::RunTool(TTrayTool tool)
{
    const char* path = std::getenv("PATH");
    const std::string pathList = !m_setup.ToolPath.empty() ? m_setup.ToolPath : path ? path : "/usr/bin:/bin";
    const TLanguage& language = m_bar.Language();
    TBarHold hold(m_bar);
    const std::optional<std::vector<std::string>> command = FindTrayTool(tool, pathList);
    const int error = command ? platform::SpawnDetached(*command, {}) : ENOENT;
    if (error == 0)
        return;
    ShowMessage(m_bar.BarWindow(), QMessageBox::Warning,
                QString::fromStdString(language.Text("Message", "NoTrayTool") + ": " + TrayToolNames(tool)),
                QString::fromStdString(language.Text("Message", "Error")));
}

void TTrayController::SetWeatherSource(std::function<std::optional<TTrayWeather>()> source)
{
    m_weatherSource = std::move(source);
}

QMenu* TTrayController::WeatherMenu() const
{
    return m_menus.pmTrayWeather.get();
}

void TTrayController::SetOptionsAction(std::function<void(int page)> open)
{
    m_openOptions = std::move(open);
    EnableOptionItems();
}

void TTrayController::EnableOptionItems()
{
    for (QAction* item : m_menus.OptionItems())
        item->setEnabled(m_openOptions && !m_bar.Modes().ReadOnlyMode);
}

void TTrayController::ApplyLanguage()
{
    m_menus.ApplyLanguage(m_bar.Language());
}

QMenu* TTrayController::MenuFor(TTrayIconId id) const
{
    switch (id) {
    case tiFreeMem:
    case tiCpuUsage:
    case tiCpuTemp:
    case tiDiskTemp: return m_menus.pmTraySys.get();
    case tiBattery: return m_menus.pmTrayBattery.get();
    case tiNetMon: return m_menus.pmTrayNet.get();
    case tiWeather: return m_menus.pmTrayWeather.get();
    case tiPlain: break;
    }
    return m_menus.pmTray.get();
}

void TTrayController::ShowMenu(TTrayIconId id, const QPoint& at)
{
    if (m_bar.ModalGuard())
        return;
    m_bar.NotePopupPoint(at);
    MenuFor(id)->popup(at);
}

void TTrayController::IconClicked()
{
    m_bar.RestoreBar();
}

QSystemTrayIcon* TTrayController::Icon(TTrayIconId id) const
{
    return m_slots[id].Icon.get();
}

bool TTrayController::IconShown(TTrayIconId id) const
{
    return m_slots[id].Icon != nullptr;
}

bool TTrayController::MonitorShown() const
{
    for (const TTrayIconInfo& info : kTrayIcons) {
        if (IconShown(info.Id))
            return true;
    }
    return false;
}

void TTrayController::ShowIcon(TTrayIconId id, const TTrayCanvas& picture, const std::string& tip)
{
    TSlot& slot = m_slots[id];
    if (!slot.Icon) {
        slot.Icon = std::make_unique<QSystemTrayIcon>();
        slot.Icon->setObjectName(QStringLiteral("TrayIcon%1").arg(int(id)));
        connect(slot.Icon.get(), &QSystemTrayIcon::activated, this, [this, id](QSystemTrayIcon::ActivationReason why) {
            if (why == QSystemTrayIcon::Trigger)
                IconClicked();
            else if (why == QSystemTrayIcon::Context)
                ShowMenu(id, QCursor::pos());
        });
        slot.Picture = TTrayCanvas(kTransparent);
        slot.Tip.clear();
    }
    SetPicture(slot, picture, tip);
    slot.Icon->show();
}

void TTrayController::SetPicture(TSlot& slot, const TTrayCanvas& picture, const std::string& tip)
{
    // The tray host repaints on every change, so only changes are handed on.
    if (picture != slot.Picture) {
        slot.Picture = picture;
        slot.Icon->setIcon(IconOf(picture));
    }
    if (tip != slot.Tip || slot.Icon->toolTip().isNull()) {
        slot.Tip = tip;
        slot.Icon->setToolTip(TrayTip(tip));
    }
}

void TTrayController::AddTrayIcons()
{
    const std::string title = InstanceCaption(m_bar.Modes().Instance);
    for (const TTrayIconInfo& info : kTrayIcons) {
        if (!(m_bar.Config().*info.Shown) || IconShown(info.Id))
            continue;
        std::optional<platform::TNamedLock> lock;
        if (info.LockName) {
            lock = platform::TNamedLock::TryAcquire(info.LockName, m_setup.LockFolder);
            // Another copy shows this monitor already.
            if (!lock)
                continue;
        }
        ShowIcon(info.Id, OnWhite(info.FirstPicture), title);
        m_slots[info.Id].Lock = std::move(lock);
        if (info.Id == tiDiskTemp)
            StartDiskWorker();
        DrawIcon(info.Id);
    }
    if (!MonitorShown())
        ShowIcon(tiPlain, OnWhite(kPlainIconPicture), title);
    tmrTray.start();
    if (m_hostNoticeDue)
        QTimer::singleShot(kTrayHostGraceMs, this, &TTrayController::NoteMissingTrayHost);
}

void TTrayController::RemoveTrayIcons()
{
    for (TSlot& slot : m_slots) {
        slot.Icon.reset();
        slot.Lock.reset();
    }
    if (m_disk)
        m_disk->Stop();
}

bool TTrayController::AddTrayIcon(TTrayIconId id)
{
    const TTrayIconInfo* info = TrayIconInfo(id);
    if (!info)
        return false;
    if (IconShown(id))
        return true;
    std::optional<platform::TNamedLock> lock;
    if (info->LockName) {
        lock = platform::TNamedLock::TryAcquire(info->LockName, m_setup.LockFolder);
        if (!lock)
            return false;
    }
    m_slots[tiPlain].Icon.reset();
    const int picture = id == tiDiskTemp ? kPictureDisk : id == tiWeather ? kPictureWeatherUnknown : 0;
    ShowIcon(id, picture ? OnWhite(picture) : TTrayCanvas(kWhite), {});
    m_slots[id].Lock = std::move(lock);
    if (id == tiDiskTemp)
        StartDiskWorker();
    return true;
}

void TTrayController::RemoveTrayIcon(TTrayIconId id)
{
    if (!TrayIconInfo(id) || !IconShown(id))
        return;
    m_slots[id].Icon.reset();
    m_slots[id].Lock.reset();
    if (id == tiDiskTemp && m_disk)
        m_disk->Stop();
    if (!MonitorShown())
        ShowIcon(tiPlain, OnWhite(kPlainIconPicture), InstanceCaption(m_bar.Modes().Instance));
}

void TTrayController::ApplyShowSettings()
{
    for (const TTrayIconInfo& info : kTrayIcons) {
        const bool wanted = m_bar.Config().*info.Shown;
        if (wanted && !IconShown(info.Id))
            AddTrayIcon(info.Id);
        else if (!wanted && IconShown(info.Id))
            RemoveTrayIcon(info.Id);
    }
}

void TTrayController::StartDiskWorker()
{
    if (!m_disk)
        m_disk = std::make_unique<TDiskWorker>(m_monitors->DiskReadFunction());
    m_disk->Start();
}

void TTrayController::NoteMissingTrayHost()
{
    if (!m_hostNoticeDue)
        return;
    m_hostNoticeDue = false;
    if (QSystemTrayIcon::isSystemTrayAvailable())
        return;
    // Said once and not waited for: the bar runs on without its monitors.
    auto* box = new QMessageBox(
        QMessageBox::Information, QString::fromStdString(InstanceCaption(m_bar.Modes().Instance)),
        QString::fromStdString(m_bar.Language().Text("Message", "NoTrayHost")), QMessageBox::Ok, m_bar.BarWindow());
    box->setObjectName(QStringLiteral("TrayHostNotice"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    box->setModal(false);
    box->show();
}

TTrayLook TTrayController::Look() const
{
    TTrayLook look;
    look.TrayColor = m_bar.Config().TrayColor;
    look.Metric = m_bar.Config().Metric;
    look.SecondsCounter = m_bar.SecondsCounter();
    look.Language = &m_bar.Language();
    return look;
}

TTrayImage TTrayController::Draw(TTrayIconId id)
{
    const TTrayLook look = Look();
    switch (id) {
    case tiFreeMem: {
        const TReading<TMemoryStatus> memory = m_monitors->MemoryStatus();
        if (!memory)
            throw ETrayFigures("memory status unreadable");
        return DrawFreeMemory(memory.Value(), look);
    }
    case tiBattery: return DrawBattery(m_monitors->PowerStatus(), look);
    case tiCpuUsage: return DrawCpuUsage(m_monitors->Cpu().History(), m_monitors->Cpu().CpuUsageMethod(), look);
    case tiDiskTemp: {
        const std::optional<TDiskReading> reading = m_disk ? m_disk->Latest() : std::nullopt;
        // Until the first reading the icon keeps its first picture.
        if (!reading)
            throw ETrayFigures("no disk reading yet");
        return DrawDiskTemperature({reading->Valid != 0, reading->Model, reading->PowerOnHours, reading->Temperature},
                                   look);
    }
    case tiNetMon: {
        const TTrafficMonitor& traffic = m_monitors->Traffic();
        TTrayTraffic figures{traffic.DownloadHistory(), traffic.UploadHistory(), traffic.DownloadWindowBytes(),
                             traffic.UploadWindowBytes()};
        if (const TIfRow* row = traffic.NetMon().SelectedRow()) {
            figures.TotalIn = row->InOctets;
            figures.TotalOut = row->OutOctets;
        }
        return DrawNetTraffic(figures, look);
    }
    case tiCpuTemp: {
        const TReading<int> t = m_monitors->CpuTemperature();
        return DrawCpuTemperature(t ? std::optional<int32_t>(t.Value()) : std::nullopt, look);
    }
    case tiWeather: {
        const std::optional<TTrayWeather> weather = m_weatherSource ? m_weatherSource() : std::nullopt;
        return DrawWeather(weather.value_or(TTrayWeather{}), look);
    }
    case tiPlain: break;
    }
    throw ETrayFigures("no monitor");
}

void TTrayController::DrawIcon(TTrayIconId id)
{
    try {
        const TTrayImage image = Draw(id);
        SetPicture(m_slots[id], image.Picture, image.Tip);
    } catch (...) {
        // The icon keeps its last picture; the next tick tries again.
    }
}

void TTrayController::Tick()
{
    const bool wasRunning = tmrTray.isActive();
    tmrTray.stop();
    tmrTray.setInterval(1000);
    struct TRearm {
        QTimer& Timer;
        bool Again;
        ~TRearm()
        {
            if (Again)
                Timer.start();
        }
    } rearm{tmrTray, wasRunning};

    WatchInterfaces();
    try {
        if (m_monitors->Cpu().CpuUsageMethod() != cumNone)
            m_monitors->SampleCpu();
    } catch (...) {
        // A failed sample leaves the history as it was.
    }
    try {
        m_monitors->SampleTraffic();
    } catch (...) {
        // Likewise the traffic histories.
    }
    for (const TTrayIconId id : kTrayDrawOrder) {
        const TTrayIconInfo* info = TrayIconInfo(id);
        if (IconShown(id) && m_bar.Config().*info->Shown)
            DrawIcon(id);
    }
}

void TTrayController::WatchInterfaces()
{
    const int32_t seconds = m_bar.SecondsCounter();
    if (seconds % 8 != 0 || m_lastWatch == seconds)
        return;
    m_lastWatch = seconds;
    if (m_monitors->Traffic().WatchInterfaces())
        RebuildInterfaceItems();
}

void TTrayController::RebuildInterfaceItems()
{
    const TTrafficMonitor& traffic = m_monitors->Traffic();
    m_menus.SetInterfaces(traffic.MenuItems(), traffic.MarkedItem());
    const QList<QAction*> items = m_menus.InterfaceItems();
    for (int k = 0; k < items.size(); ++k) {
        connect(items[k], &QAction::triggered, this, [this, k] {
            m_monitors->Traffic().ItemAction(k);
            m_menus.InterfaceItems()[k]->setChecked(true);
        });
    }
}

} // namespace tramble
