#pragma once

#include "bookmarks/BookmarkModel.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tramble {

// Raised when a browser's bookmark file is missing, damaged or not what it
// should be; the text says which file and why.
class EImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Only web, FTP and local file addresses are taken over from a browser.
bool IsImportableAddress(std::string_view address);

// A browser's title as a caption: line breaks and other control characters
// become blanks, and the ends are trimmed.
std::string CleanTitle(std::string_view title);

// Joins folder names into one group name: "Parent / Child".
std::string JoinFolderPath(std::string_view parent, std::string_view child);

// Folders nested deeper than this below a top folder give their bookmarks
// to the group of their ancestor at this depth, so that a damaged file
// cannot make names of unbounded length.
inline constexpr int kMaxFolderDepth = 16;

// Gathers a browser's bookmarks into groups by name (ASCII case ignored).
// Addresses that are not importable and addresses the group already holds
// are passed over; an empty title becomes the address.
class TImportCollector {
public:
    void Add(std::string_view group, std::string_view title, std::string_view address);
    size_t Count() const { return m_count; }
    TBookmarkModel Take();

private:
    std::unordered_map<std::string, size_t> m_groupIndex;
    std::vector<TBookmarkGroup> m_groups;
    std::vector<std::unordered_set<std::string>> m_addresses;
    size_t m_count = 0;
};

// Adds imported groups to the model: a group whose name the model already has
// (ASCII case ignored) gets the bookmarks whose address it lacks, any other is
// appended. Returns how many bookmarks were added.
size_t MergeImport(TBookmarkModel& model, const TBookmarkModel& imported);

} // namespace tramble
