#include "platform/SpecialFolders.h"

#include "text/TextConvert.h"

#include <cstdlib>
#include <fstream>

namespace tramble::platform {
namespace {

std::string Home()
{
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/tmp";
}

// An XDG base folder: the variable when it holds an absolute path, else the
// default below the home folder.
std::string XdgFolder(const char* variable, const char* fallback)
{
    if (const char* value = std::getenv(variable); value && *value == '/')
        return value;
    return Home() + fallback;
}

// XDG_DESKTOP_DIR of user-dirs.dirs: "$HOME/…" or an absolute path.
std::string DesktopFolder()
{
    std::ifstream in(XdgFolder("XDG_CONFIG_HOME", "/.config") + "/user-dirs.dirs");
    std::string line;
    while (std::getline(in, line)) {
        const std::string_view text = Trim(line);
        if (!text.starts_with("XDG_DESKTOP_DIR="))
            continue;
        std::string_view value = text.substr(16);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.starts_with("$HOME"))
            return Home() + std::string(value.substr(5));
        if (value.starts_with("/"))
            return std::string(value);
    }
    return Home() + "/Desktop";
}

} // namespace

std::string SpecialFolderPath(TSpecialFolder folder)
{
    switch (folder) {
    case TSpecialFolder::AppData: return XdgFolder("XDG_CONFIG_HOME", "/.config");
    case TSpecialFolder::Desktop: return DesktopFolder();
    case TSpecialFolder::Programs: return XdgFolder("XDG_DATA_HOME", "/.local/share") + "/applications";
    case TSpecialFolder::Startup: return XdgFolder("XDG_CONFIG_HOME", "/.config") + "/autostart";
    case TSpecialFolder::Windows: return "/usr";
    case TSpecialFolder::System: return "/usr/bin";
    }
    return {};
}

} // namespace tramble::platform
