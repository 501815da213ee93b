#pragma once

#include "bookmarks/BookmarkModel.h"

#include <string>
#include <string_view>

namespace tramble {

// Chromium's and Chrome's bookmarks from the text of their "Bookmarks" JSON
// file. Folders become groups as for Firefox: the roots ("Bookmarks bar",
// "Other bookmarks", "Mobile bookmarks") by their own names, folders below
// them by their path ("Parent / Child"). Raises EImportError on text that is
// not such a file.
TBookmarkModel ParseChromiumBookmarks(std::string_view json);

// The same from the file. Raises EImportError when it is missing, too large
// or damaged.
TBookmarkModel ReadChromiumBookmarks(const std::string& bookmarksFile);

} // namespace tramble
