#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// How well a typed text fits a name; higher is better.
enum class TMatchKind : uint8_t { None, InOrder, Substring, WordPrefix };

// The best kind with which the folded query fits the folded text: at the
// start of a word (the text's start, after a blank or punctuation, or any
// place for a query that begins with a non-ASCII character such as Chinese),
// anywhere, or as its characters in order with others between.
TMatchKind MatchText(std::string_view foldedText, std::string_view foldedQuery);

enum class TSearchSource : uint8_t { App, Entry, Bookmark };

// One thing the search can find.
struct TSearchItem {
    TSearchSource Source = TSearchSource::App;
    size_t Index = 0;                // in its own list
    std::string Title;               // what the popup shows
    std::vector<std::string> Folded; // the texts matched against, folded, most telling first
    int32_t Launches = 0;            // starts through the search
};

struct TSearchHit {
    size_t Item = 0; // position in the searched items
    TMatchKind Kind = TMatchKind::None;
};

// The query needs this many characters (not bytes) before anything is searched.
inline constexpr size_t kMinQueryChars = 2;
inline constexpr size_t kMaxHits = 8;

// Characters of UTF-8 text.
size_t CharCount(std::string_view text);

// The query the search runs for a box text: trimmed, and empty when the text
// is a bar command (">") or too short.
std::string SearchQuery(std::string_view boxText);

// The best items for the query (already folded): by kind, then by launches,
// then by the field that fitted (earlier fields first), then by title.
std::vector<TSearchHit> RankItems(const std::vector<TSearchItem>& items, std::string_view foldedQuery,
                                  size_t limit = kMaxHits);

} // namespace tramble
