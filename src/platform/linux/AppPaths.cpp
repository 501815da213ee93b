#include "platform/AppPaths.h"

#include "store/AtomicFile.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace tramble::platform {
namespace {

std::string BaseName(const std::string& path)
{
    size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::string ConfigHome()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.config";
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

std::string ExecutablePath()
{
    char path[PATH_MAX];
    if (::realpath("/proc/self/exe", path))
        return path;
    return "tramble";
}

std::string FolderOfPath(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SettingsBase(const std::string& executablePath)
{
    const std::string folder = FolderOfPath(executablePath);
    const std::string name = BaseName(executablePath);
    const std::string besideExe = folder + "/" + name;
    if (Exists(besideExe + ".ini"))
        return besideExe;
    // Root may write /usr/bin, but an installed program never keeps its settings there.
    if (InstalledDataFolder(executablePath).empty() && IsWritablePath(besideExe + ".ini"))
        return besideExe;
    const std::string configFolder = ConfigHome() + "/tramble";
    ::mkdir(ConfigHome().c_str(), 0700);
    ::mkdir(configFolder.c_str(), 0700);
    return configFolder + "/" + name;
}

std::string InstalledDataFolder(const std::string& executablePath)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(fs::path(executablePath).parent_path() / TRAMBLE_DATA_FROM_BIN, error);
    if (error || !fs::is_directory(folder, error))
        return {};
    return folder.string();
}

} // namespace tramble::platform
