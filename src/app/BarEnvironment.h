#pragma once

#include <string>
#include <vector>

namespace tramble {

// What the bar learns about its surroundings before it is created.
struct TBarEnvironment {
    std::string SettingsBase; // settings path without extension: ".ini", ".in0", ".dat" follow
    std::string AppDir;       // the settings folder, without trailing separator
    std::string WinDir;       // the folders of the path macros "$(Win)" and "$(Sys)"
    std::string SysDir;
    bool PortableMode = false;
    bool ChineseSystem = false;
    std::string SystemLanguage;               // language used when none is stored
    std::vector<std::string> LanguageFolders; // where "*.lng" files are looked for, in order
    // The compositor places windows (Wayland): the bar cannot place itself,
    // stay on top or follow the pointer, so strip and auto-hide are off.
    bool CompositorPlaces = false;
};

// The environment of the running program: settings beside the executable or
// in the user's configuration folder, removable media, the system locale,
// the installed data folder and the display platform.
TBarEnvironment DetectBarEnvironment(const std::string& executablePath);

} // namespace tramble
