#include "search/AppIndex.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

namespace tramble {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> SplitColons(std::string_view text)
{
    std::vector<std::string> parts;
    while (!text.empty()) {
        const size_t colon = text.find(':');
        parts.emplace_back(text.substr(0, colon));
        text.remove_prefix(colon == std::string_view::npos ? text.size() : colon + 1);
    }
    return parts;
}

// The desktop-file ID of a file below an "applications" folder.
std::string DesktopId(const fs::path& relative)
{
    std::string id = relative.generic_string();
    std::replace(id.begin(), id.end(), '/', '-');
    return id;
}

bool ReadSmallFile(const fs::path& path, uintmax_t limit, std::string& text)
{
    std::error_code error;
    const uintmax_t size = fs::file_size(path, error);
    if (error || size > limit)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return text.size() <= limit;
}

// One data folder's desktop files, as (ID, path), sorted by path so that the
// first of two files giving the same ID is always the same one.
struct TFound {
    std::vector<std::pair<std::string, fs::path>> Files;
    std::vector<std::string> Folders;
};

TFound ListDesktopFiles(const fs::path& applications, const TIndexLimits& limits, size_t filesLeft)
{
    TFound found;
    std::error_code error;
    if (!fs::is_directory(applications, error))
        return found;
    found.Folders.push_back(applications.string());
    fs::recursive_directory_iterator it(applications, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator end; !error && it != end && found.Files.size() < filesLeft;
         it.increment(error)) {
        const fs::directory_entry& item = *it;
        if (item.is_directory(error)) {
            if (it.depth() >= limits.MaxDepth || item.is_symlink(error))
                it.disable_recursion_pending();
            else if (found.Folders.size() < limits.MaxWatchedFolders)
                found.Folders.push_back(item.path().string());
            continue;
        }
        if (item.path().extension() == ".desktop" && item.is_regular_file(error))
            found.Files.emplace_back(DesktopId(item.path().lexically_relative(applications)), item.path());
    }
    std::sort(found.Files.begin(), found.Files.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    return found;
}

} // namespace

std::vector<std::string> XdgDataFolders(const char* home, const char* dataHome, const char* dataDirs)
{
    std::vector<std::string> folders;
    auto add = [&folders](std::string folder) {
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        if (folder.starts_with('/') && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    };
    // A relative folder is no folder: the default stands in.
    if (dataHome && *dataHome == '/')
        add(dataHome);
    else if (home && *home)
        add(std::string(home) + "/.local/share");
    for (std::string& folder : SplitColons(dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share"))
        add(std::move(folder));
    return folders;
}

TIndexPlaces PlacesFromEnvironment()
{
    auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value ? value : nullptr;
    };
    TIndexPlaces places;
    places.DataFolders = XdgDataFolders(env("HOME"), env("XDG_DATA_HOME"), env("XDG_DATA_DIRS"));
    if (const char* desktops = env("XDG_CURRENT_DESKTOP"))
        places.Filter.Desktops = SplitColons(desktops);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* locale = env(name)) {
            places.Filter.Locale = locale;
            break;
        }
    }
    const char* path = env("PATH");
    places.Filter.PathList = path ? path : "/usr/local/bin:/usr/bin:/bin";
    return places;
}

TAppIndex BuildAppIndex(const TIndexPlaces& places, std::stop_token stop, const TIndexLimits& limits)
{
    TAppIndex index;
    std::set<std::string> claimed;
    size_t filesRead = 0;
    std::string text;
    for (const std::string& folder : places.DataFolders) {
        TFound found = ListDesktopFiles(fs::path(folder) / "applications", limits, limits.MaxFiles - filesRead);
        for (std::string& watched : found.Folders) {
            if (index.Folders.size() < limits.MaxWatchedFolders)
                index.Folders.push_back(std::move(watched));
        }
        for (auto& [id, path] : found.Files) {
            if (stop.stop_requested() || index.Apps.size() >= limits.MaxApps || filesRead >= limits.MaxFiles)
                break;
            if (claimed.contains(id))
                continue;
            ++filesRead;
            if (!ReadSmallFile(path, limits.MaxFileSize, text)) {
                ++index.SkippedFiles;
                continue;
            }
            TAppReading reading = ReadDesktopApp(text, id, path.string(), places.Filter);
            if (reading.Verdict == TAppVerdict::Damaged) {
                ++index.SkippedFiles;
                continue;
            }
            claimed.insert(id);
            if (reading.Verdict == TAppVerdict::Shown)
                index.Apps.push_back(std::move(reading.App));
        }
    }
    std::sort(index.Apps.begin(), index.Apps.end(),
              [](const TDesktopApp& a, const TDesktopApp& b) { return a.Name < b.Name; });
    return index;
}

} // namespace tramble
