#pragma once

#include <string>

namespace tramble::platform {

// Full path of the running executable, links resolved.
std::string ExecutablePath();

// The executable's path without its extension, in the folder that holds the
// settings: the executable's folder, or, when that folder holds no settings
// file yet and cannot be written or belongs to an installed program,
// $XDG_CONFIG_HOME/tramble. ".ini", ".in0".."in3" and ".dat" are appended to it.
std::string SettingsBase(const std::string& executablePath);

// The data folder of an installed program, found from its executable's
// folder ("/usr/bin" gives "/usr/share/tramble"); empty when there is none.
std::string InstalledDataFolder(const std::string& executablePath);

// The folder SettingsBase chose, without a trailing separator.
std::string FolderOfPath(const std::string& path);

} // namespace tramble::platform
