#include "tray/ui/TrayMenus.h"

#include "i18n/Language.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace tramble {
namespace {

QAction* AddItem(QMenu* menu, const char* name, const char* caption)
{
    QAction* item = menu->addAction(QString::fromLatin1(caption));
    item->setObjectName(QLatin1String(name));
    return item;
}

std::unique_ptr<QMenu> NewMenu(const char* name)
{
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(QLatin1String(name));
    return menu;
}

void SetText(QAction* item, const TLanguage& language, const char* section, const char* key)
{
    item->setText(QString::fromStdString(language.Text(section, key)));
}

} // namespace

TTrayMenus::TTrayMenus()
{
    pmTraySys = NewMenu("pmTraySys");
    pmTraySysOption = AddItem(pmTraySys.get(), "pmTraySysOption", "&Option");
    pmTraySysSystem = AddItem(pmTraySys.get(), "pmTraySysSystem", "&System");
    pmTarySysTaskman = AddItem(pmTraySys.get(), "pmTarySysTaskman", "TaskManager");

    pmTrayBattery = NewMenu("pmTrayBattery");
    pmTrayBatteryOption = AddItem(pmTrayBattery.get(), "pmTrayBatteryOption", "&Option");
    pmTrayBatteryPower = AddItem(pmTrayBattery.get(), "pmTrayBatteryPower", "&Power");

    pmTrayNet = NewMenu("pmTrayNet");
    pmTrayNetOption = AddItem(pmTrayNet.get(), "pmTrayNetOption", "&Option");
    pmTrayNetNetConnect = AddItem(pmTrayNet.get(), "pmTrayNetNetConnect", "&Net Connect");
    pmTrayNet->addSeparator();
    Interfaces = new QActionGroup(pmTrayNet.get());
    Interfaces->setExclusive(true);

    pmTrayWeather = NewMenu("pmTrayWeather");
    pmTrayWeatherOption = AddItem(pmTrayWeather.get(), "pmTrayWeatherOption", "&Option");

    pmTray = NewMenu("pmTray");
    pmTrayOption = AddItem(pmTray.get(), "pmTrayOption", "&Option");
    pmTray->addSeparator();
    pmTrayPower = AddItem(pmTray.get(), "pmTrayPower", "&Power");
    pmTraySystem = AddItem(pmTray.get(), "pmTraySystem", "&System");
    pmTrayTaskManager = AddItem(pmTray.get(), "pmTrayTaskManager", "TaskManager");
    pmTrayNetConnect = AddItem(pmTray.get(), "pmTrayNetConnect", "&Net Connect");
}

TTrayMenus::~TTrayMenus() = default;
TTrayMenus::TTrayMenus(TTrayMenus&&) noexcept = default;
TTrayMenus& TTrayMenus::operator=(TTrayMenus&&) noexcept = default;

QList<QAction*> TTrayMenus::OptionItems() const
{
    return {pmTraySysOption, pmTrayBatteryOption, pmTrayNetOption, pmTrayWeatherOption, pmTrayOption};
}

QList<QAction*> TTrayMenus::ToolItems(TTrayTool tool) const
{
    switch (tool) {
    case TTrayTool::System: return {pmTraySysSystem, pmTraySystem};
    case TTrayTool::TaskManager: return {pmTarySysTaskman, pmTrayTaskManager};
    case TTrayTool::Power: return {pmTrayBatteryPower, pmTrayPower};
    case TTrayTool::NetConnect: return {pmTrayNetNetConnect, pmTrayNetConnect};
    }
    return {};
}

void TTrayMenus::SetInterfaces(const std::vector<std::string>& names, int marked)
{
    for (QAction* item : InterfaceItems()) {
        Interfaces->removeAction(item);
        pmTrayNet->removeAction(item);
        delete item;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        QAction* item = pmTrayNet->addAction(QString::fromStdString(names[i]));
        item->setCheckable(true);
        item->setChecked(static_cast<int>(i) == marked);
        Interfaces->addAction(item);
    }
}

QList<QAction*> TTrayMenus::InterfaceItems() const
{
    return Interfaces->actions();
}

void TTrayMenus::ApplyLanguage(const TLanguage& language)
{
    for (QAction* item : OptionItems())
        SetText(item, language, "main", "Option");
    for (QAction* item : ToolItems(TTrayTool::System))
        SetText(item, language, "main", "System");
    for (QAction* item : ToolItems(TTrayTool::TaskManager))
        SetText(item, language, "main", "Taskmanager");
    for (QAction* item : ToolItems(TTrayTool::Power))
        SetText(item, language, "main", "Power");
    for (QAction* item : ToolItems(TTrayTool::NetConnect))
        SetText(item, language, "main", "NetConnect");
}

} // namespace tramble
