#pragma once

#include "search/DesktopApp.h"

#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

namespace tramble {

// Where the index looks and what it shows.
struct TIndexPlaces {
    std::vector<std::string> DataFolders; // most important first
    TAppFilter Filter;
};

struct TIndexLimits {
    size_t MaxApps = 10000;          // shown applications kept
    size_t MaxFiles = 40000;         // desktop files read
    uintmax_t MaxFileSize = 1 << 20; // larger files are skipped unread
    int MaxDepth = 8;                // subfolders below "applications/"
    size_t MaxWatchedFolders = 256;
};

struct TAppIndex {
    std::vector<TDesktopApp> Apps;    // shown applications, sorted by name
    std::vector<std::string> Folders; // every "applications" folder and subfolder read
    size_t SkippedFiles = 0;          // damaged, too large or unreadable
};

// The data folders of the desktop: $XDG_DATA_HOME (else, also when it is
// relative, ~/.local/share), then $XDG_DATA_DIRS (else
// /usr/local/share:/usr/share); relative entries are ignored, each folder
// comes once.
std::vector<std::string> XdgDataFolders(const char* home, const char* dataHome, const char* dataDirs);

// The places from the process environment: XDG folders, XDG_CURRENT_DESKTOP,
// the messages locale and PATH.
TIndexPlaces PlacesFromEnvironment();

// Reads every desktop file below each data folder's "applications/". For an
// ID found more than once the earlier folder's file wins, also when that file
// hides the application. Returns early, with what it has, once stop is asked.
TAppIndex BuildAppIndex(const TIndexPlaces& places, std::stop_token stop = {}, const TIndexLimits& limits = {});

} // namespace tramble
