#pragma once

#include "launcher/RainbowFrame.h"
#include "options/CityList.h"
#include "options/OptionValues.h"
#include "options/ShortcutOptions.h"
#include "store/Config.h"
#include "store/FastIniFile.h"
#include "timesync/SntpClient.h"
#include "weather/WeatherXml.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace tramble {

class TColorShape;
class TLanguage;

// What the dialog is filled from.
struct TOptionInput {
    TConfig Config;
    int IconSize = 32;
    std::string LastSyncText;
    TLastExchange LastExchange;
    // The captions of the bar's language menu and the language in use.
    QStringList LanguageNames;
    std::string Language;
    bool PortableMode = false;
    bool ReadOnlyMode = false;
    bool ChineseSystem = false;
    // Where the program's own shortcuts go, and what they start.
    TShortcutFolders Folders;
    std::string Program;
    int Page = 0;
    // The global shortcut's setting text ("" when off).
    std::string Hotkey;
    // The city finder; the button is disabled without it.
    std::function<std::optional<TCityRow>(QWidget* owner)> FindCity;
};

// The options dialog: six pages (the alarm page is never shown) filled from
// the settings. OK runs the dialog's own steps (shortcuts, the values forced
// into range, the city list written, the language chosen) and leaves the
// rest to the caller, which applies Result() to the running bar.
class TfrmOption : public QDialog {
    Q_OBJECT
public:
    enum TPage { tsSystem, tsShortcut, tsTrayIcon, tsRainbowBar, tsWeather, tsAlarm };

    // settings: where the city list and the "temp" hand-over are written on OK.
    TfrmOption(TOptionInput input, TFastIniFile& settings, const TLanguage& language, QWidget* owner = nullptr);
    ~TfrmOption() override;

    // Once closed with OK: the settings to apply.
    const TConfig& Result() const { return m_result; }
    // The index of the chosen language when it differs from the one in use.
    std::optional<int> LanguageChange() const { return m_languageChange; }
    int IconSizeChoice() const { return m_iconSize; }
    // The global shortcut's new setting text when the user changed it.
    std::optional<std::string> HotkeyChange() const { return m_hotkeyChange; }
    // The page shown last.
    int Page() const;
    const TCityList& Cities() const { return m_cities; }
    // The preview's strips as last drawn, one per style.
    const std::array<TRainbowState, 5>& Preview() const { return m_preview; }

    void btnDefaultClick();
    void PresetClick(int index); // 0..7: buttons "1".."8"
    void btnRandomClick();
    void btnFontClick();
    void btnFindCityClick();
    void btnDeleteCityClick();
    void btnOkClick();
    void tmrPreviewTimer();

    QTabWidget* pgcOption = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnDefault = nullptr;

    // System page.
    QCheckBox* chkTitleBar = nullptr;
    QCheckBox* chkAutoSortByCount = nullptr;
    QCheckBox* chkAutoSortByTime = nullptr;
    QCheckBox* chkSyncTime = nullptr;
    QLabel* lbSyncTimeTime = nullptr;
    QLabel* lbSyncExchange = nullptr;
    QComboBox* cbbNTP = nullptr;
    QLabel* lbUnit = nullptr;
    QRadioButton* rbUintMetric = nullptr;
    QRadioButton* rbUnitNonMetric = nullptr;
    QPushButton* btnFont = nullptr;
    QLabel* lbFont = nullptr;
    QComboBox* cbbLang = nullptr;
    QSlider* MinSpeed = nullptr;
    QSlider* ResSpeed = nullptr;
    QComboBox* edtBtnWidth = nullptr;
    QLabel* lbPortMode = nullptr;
    QLabel* lbReadonlyMode = nullptr;

    // Shortcut page, in the order of TShortcutPlace.
    QCheckBox* chkShortcutStartmenu = nullptr;
    QCheckBox* chkShortcutDesktop = nullptr;
    QCheckBox* chkShortcutQuickLaunch = nullptr;
    QCheckBox* chkAutoRun = nullptr;
    QLabel* lbQuickLaunchHint = nullptr;
    QLabel* lbShortPortMode = nullptr;
    QLabel* lbHotkey = nullptr;
    QKeySequenceEdit* edtHotkey = nullptr;

    // Tray icon page.
    QCheckBox* chkShowFreeMem = nullptr;
    QCheckBox* chkShowBatteryPercent = nullptr;
    QCheckBox* chkShowHarddiskTemperature = nullptr;
    QCheckBox* chkShowCPUTemperature = nullptr;
    QCheckBox* chkShowCPUUsage = nullptr;
    QCheckBox* chkShowNetTraffic = nullptr;
    QCheckBox* chkShowWeather = nullptr;
    TColorShape* shpTrayFontColor = nullptr;

    // Rainbow bar page.
    QLineEdit* edtRainBowWidth = nullptr;
    QLineEdit* edtRainBowHeight = nullptr;
    QSlider* RainbowSpeed = nullptr;
    QLabel* lbRainbowSpeed = nullptr;
    std::array<QRadioButton*, 5> rbm{};
    QCheckBox* chkm6 = nullptr;
    TColorShape* shpRB1 = nullptr;
    TColorShape* shpRB2 = nullptr;
    std::array<QPushButton*, 9> Button{}; // "1".."8", then "Random"
    QLabel* img = nullptr;
    QTimer tmrPreview;

    // Weather page.
    QComboBox* cbbCityName = nullptr;
    QComboBox* cbbCityCode = nullptr;
    QPushButton* btnFindCity = nullptr;
    QPushButton* btnDeleteCity = nullptr;
    QLabel* lbAccu = nullptr;

    // Alarm page.
    std::array<QCheckBox*, 5> chkAlarm{};
    std::array<QSpinBox*, 5> edtAlarm{};

    void done(int result) override;

private:
    QWidget* CreateSystemPage();
    QWidget* CreateShortcutPage();
    QWidget* CreateTrayPage();
    QWidget* CreateRainbowPage();
    QWidget* CreateWeatherPage();
    QWidget* CreateAlarmPage();
    void SetTexts();
    // The controls that stand for settings, from a configuration and back.
    void ShowConfig(const TConfig& cfg);
    TConfig ReadControls() const;
    void ShowFont(const TFont& font);
    void ShowPreset(const TRainbowPreset& preset);
    void ShowCities();
    void PageChanged(int index);
    TShortcutStates ShortcutBoxes() const;
    QString Text(const char* section, const char* key) const;

    TOptionInput m_input;
    TFastIniFile& m_settings;
    const TLanguage& m_language;
    TFont m_font;
    TCityList m_cities;
    TShortcutStates m_firstShortcuts{};
    TSeededRandom m_random;
    std::array<TRainbowState, 5> m_preview;
    int m_phase = 0;
    TConfig m_result;
    std::optional<int> m_languageChange;
    std::string m_hotkeyShown;
    std::optional<std::string> m_hotkeyChange;
    int m_iconSize = 32;
};

} // namespace tramble
