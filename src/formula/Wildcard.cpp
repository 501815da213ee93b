#include "formula/Wildcard.h"

#include "text/Utf8Text.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace tramble {
namespace {

struct TPatternItem {
    enum Kind { Literal, AnyOne, AnyRun, Set } kind = Literal;
    uint32_t code = 0;
    bool negated = false;
    std::vector<std::pair<uint32_t, uint32_t>> ranges;

    bool Matches(uint32_t c) const
    {
        switch (kind) {
        case Literal: return code == c;
        case AnyOne: return true;
        case AnyRun: return false;
        case Set:
            for (const auto& [low, high] : ranges) {
                if (c >= low && c <= high)
                    return !negated;
            }
            return negated;
        }
        return false;
    }
};

std::vector<uint32_t> FoldedCodes(std::string_view text)
{
    std::vector<uint32_t> codes;
    codes.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        size_t length;
        codes.push_back(FoldCase(DecodeUtf8(text, pos, length)));
        pos += length;
    }
    return codes;
}

std::vector<TPatternItem> ParsePattern(std::string_view pattern)
{
    std::vector<uint32_t> codes = FoldedCodes(pattern);
    std::vector<TPatternItem> items;
    for (size_t i = 0; i < codes.size(); ++i) {
        TPatternItem item;
        if (codes[i] == '*') {
            item.kind = TPatternItem::AnyRun;
            if (!items.empty() && items.back().kind == TPatternItem::AnyRun)
                continue;
        } else if (codes[i] == '?') {
            item.kind = TPatternItem::AnyOne;
        } else if (codes[i] == '[') {
            item.kind = TPatternItem::Set;
            size_t j = i + 1;
            if (j < codes.size() && codes[j] == '!') {
                item.negated = true;
                ++j;
            }
            for (; j < codes.size() && codes[j] != ']'; ++j) {
                uint32_t low = codes[j];
                uint32_t high = low;
                if (j + 2 < codes.size() && codes[j + 1] == '-' && codes[j + 2] != ']') {
                    high = codes[j + 2];
                    j += 2;
                }
                item.ranges.emplace_back(low, high);
            }
            if (j >= codes.size())
                throw EBadPattern("unclosed [ in pattern");
            i = j;
        } else {
            item.code = codes[i];
        }
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace

bool MatchWildcard(std::string_view text, std::string_view pattern)
{
    const std::vector<TPatternItem> items = ParsePattern(pattern);
    const std::vector<uint32_t> codes = FoldedCodes(text);
    size_t ti = 0, pi = 0;
    size_t starItem = SIZE_MAX, starText = 0;
    while (ti < codes.size()) {
        if (pi < items.size() && items[pi].kind == TPatternItem::AnyRun) {
            starItem = pi++;
            starText = ti;
        } else if (pi < items.size() && items[pi].Matches(codes[ti])) {
            ++pi;
            ++ti;
        } else if (starItem != SIZE_MAX) {
            // Let the last "*" swallow one more character and retry.
            pi = starItem + 1;
            ti = ++starText;
        } else {
            return false;
        }
    }
    while (pi < items.size() && items[pi].kind == TPatternItem::AnyRun)
        ++pi;
    return pi == items.size();
}

} // namespace tramble
