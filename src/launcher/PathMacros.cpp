#include "launcher/PathMacros.h"

#include "text/TextConvert.h"

#include <array>
#include <string_view>
#include <utility>

namespace tramble {
namespace {

constexpr size_t kMacroLength = 6; // "$(Kuv)"

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

} // namespace

std::string ExpandMacros(const std::string& path, const TMacroFolders& folders)
{
    if (path.size() <= kMacroLength || !IsSeparator(path[kMacroLength]))
        return path;
    const std::string_view macro = std::string_view(path).substr(0, kMacroLength);
    const std::array<std::pair<std::string_view, const std::string*>, 3> macros{{
        {"$(Kuv)", &folders.AppDir},
        {"$(Win)", &folders.WinDir},
        {"$(Sys)", &folders.SysDir},
    }};
    for (const auto& [name, folder] : macros) {
        if (SameTextAscii(macro, name))
            return *folder + "/" + path.substr(kMacroLength + 1);
    }
    return path;
}

std::string CompressMacros(const std::string& path, const TMacroFolders& folders)
{
    // The system folder lies inside the other one, so it is tried before it.
    const std::array<std::pair<std::string_view, const std::string*>, 3> macros{{
        {"$(Kuv)", &folders.AppDir},
        {"$(Sys)", &folders.SysDir},
        {"$(Win)", &folders.WinDir},
    }};
    for (const auto& [name, folder] : macros) {
        // Paths compare as the file system does: with regard to case.
        if (!folder->empty() && folder->size() < path.size() && path.starts_with(*folder) &&
            path[folder->size()] == '/')
            return std::string(name) + path.substr(folder->size());
    }
    return path;
}

} // namespace tramble
