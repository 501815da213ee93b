#include "options/ui/OptionsController.h"

#include "about/ui/frmAbout.h"
#include "options/ui/frmOption.h"
#include "store/SettingsKeys.h"
#include "timesync/ui/ClockSyncController.h"
#include "tray/ui/TrayController.h"
#include "ui/BarLink.h"
#include "ui/Prompts.h"
#include "weather/ui/WeatherController.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include <chrono>

namespace tramble {
namespace {

constexpr std::chrono::milliseconds kSyncAfterOptions{5000};

void Write(TFastIniFile& ini, const TConfig& cfg, std::initializer_list<const TSettingKey*> keys)
{
    for (const TSettingKey* key : keys)
        WriteConfigValue(ini, *key, cfg);
}

} // namespace

TOptionsController::TOptionsController(TBarLink& bar, TOptionsParts parts)
    : QObject(bar.BarWindow()), m_bar(bar), m_parts(std::move(parts))
{
    if (m_parts.OptionItem)
        connect(m_parts.OptionItem, &QAction::triggered, this, [this] { Open(); });
    if (m_parts.AboutItem)
        connect(m_parts.AboutItem, &QAction::triggered, this, &TOptionsController::OpenAbout);
    if (m_parts.Tray)
        m_parts.Tray->SetOptionsAction([this](int page) { Open(page); });
}

TOptionsController::~TOptionsController() = default;

int TOptionsController::RememberedPage() const
{
    if (m_parts.OptionItem && m_parts.OptionItem->data().isValid())
        return m_parts.OptionItem->data().toInt();
    return m_page;
}

void TOptionsController::SetRememberedPage(int page)
{
    m_page = page;
    if (m_parts.OptionItem)
        m_parts.OptionItem->setData(page);
}

void TOptionsController::Open(int page)
{
    if (m_bar.Modes().ReadOnlyMode)
        return;
    if (page >= 0)
        SetRememberedPage(page);
    TBarHold hold(m_bar);

    TOptionInput input;
    input.Config = m_bar.Config();
    input.IconSize = ReadSettingNumber(m_bar.Settings(), keys::IconSize);
    if (m_parts.Clock) {
        input.LastSyncText = m_parts.Clock->LastSyncText();
        input.LastExchange = m_parts.Clock->LastExchange();
    } else {
        input.LastSyncText = ReadSetting(m_bar.Settings(), keys::SyncTimeTime);
    }
    input.Hotkey = ReadSetting(m_bar.Settings(), keys::Hotkey);
    if (m_parts.LanguageMenu) {
        for (const QAction* item : m_parts.LanguageMenu->actions()) {
            if (!item->isSeparator())
                input.LanguageNames << item->text();
        }
    }
    input.Language = m_bar.Language().Name();
    input.PortableMode = m_bar.Modes().PortableMode;
    input.ReadOnlyMode = m_bar.Modes().ReadOnlyMode;
    input.ChineseSystem = m_bar.Modes().ChineseSystem;
    input.Folders = m_parts.Folders ? *m_parts.Folders : TShortcutFolders::OfUser();
    input.Program = !m_parts.Program.empty() ? m_parts.Program : QCoreApplication::applicationFilePath().toStdString();
    input.Page = RememberedPage();
    if (m_parts.Weather) {
        input.FindCity = [weather = m_parts.Weather](QWidget* owner) { return weather->FindCity(owner); };
    }

    TfrmOption dialog(std::move(input), m_bar.Settings(), m_bar.Language(), m_bar.BarWindow());
    const int result = RunPrompt(dialog);
    SetRememberedPage(dialog.Page());
    if (result != QDialog::Accepted)
        return;
    if (const std::optional<int> language = dialog.LanguageChange(); language && m_parts.LanguageMenu) {
        const QList<QAction*> items = m_parts.LanguageMenu->actions();
        if (*language < items.size())
            items[*language]->trigger();
    }
    ApplyToBar(dialog);
}

void TOptionsController::ApplyToBar(const TfrmOption& dialog)
{
    TConfig& cfg = m_bar.Config();
    const std::string language = cfg.Language;
    cfg = dialog.Result();
    cfg.Language = language; // the language menu keeps it
    TFastIniFile& ini = m_bar.Settings();
    try {
        if (m_parts.Tray)
            m_parts.Tray->ApplyShowSettings();
        Write(ini, cfg,
              {&keys::TrayColor, &keys::Font, &keys::RainBowSpeed, &keys::RainBowWidth, &keys::RainBowHeight});
        Write(ini, cfg,
              {&keys::RainbowStyle, &keys::UserColor, &keys::RBCC1, &keys::RBCC2, &keys::HideSpeed, &keys::ResSpeed,
               &keys::AutoSortByCount, &keys::TitleBar});
        if (m_parts.ApplyBarLook)
            m_parts.ApplyBarLook();

        Write(ini, cfg, {&keys::SyncTime});
        if (m_parts.Clock) {
            m_parts.Clock->SetServer(cfg.NTPServer);
            if (cfg.SyncTime)
                m_parts.Clock->ScheduleSync(kSyncAfterOptions);
            else
                m_parts.Clock->StopSync();
        }
        Write(ini, cfg, {&keys::NTPServer});
        if (m_parts.Clock)
            WriteSetting(ini, keys::SyncTimeTime, m_parts.Clock->LastSyncText());

        Write(ini, cfg,
              {&keys::ShowFreeMem, &keys::ShowBattery, &keys::ShowCPUusage, &keys::ShowDiskTemp, &keys::ShowNetMon,
               &keys::ShowCPUTemp, &keys::ShowWeather});
        if (m_parts.Weather)
            m_parts.Weather->ApplyOptions();
        Write(ini, cfg, {&keys::CityName, &keys::CityCode, &keys::Metric});
        Write(ini, cfg,
              {&keys::AlarmUploadSpeed, &keys::AlarmDownloadSpeed, &keys::AlarmUploadFlow, &keys::AlarmDownloadFlow,
               &keys::AlarmOnlineTime, &keys::UploadSpeed, &keys::DownloadSpeed, &keys::UploadFlow, &keys::DownloadFlow,
               &keys::OnlineTime});
        if (const std::optional<std::string> hotkey = dialog.HotkeyChange()) {
            WriteSetting(ini, keys::Hotkey, *hotkey);
            if (m_parts.ApplyHotkey)
                m_parts.ApplyHotkey();
        }
        ini.Flush();
    } catch (const EFileError&) {
        // The settings hold for this run; the next save writes them.
    }
}

void TOptionsController::OpenAbout()
{
    TBarHold hold(m_bar);
    TAboutFigures figures;
    figures.AppCount = m_parts.ApplicationCount ? m_parts.ApplicationCount() : 0;
    figures.RunCount = static_cast<uint32_t>(ReadSettingNumber(m_bar.Settings(), keys::Run));
    figures.TotalSeconds =
        m_parts.TotalSeconds ? m_parts.TotalSeconds() : ReadSettingNumber(m_bar.Settings(), keys::Elapse);
    figures.ThisRunSeconds = m_bar.SecondsCounter();
    figures.ReadOnlyMode = m_bar.Modes().ReadOnlyMode;
    figures.PortableMode = m_bar.Modes().PortableMode;
    TfrmAbout window(figures, m_bar.Language(), m_bar.BarWindow()->font());
    RunPrompt(window);
}

} // namespace tramble
