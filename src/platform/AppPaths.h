#pragma once

#include <string>

namespace tramble::platform {

// Full path of the running executable, links resolved.
std::string ExecutablePath();

// The executable's path without its extension, in the folder that holds the
// settings: the executable's folder, or, when that folder cannot be written
// and holds no settings file yet, $XDG_CONFIG_HOME/tramble (an installed
// program). ".ini", ".in0".."in3" and ".dat" are appended to it.
std::string SettingsBase(const std::string& executablePath);

// The folder SettingsBase chose, without a trailing separator.
std::string FolderOfPath(const std::string& path);

} // namespace tramble::platform
