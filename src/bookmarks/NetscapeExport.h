#pragma once

#include "bookmarks/BookmarkModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// Text with &, <, >, " and ' written as character references.
std::string EscapeHtml(std::string_view text);

// The bookmarks as a Netscape bookmark file, the HTML form every browser
// imports: one folder per group, one link per bookmark.
std::string NetscapeBookmarkHtml(const TBookmarkModel& model);

// Writes that file, replacing the old one only once the new one is whole.
// The system's reason when it cannot be written.
std::optional<std::string> ExportNetscapeBookmarks(const std::string& path, const TBookmarkModel& model);

} // namespace tramble
