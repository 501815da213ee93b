#pragma once

#include "store/FastIniFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tramble {

// Window state of an entry's start.
enum TWindowState : uint8_t { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

// One application entry of the bar: a program, document, folder or shortcut
// target. Paths may begin with a path macro.
struct TAppEntry {
    std::string App;
    std::string RunFolder;
    std::string IconFile;
    int32_t IconIndex = 0;
    std::string Descript;
    std::string Arguments;
    bool PromptArgument = false;
    uint8_t WS = wsNormal;
    int32_t RunCount = 0;
    int32_t RunTimer = 0; // kept as read; nothing changes it
    bool Autorun = false;

    bool operator==(const TAppEntry&) const = default;
};

inline constexpr int kMaxEntries = 500;
inline constexpr std::string_view kEntrySection = "Button";
inline constexpr std::string_view kEntryCountKey = "Num";
inline constexpr std::string_view kIconSizeKey = "Width";

// Key of entry number n (1-based): the name followed by n ("App1").
std::string EntryKey(std::string_view name, int n);

// The folder part of a path with its trailing separator, and the file name.
std::string FolderPart(const std::string& path);
std::string FileNamePart(const std::string& path);

// Entry number n of section "Button", with the defaults for missing keys.
TAppEntry ReadEntry(TFastIniFile& ini, int n);
// All eleven keys of entry number n.
void WriteEntry(TFastIniFile& ini, int n, const TAppEntry& entry);
// The keys an edit changes; the run counter and timer are left alone.
void WriteEditedEntry(TFastIniFile& ini, int n, const TAppEntry& entry);
void WriteRunCount(TFastIniFile& ini, int n, int32_t runCount);
// Removes every key of entry number n.
void RemoveEntry(TFastIniFile& ini, int n);

} // namespace tramble
