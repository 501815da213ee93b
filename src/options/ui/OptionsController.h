#pragma once

#include "options/ShortcutOptions.h"
#include "store/Config.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

class QAction;
class QMenu;

namespace tramble {

class TBarLink;
class TClockSyncController;
class TTrayController;
class TWeatherController;
class TfrmOption;

// What the options reach besides the bar's link: its menu items, the other
// controllers they apply settings to, and the bar's own steps.
struct TOptionsParts {
    QAction* OptionItem = nullptr; // its data remembers the page shown last
    QAction* AboutItem = nullptr;
    QMenu* LanguageMenu = nullptr; // its items are the language choices
    TTrayController* Tray = nullptr;
    TClockSyncController* Clock = nullptr;
    TWeatherController* Weather = nullptr;
    // Font, strip and title bar of the bar from its configuration.
    std::function<void()> ApplyBarLook;
    // The global shortcut bound again from its stored setting.
    std::function<void()> ApplyHotkey;
    // For the about window.
    std::function<uint32_t()> ApplicationCount;
    std::function<int64_t()> TotalSeconds;
    // Where the program's own shortcuts go and what they start; the user's
    // folders and this program when left empty.
    std::optional<TShortcutFolders> Folders;
    std::string Program;
};

// The options dialog and the about window in the running bar: the bar
// menu's "&Option" and "About", the tray menus' "&Option" items, and what a
// confirmed dialog changes in the running bar.
class TOptionsController : public QObject {
    Q_OBJECT
public:
    TOptionsController(TBarLink& bar, TOptionsParts parts);
    ~TOptionsController() override;

    // The options dialog, on the page given (the one shown last when −1).
    // Nothing in read-only mode.
    void Open(int page = -1);
    void OpenAbout();
    // The weather controller, when it is created after the options.
    void SetWeather(TWeatherController* weather) { m_parts.Weather = weather; }

    int RememberedPage() const;
    static constexpr int kWeatherPage = 4;

private:
    void ApplyToBar(const TfrmOption& dialog);
    void SetRememberedPage(int page);

    TBarLink& m_bar;
    TOptionsParts m_parts;
    int m_page = 0;
};

} // namespace tramble
