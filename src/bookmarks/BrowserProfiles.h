#pragma once

#include "bookmarks/BookmarkModel.h"

#include <string>
#include <vector>

namespace tramble {

enum class TBrowser { Firefox, Chromium, Chrome };

// One browser profile whose bookmarks can be imported: Firefox's
// places.sqlite or Chromium's and Chrome's "Bookmarks" file.
struct TBrowserProfile {
    TBrowser Browser = TBrowser::Firefox;
    std::string Name;      // the profile's name as the browser shows it
    std::string Bookmarks; // the file to read
    bool operator==(const TBrowserProfile&) const = default;
};

// The user's folders the browsers keep their profiles in.
struct TBrowserFolders {
    std::string Home;       // $HOME
    std::string ConfigHome; // $XDG_CONFIG_HOME, or $HOME/.config
};

// The profiles found, Firefox first (from each profiles.ini: the plain,
// the snap and the flatpak install), then Chromium and Chrome. Only profiles
// whose bookmark file exists are listed.
std::vector<TBrowserProfile> ListBrowserProfiles(const TBrowserFolders& folders);

// The Firefox profiles listed in one profiles.ini, whether or not their
// places.sqlite exists.
std::vector<TBrowserProfile> ReadFirefoxProfiles(const std::string& profilesIni);

// The browser's name as shown to the user.
std::string BrowserName(TBrowser browser);

// The bookmarks of a profile. Raises EImportError when the file is missing
// or damaged; then nothing is imported.
TBookmarkModel ReadProfileBookmarks(const TBrowserProfile& profile);

} // namespace tramble
