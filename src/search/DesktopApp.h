#pragma once

#include "shell/DesktopEntry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// One installed application as the search shows and starts it.
struct TDesktopApp {
    std::string Id;   // desktop-file ID: the path below "applications/", "/" turned into "-"
    std::string Path; // the file it was read from
    std::string Name; // in the user's language when the file has it
    std::string EnglishName;
    std::string GenericName;
    std::string EnglishGenericName;
    std::vector<std::string> Keywords; // the user's language and English
    std::string Exec;
    std::string Icon;
    std::string WorkFolder; // the "Path" key
    bool Terminal = false;
};

// What decides whether an entry is shown.
struct TAppFilter {
    std::vector<std::string> Desktops; // XDG_CURRENT_DESKTOP split at ":"
    std::string Locale;                // "zh_CN.UTF-8", "de_DE@euro", "C" …
    std::string PathList;              // where TryExec programs given by name are looked for
};

enum class TAppVerdict {
    Shown,
    Hidden,  // Hidden, NoDisplay, desktop-restricted or a missing TryExec program: it still claims its ID
    Damaged, // not an application entry we can start: as if the file were not there
};

struct TAppReading {
    TAppVerdict Verdict = TAppVerdict::Damaged;
    TDesktopApp App;
};

// Reads the text of one desktop file found under the ID.
TAppReading ReadDesktopApp(std::string_view text, std::string id, std::string path, const TAppFilter& filter);

// The values of a list key ("a;b\;c;") with "\;" kept as ";".
std::vector<std::string> SplitDesktopList(std::string_view value);

// The locale suffixes a key is looked up with, best first: "zh_CN.UTF-8@x"
// gives zh_CN@x, zh_CN, zh@x, zh. "C" and "POSIX" give none.
std::vector<std::string> LocaleSuffixes(std::string_view locale);

// The value of key in the best of the locale's languages, else the plain key.
std::optional<std::string> LocalizedValue(const TDesktopEntry& entry, std::string_view key,
                                          const std::vector<std::string>& suffixes);

} // namespace tramble
