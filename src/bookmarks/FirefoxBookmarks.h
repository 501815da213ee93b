#pragma once

#include "bookmarks/BookmarkModel.h"

#include <string>

namespace tramble {

// Firefox's bookmarks from its places.sqlite. The browser keeps the database
// locked while it runs, so a copy (with its write-ahead log) is read, in a
// temporary folder under tempFolder. Folders become groups named by their
// path below the browser's top folders ("Parent / Child"); bookmarks kept in
// a top folder go to a group named after it. Tags and queries are passed
// over. Raises EImportError when the file is missing or not a bookmark
// database.
TBookmarkModel ReadFirefoxBookmarks(const std::string& placesFile, const std::string& tempFolder);

} // namespace tramble
