#pragma once

#include "monitors/DiskWorker.h"
#include "platform/NamedLock.h"
#include "platform/SystemMonitors.h"
#include "tray/TrayIcons.h"
#include "tray/TrayMonitors.h"
#include "tray/ui/TrayMenus.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QMenu;
class QSystemTrayIcon;

namespace tramble {

class TBarLink;

// What the controller is built on; tests point it at fixture trees and a
// lock folder of their own.
struct TTraySetup {
    platform::TMonitorRoots Roots;
    std::string LockFolder; // "" for the user's lock folder
    // Where the menus' tools are looked for; "" for the PATH of the environment.
    std::string ToolPath;
};

// The tray monitors in the running bar: one icon per shown monitor, redrawn
// every second by tmrTray from the system monitors, with the menus of
// system tools and the network menu's interface choice. It takes part in
// start-up (tray settings; the watched interface and the icons) and in
// shut-down (icons removed, interface stored).
class TTrayController : public QObject {
    Q_OBJECT
public:
    explicit TTrayController(TBarLink& bar, TTraySetup setup = {});
    ~TTrayController() override;

    // Creates the icons of the shown monitors in their order, each under its
    // lock, or the plain icon when none was added; starts tmrTray.
    void AddTrayIcons();
    // Removes every icon this copy added and releases their locks.
    void RemoveTrayIcons();

    // One monitor icon, when its setting is on and no other copy shows it:
    // a blank picture until the next tick draws it. True when it is shown.
    bool AddTrayIcon(TTrayIconId id);
    void RemoveTrayIcon(TTrayIconId id);
    // After the options changed the show settings: the plain icon goes, each
    // monitor icon is added or removed to match its setting, and the plain
    // icon comes back when nothing is shown.
    void ApplyShowSettings();
    bool IconShown(TTrayIconId id) const;

    // The weather icon's figures, from the weather record.
    void SetWeatherSource(std::function<std::optional<TTrayWeather>()> source);
    // The weather icon's menu; the weather part adds its items.
    QMenu* WeatherMenu() const;
    // What the menus' "Option" items open: the options dialog at a page
    // (4 the weather page, −1 the first). The items stay disabled without it.
    void SetOptionsAction(std::function<void(int page)> open);
    static constexpr int kWeatherPage = 4;

    // The menu a right click on the icon opens.
    QMenu* MenuFor(TTrayIconId id) const;
    const TTrayMenus& Menus() const { return m_menus; }
    QSystemTrayIcon* Icon(TTrayIconId id) const;
    // The right click: the icon's menu at the point, unless a dialog of the bar is open.
    void ShowMenu(TTrayIconId id, const QPoint& at);
    // The left click.
    void IconClicked();

    // One tick of tmrTray: CPU and traffic samples, every shown icon redrawn.
    void Tick();
    QTimer& TrayTimer() { return tmrTray; }

    platform::TSystemMonitors& Monitors() { return *m_monitors; }

private:
    struct TSlot {
        std::unique_ptr<QSystemTrayIcon> Icon;
        std::optional<platform::TNamedLock> Lock;
        TTrayCanvas Picture{kTransparent};
        std::string Tip;
    };

    void RegisterSteps();
    void ConnectMenus();
    void RunTool(TTrayTool tool);
    void ShowIcon(TTrayIconId id, const TTrayCanvas& picture, const std::string& tip);
    void SetPicture(TSlot& slot, const TTrayCanvas& picture, const std::string& tip);
    void DrawIcon(TTrayIconId id);
    TTrayImage Draw(TTrayIconId id);
    TTrayLook Look() const;
    bool MonitorShown() const;
    void WatchInterfaces();
    void RebuildInterfaceItems();
    void ApplyLanguage();
    void EnableOptionItems();
    void NoteMissingTrayHost();
    void StartDiskWorker();
    void StoreInterfaceChoice();

    TBarLink& m_bar;
    TTraySetup m_setup;
    std::unique_ptr<platform::TSystemMonitors> m_monitors;
    std::unique_ptr<TDiskWorker> m_disk;
    std::array<TSlot, 8> m_slots;
    TTrayMenus m_menus;
    QTimer tmrTray;
    std::function<std::optional<TTrayWeather>()> m_weatherSource;
    std::function<void(int)> m_openOptions;
    std::optional<int32_t> m_lastWatch;
    bool m_iconsLoaded = false;
    bool m_hostNoticeDue = true;
};

// A tooltip as the tray shows it: CR LF ends a line.
QString TrayTip(const std::string& tip);

} // namespace tramble
