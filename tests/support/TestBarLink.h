#pragma once

// A stand-in for the bar that controller tests hand their controller: a
// settings file in a temporary folder, a plain window, the step orders, and
// counters of what the controller asked of the bar.
#include "support/TempDir.h"
#include "ui/BarLink.h"

#include <QWidget>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tramble::test {

class TestBarLink : public TBarLink {
public:
    explicit TestBarLink(const std::string& settings = {})
    {
        WriteFileBytes(Ini(), settings);
        m_settings = std::make_unique<TFastIniFile>(Ini());
    }

    std::string Ini() const { return m_dir.file("t.ini"); }
    std::string Stored() const { return ReadFileBytes(Ini()); }
    const TempDir& Dir() const { return m_dir; }

    QWidget* BarWindow() override { return &m_window; }
    TFastIniFile& Settings() override { return *m_settings; }
    const TModes& Modes() const override { return m_modes; }
    TConfig& Config() override { return m_config; }
    const TLanguage& Language() const override { return m_language; }
    const TBarEnvironment& Environment() const override { return m_env; }
    TStartupLoad& StartupLoad() override { return m_load; }
    TShutdownOrder& ShutdownOrder() override { return m_shutdown; }
    void HoldBar() override { ++Holds; }
    void ReleaseBar() override { --Holds; }
    bool ModalGuard() const override { return Guard || Holds > 0; }
    int32_t SecondsCounter() const override { return Seconds; }
    void RestoreBar() override { ++Restores; }
    void NotePopupPoint(const QPoint&) override {}
    void OnLanguageApplied(std::function<void()> refresh) override { m_refreshes.push_back(std::move(refresh)); }

    // The start-up load, as the bar runs it on its first showing.
    void Load() { RunStartupLoad(m_load, m_modes); }
    // The shut-down order, then the file as it was written.
    std::string ShutDown()
    {
        m_shutdown.RunAll();
        if (!m_modes.ReadOnlyMode)
            m_settings->Flush();
        return Stored();
    }
    void ChooseLanguage(std::string_view name)
    {
        m_language.LoadLanguage(name, {});
        for (const auto& refresh : m_refreshes)
            refresh();
    }

    TModes m_modes;
    int Holds = 0;
    bool Guard = false; // a guard of the bar's own, besides the holds
    int32_t Seconds = 0;
    int Restores = 0;

private:
    TempDir m_dir;
    std::unique_ptr<TFastIniFile> m_settings;
    QWidget m_window;
    TConfig m_config;
    TLanguage m_language;
    TBarEnvironment m_env;
    TStartupLoad m_load;
    TShutdownOrder m_shutdown;
    std::vector<std::function<void()>> m_refreshes;
};

} // namespace tramble::test
