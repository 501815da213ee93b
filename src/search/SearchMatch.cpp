#include "search/SearchMatch.h"

#include "text/TextConvert.h"

#include <algorithm>

namespace tramble {
namespace {

bool IsWordByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 0x80;
}

// Byte length of the UTF-8 character that starts with c.
size_t CharLength(unsigned char c)
{
    if (c >= 0xF0)
        return 4;
    if (c >= 0xE0)
        return 3;
    if (c >= 0xC0)
        return 2;
    return 1;
}

bool InOrder(std::string_view text, std::string_view query)
{
    size_t from = 0;
    for (size_t i = 0; i < query.size();) {
        const size_t length = std::min(CharLength(static_cast<unsigned char>(query[i])), query.size() - i);
        const size_t at = text.find(query.substr(i, length), from);
        if (at == std::string_view::npos)
            return false;
        from = at + length;
        i += length;
    }
    return true;
}

struct TRanked {
    TMatchKind Kind;
    size_t Field;
    size_t Item;
};

} // namespace

size_t CharCount(std::string_view text)
{
    size_t count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

std::string SearchQuery(std::string_view boxText)
{
    const std::string_view query = Trim(boxText);
    if (boxText.starts_with('>') || CharCount(query) < kMinQueryChars)
        return {};
    return std::string(query);
}

TMatchKind MatchText(std::string_view text, std::string_view query)
{
    if (query.empty() || text.empty())
        return TMatchKind::None;
    const bool anyStart = static_cast<unsigned char>(query.front()) >= 0x80;
    size_t at = text.find(query);
    if (at != std::string_view::npos) {
        for (; at != std::string_view::npos; at = text.find(query, at + 1)) {
            if (at == 0 || anyStart || !IsWordByte(static_cast<unsigned char>(text[at - 1])))
                return TMatchKind::WordPrefix;
        }
        return TMatchKind::Substring;
    }
    return InOrder(text, query) ? TMatchKind::InOrder : TMatchKind::None;
}

std::vector<TSearchHit> RankItems(const std::vector<TSearchItem>& items, std::string_view query, size_t limit)
{
    std::vector<TRanked> ranked;
    for (size_t i = 0; i < items.size(); ++i) {
        TRanked best{TMatchKind::None, 0, i};
        const std::vector<std::string>& fields = items[i].Folded;
        for (size_t f = 0; f < fields.size() && best.Kind != TMatchKind::WordPrefix; ++f) {
            const TMatchKind kind = MatchText(fields[f], query);
            if (kind > best.Kind)
                best = {kind, f, i};
        }
        if (best.Kind != TMatchKind::None)
            ranked.push_back(best);
    }
    const auto better = [&items](const TRanked& a, const TRanked& b) {
        if (a.Kind != b.Kind)
            return a.Kind > b.Kind;
        if (items[a.Item].Launches != items[b.Item].Launches)
            return items[a.Item].Launches > items[b.Item].Launches;
        if (a.Field != b.Field)
            return a.Field < b.Field;
        if (items[a.Item].Title != items[b.Item].Title)
            return items[a.Item].Title < items[b.Item].Title;
        return a.Item < b.Item;
    };
    const size_t count = std::min(limit, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(count), ranked.end(), better);
    std::vector<TSearchHit> hits;
    for (size_t i = 0; i < count; ++i)
        hits.push_back({ranked[i].Item, ranked[i].Kind});
    return hits;
}

} // namespace tramble
