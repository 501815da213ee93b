#include "platform/AppPaths.h"

#include "store/AtomicFile.h"

#include <climits>
#include <cstdlib>
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
    if (Exists(besideExe + ".ini") || IsWritablePath(besideExe + ".ini"))
        return besideExe;
    const std::string configFolder = ConfigHome() + "/tramble";
    ::mkdir(ConfigHome().c_str(), 0700);
    ::mkdir(configFolder.c_str(), 0700);
    return configFolder + "/" + name;
}

} // namespace tramble::platform
