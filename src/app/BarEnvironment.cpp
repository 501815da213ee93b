#include "app/BarEnvironment.h"

#include "i18n/Language.h"
#include "platform/AppPaths.h"
#include "platform/RemovableMedia.h"
#include "platform/SpecialFolders.h"

#include <QGuiApplication>

#include <algorithm>
#include <filesystem>

namespace tramble {

TBarEnvironment DetectBarEnvironment(const std::string& executablePath)
{
    TBarEnvironment env;
    env.SettingsBase = platform::SettingsBase(executablePath);
    env.AppDir = platform::FolderOfPath(env.SettingsBase);
    env.WinDir = platform::SpecialFolderPath(platform::TSpecialFolder::Windows);
    env.SysDir = platform::SpecialFolderPath(platform::TSpecialFolder::System);
    env.PortableMode = platform::IsOnRemovableMedia(executablePath);
    env.SystemLanguage = DefaultLanguageName();
    env.ChineseSystem = env.SystemLanguage == kLangSimplifiedChinese;
    env.LanguageFolders.push_back(env.AppDir);
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (!error && current.string() != env.AppDir)
        env.LanguageFolders.push_back(current.string());
    const std::string installed = platform::InstalledDataFolder(executablePath);
    if (!installed.empty() && std::ranges::find(env.LanguageFolders, installed) == env.LanguageFolders.end())
        env.LanguageFolders.push_back(installed);
    env.CompositorPlaces = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    return env;
}

} // namespace tramble
