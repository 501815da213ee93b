#pragma once

#include <string>

namespace tramble::platform {

enum class TSpecialFolder {
    AppData,  // the user's configuration folder
    Desktop,  // the XDG desktop folder
    Programs, // where the user's application entries live
    Startup,  // the XDG autostart folder
    Windows,  // "/usr"
    System,   // "/usr/bin"
};

// The file-system path of a folder of the current user, without a trailing
// separator, from the XDG variables and user-dirs.dirs with their defaults.
std::string SpecialFolderPath(TSpecialFolder folder);

} // namespace tramble::platform
