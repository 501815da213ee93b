#pragma once

#include "tray/TrayTools.h"

#include <QList>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;

namespace tramble {

class TLanguage;

// The tray icons' menus and their items, named as the language table knows
// them. The controller connects the items.
struct TTrayMenus {
    std::unique_ptr<QMenu> pmTraySys; // free memory, CPU usage and temperature, disk
    QAction* pmTraySysOption = nullptr;
    QAction* pmTraySysSystem = nullptr;
    QAction* pmTarySysTaskman = nullptr;

    std::unique_ptr<QMenu> pmTrayBattery;
    QAction* pmTrayBatteryOption = nullptr;
    QAction* pmTrayBatteryPower = nullptr;

    // Two fixed items and a separator, then one radio item per interface.
    std::unique_ptr<QMenu> pmTrayNet;
    QAction* pmTrayNetOption = nullptr;
    QAction* pmTrayNetNetConnect = nullptr;
    QActionGroup* Interfaces = nullptr;

    std::unique_ptr<QMenu> pmTrayWeather;
    QAction* pmTrayWeatherOption = nullptr;

    std::unique_ptr<QMenu> pmTray; // the plain icon's
    QAction* pmTrayOption = nullptr;
    QAction* pmTrayPower = nullptr;
    QAction* pmTraySystem = nullptr;
    QAction* pmTrayTaskManager = nullptr;
    QAction* pmTrayNetConnect = nullptr;

    TTrayMenus();
    ~TTrayMenus();
    TTrayMenus(TTrayMenus&&) noexcept;
    TTrayMenus& operator=(TTrayMenus&&) noexcept;

    QList<QAction*> OptionItems() const;
    // The items that start the tool, for connecting them.
    QList<QAction*> ToolItems(TTrayTool tool) const;

    // Replaces the interface items; `marked` (0-based, −1 for none) is checked.
    void SetInterfaces(const std::vector<std::string>& names, int marked);
    // The interface items in menu order.
    QList<QAction*> InterfaceItems() const;

    // Captions from the language table.
    void ApplyLanguage(const TLanguage& language);
};

} // namespace tramble
