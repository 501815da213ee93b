#pragma once

#include <string>

namespace tramble {

// The folders the path macros "$(Kuv)", "$(Win)" and "$(Sys)" stand for, each
// without a trailing separator. The system folder lies inside the other.
struct TMacroFolders {
    std::string AppDir;
    std::string WinDir;
    std::string SysDir;
};

// Replaces a leading macro, matched without regard to case and followed by
// "\" or "/", by its folder. Anything else, a macro in the middle included,
// is returned unchanged.
std::string ExpandMacros(const std::string& path, const TMacroFolders& folders);

// Replaces the first of AppDir, SysDir, WinDir that the path lies inside by
// its macro, so that an entry stays valid when the whole tool moves. A path
// equal to a folder is returned unchanged.
std::string CompressMacros(const std::string& path, const TMacroFolders& folders);

} // namespace tramble
