#include "bookmarks/BrowserProfiles.h"

#include "bookmarks/BrowserImport.h"
#include "bookmarks/ChromiumBookmarks.h"
#include "bookmarks/FirefoxBookmarks.h"
#include "store/FastIniFile.h"
#include "text/TextConvert.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace tramble {
namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool StartsWithAscii(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

// Profile folder names and the names Chromium shows for them, from its
// "Local State" file; empty when that cannot be read.
std::map<std::string, std::string> ChromiumProfileNames(const fs::path& folder)
{
    std::map<std::string, std::string> names;
    std::ifstream in(folder / "Local State", std::ios::binary);
    if (!in)
        return names;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const nlohmann::json state = nlohmann::json::parse(text, nullptr, false);
    const nlohmann::json::json_pointer cache("/profile/info_cache");
    if (state.is_discarded() || !state.contains(cache) || !state[cache].is_object())
        return names;
    for (const auto& [dir, info] : state[cache].items()) {
        if (info.is_object() && info.contains("name") && info["name"].is_string())
            names[dir] = info["name"].get<std::string>();
    }
    return names;
}

void AddChromiumProfiles(TBrowser browser, const fs::path& folder, std::vector<TBrowserProfile>& profiles)
{
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return;
    std::vector<std::string> dirs;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (IsFile(entry.path() / "Bookmarks"))
            dirs.push_back(entry.path().filename().string());
    }
    // "Default" first, then "Profile 1", "Profile 2" … in order.
    std::sort(dirs.begin(), dirs.end(), [](const std::string& a, const std::string& b) {
        if ((a == "Default") != (b == "Default"))
            return a == "Default";
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    const std::map<std::string, std::string> names = ChromiumProfileNames(folder);
    for (const std::string& dir : dirs) {
        const auto name = names.find(dir);
        profiles.push_back({browser, name != names.end() ? name->second : dir, (folder / dir / "Bookmarks").string()});
    }
}

} // namespace

std::vector<TBrowserProfile> ReadFirefoxProfiles(const std::string& profilesIni)
{
    std::vector<TBrowserProfile> profiles;
    if (!IsFile(profilesIni))
        return profiles;
    TFastIniFile ini(profilesIni);
    ini.SetStripComments(false);
    std::vector<std::string> sections;
    try {
        ini.ListSections(sections);
    } catch (const EFileError&) {
        return profiles;
    }
    const fs::path base = fs::path(profilesIni).parent_path();
    for (const std::string& section : sections) {
        if (!StartsWithAscii(section, "Profile"))
            continue;
        const std::string path = ini.ReadText(section, "Path", "");
        if (path.empty())
            continue;
        const bool relative = ini.ReadText(section, "IsRelative", "1") != "0";
        const fs::path folder = relative ? base / path : fs::path(path);
        std::string name = ini.ReadText(section, "Name", "");
        profiles.push_back({TBrowser::Firefox, name.empty() ? path : name, (folder / "places.sqlite").string()});
    }
    return profiles;
}

std::vector<TBrowserProfile> ListBrowserProfiles(const TBrowserFolders& folders)
{
    std::vector<TBrowserProfile> profiles;
    const fs::path home = folders.Home;
    for (const fs::path& root : {home / ".mozilla/firefox", home / "snap/firefox/common/.mozilla/firefox",
                                 home / ".var/app/org.mozilla.firefox/.mozilla/firefox"}) {
        for (TBrowserProfile& profile : ReadFirefoxProfiles((root / "profiles.ini").string())) {
            if (IsFile(profile.Bookmarks))
                profiles.push_back(std::move(profile));
        }
    }
    const fs::path config = folders.ConfigHome.empty() ? home / ".config" : fs::path(folders.ConfigHome);
    AddChromiumProfiles(TBrowser::Chromium, config / "chromium", profiles);
    AddChromiumProfiles(TBrowser::Chrome, config / "google-chrome", profiles);
    return profiles;
}

std::string BrowserName(TBrowser browser)
{
    switch (browser) {
    case TBrowser::Firefox: return "Firefox";
    case TBrowser::Chromium: return "Chromium";
    case TBrowser::Chrome: return "Google Chrome";
    }
    return {};
}

TBookmarkModel ReadProfileBookmarks(const TBrowserProfile& profile)
{
    if (profile.Browser == TBrowser::Firefox) {
        std::error_code error;
        const fs::path temp = fs::temp_directory_path(error);
        return ReadFirefoxBookmarks(profile.Bookmarks, error ? std::string("/tmp") : temp.string());
    }
    return ReadChromiumBookmarks(profile.Bookmarks);
}

} // namespace tramble
