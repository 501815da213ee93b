#include "launcher/IconThemeNames.h"

#include "store/FastIniFile.h"
#include "text/TextConvert.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace tramble {
namespace {

namespace fs = std::filesystem;

// A theme folder holds size/context/file (or context/size/file); deeper
// trees are not themes, and the walk stops there.
constexpr int kMaxDepth = 3;
// Themes inherit a handful of others; this bounds a damaged chain.
constexpr size_t kMaxThemes = 32;

bool IsIconFile(const fs::path& file)
{
    const std::string extension = file.extension().string();
    return SameTextAscii(extension, ".png") || SameTextAscii(extension, ".svg") || SameTextAscii(extension, ".xpm");
}

bool IsSymbolic(const std::string& stem)
{
    return stem.ends_with("-symbolic") || stem.ends_with(".symbolic");
}

std::vector<std::string> Inherits(const std::vector<std::string>& iconFolders, const std::string& theme)
{
    for (const std::string& folder : iconFolders) {
        const fs::path index = fs::path(folder) / theme / "index.theme";
        std::error_code error;
        if (!fs::is_regular_file(index, error))
            continue;
        TFastIniFile ini(index.string());
        std::vector<std::string> parents;
        const std::string list = ini.ReadText("Icon Theme", "Inherits", "");
        size_t start = 0;
        while (start <= list.size()) {
            const size_t comma = std::min(list.find(',', start), list.size());
            const std::string name(Trim(std::string_view(list).substr(start, comma - start)));
            // A theme is a folder's name; anything else would lead out of the icon folders.
            if (!name.empty() && name.find('/') == std::string::npos && name != "..")
                parents.push_back(name);
            start = comma + 1;
        }
        return parents;
    }
    return {};
}

void CollectNames(const fs::path& themeFolder, std::set<std::string>& names)
{
    std::error_code error;
    fs::recursive_directory_iterator it(themeFolder, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
        if (it.depth() >= kMaxDepth)
            it.disable_recursion_pending();
        if (!IsIconFile(it->path()) || !it->is_regular_file(error))
            continue;
        const std::string stem = it->path().stem().string();
        if (!IsSymbolic(stem))
            names.insert(stem);
    }
}

} // namespace

std::vector<std::string> IconThemeNames(const std::vector<std::string>& iconFolders,
                                        const std::vector<std::string>& themes)
{
    // Breadth first along the inheritance, each theme once, "hicolor" last.
    std::vector<std::string> order;
    std::vector<std::string> pending = themes;
    for (size_t next = 0; next < pending.size() && order.size() < kMaxThemes; ++next) {
        const std::string& theme = pending[next];
        if (theme.empty() || theme == "hicolor" || std::find(order.begin(), order.end(), theme) != order.end())
            continue;
        order.push_back(theme);
        for (std::string& parent : Inherits(iconFolders, theme))
            pending.push_back(std::move(parent));
    }
    order.push_back("hicolor");

    std::set<std::string> names;
    for (const std::string& theme : order) {
        for (const std::string& folder : iconFolders)
            CollectNames(fs::path(folder) / theme, names);
    }
    return {names.begin(), names.end()};
}

} // namespace tramble
