#pragma once

#include "bookmarks/BookmarkModel.h"
#include "store/FastIniFile.h"
#include "store/Modes.h"

#include <string>
#include <string_view>

namespace tramble {

inline constexpr std::string_view kNetBookmarkSection = "NetBookmark";
inline constexpr std::string_view kHomePageCaption = "Kuv Homepage";
inline constexpr std::string_view kHomePageAddress = "https://tramble.org/";

// The groups and bookmarks stored in section "NetBookmark": "GroupCount",
// then per group "Group" n, "Group" n "ItemCount" and per bookmark
// "Group" n "Item" m and "Group" n "Url" m. A group or bookmark whose caption
// is missing or empty is passed over. Counts larger than the keys present
// cost nothing: only numbers that occur in the section are visited.
TBookmarkModel ReadNetBookmarks(TFastIniFile& ini);

// One group named fallback holding the home-page bookmark.
TBookmarkModel DefaultNetBookmarks(std::string_view fallback);

// The bookmarks at start: the stored ones, or, when "GroupCount" is below 1,
// the default group, saved at once. May raise EFileError from that save.
TBookmarkModel LoadNetBookmarks(TFastIniFile& ini, const TModes& modes, std::string_view fallback);

// Rewrites the section whole, numbering from 1, and flushes the file.
// Nothing is written in read-only mode. May raise EFileError.
void SaveNetBookmarks(TFastIniFile& ini, const TModes& modes, const TBookmarkModel& model);

enum class TValueKind { Caption, Address };

// The text to store so that reading it back gives value unchanged: a value
// the reader would cut at a ";", trim or unquote is enclosed in quotes. The
// rare value that no quoting can carry (a ";" both inside and outside double
// quotes) has its double quotes replaced first: by %22 in an address, which
// names the same resource, and by ' in a caption.
std::string StoredValue(std::string_view value, TValueKind kind);

// What the store's reader gives for a stored value.
std::string ReadBackValue(std::string_view stored);

} // namespace tramble
