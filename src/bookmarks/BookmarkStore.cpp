#include "bookmarks/BookmarkStore.h"

#include "text/TextConvert.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>
#include <vector>

namespace tramble {
namespace {

std::string GroupKey(int n)
{
    return "Group" + std::to_string(n);
}

// A decimal number without sign, as the key names carry them; 0 when the
// text is not one.
int KeyNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        return 0;
    return value;
}

bool StartsWithAscii(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

// The group numbers that have a caption key and, per group, the bookmark
// numbers that have an Item key: only these can yield an entry.
using TKeyNumbers = std::map<int, std::set<int>>;

TKeyNumbers ScanKeyNumbers(TFastIniFile& ini)
{
    std::vector<std::string> keys;
    ini.ListKeys(kNetBookmarkSection, keys);
    TKeyNumbers numbers;
    std::vector<std::pair<int, int>> items;
    for (const std::string& key : keys) {
        if (!StartsWithAscii(key, "Group"))
            continue;
        const std::string_view rest = std::string_view(key).substr(5);
        const size_t digits = std::min(rest.find_first_not_of("0123456789"), rest.size());
        const int group = KeyNumber(rest.substr(0, digits));
        const std::string_view tail = rest.substr(digits);
        if (group < 1)
            continue;
        if (tail.empty())
            numbers[group];
        else if (StartsWithAscii(tail, "Item") && !SameTextAscii(tail, "ItemCount"))
            items.emplace_back(group, KeyNumber(tail.substr(4)));
    }
    for (const auto& [group, item] : items) {
        if (item >= 1 && numbers.contains(group))
            numbers[group].insert(item);
    }
    return numbers;
}

std::string ReplaceAll(std::string_view text, char from, std::string_view to)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c == from)
            result += to;
        else
            result += c;
    }
    return result;
}

} // namespace

TBookmarkModel ReadNetBookmarks(TFastIniFile& ini)
{
    TBookmarkModel model;
    const int count = ini.ReadNumber(kNetBookmarkSection, "GroupCount", 0);
    if (count < 1)
        return model;
    for (const auto& [n, itemNumbers] : ScanKeyNumbers(ini)) {
        if (n > count)
            break;
        const std::string group = GroupKey(n);
        std::string caption = ini.ReadText(kNetBookmarkSection, group, "");
        if (caption.empty())
            continue;
        TBookmarkGroup entry{std::move(caption), {}};
        const int itemCount = ini.ReadNumber(kNetBookmarkSection, group + "ItemCount", 0);
        for (int m : itemNumbers) {
            if (m > itemCount)
                break;
            const std::string number = std::to_string(m);
            std::string itemCaption = ini.ReadText(kNetBookmarkSection, group + "Item" + number, "");
            if (itemCaption.empty())
                continue;
            entry.Items.push_back(
                {std::move(itemCaption), ini.ReadText(kNetBookmarkSection, group + "Url" + number, "")});
        }
        model.AppendGroup(std::move(entry));
    }
    return model;
}

TBookmarkModel DefaultNetBookmarks(std::string_view fallback)
{
    TBookmarkModel model;
    model.AppendGroup({std::string(fallback), {{std::string(kHomePageCaption), std::string(kHomePageAddress)}}});
    return model;
}

TBookmarkModel LoadNetBookmarks(TFastIniFile& ini, const TModes& modes, std::string_view fallback)
{
    if (ini.ReadNumber(kNetBookmarkSection, "GroupCount", 0) >= 1)
        return ReadNetBookmarks(ini);
    TBookmarkModel model = DefaultNetBookmarks(fallback);
    SaveNetBookmarks(ini, modes, model);
    return model;
}

void SaveNetBookmarks(TFastIniFile& ini, const TModes& modes, const TBookmarkModel& model)
{
    if (modes.ReadOnlyMode)
        return;
    ini.RemoveSection(kNetBookmarkSection);
    ini.WriteNumber(kNetBookmarkSection, "GroupCount", static_cast<int32_t>(model.GroupCount()));
    int n = 0;
    for (const TBookmarkGroup& group : model.Groups()) {
        const std::string key = GroupKey(++n);
        ini.WriteText(kNetBookmarkSection, key, StoredValue(group.Caption, TValueKind::Caption));
        ini.WriteNumber(kNetBookmarkSection, key + "ItemCount", static_cast<int32_t>(group.Items.size()));
        int m = 0;
        for (const TBookmark& item : group.Items) {
            const std::string number = std::to_string(++m);
            ini.WriteText(kNetBookmarkSection, key + "Item" + number, StoredValue(item.Caption, TValueKind::Caption));
            ini.WriteText(kNetBookmarkSection, key + "Url" + number, StoredValue(item.Address, TValueKind::Address));
        }
    }
    ini.Flush();
}

std::string ReadBackValue(std::string_view stored)
{
    std::string_view value = Trim(stored);
    if (const size_t p = TFastIniFile::FindInlineComment(value))
        value = Trim(value.substr(0, p - 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string StoredValue(std::string_view value, TValueKind kind)
{
    if (ReadBackValue(value) == value)
        return std::string(value);
    for (char quote : {'"', '\''}) {
        std::string quoted = quote + std::string(value) + quote;
        if (ReadBackValue(quoted) == value)
            return quoted;
    }
    // No double quote is left to open or close a quoted part, so every ";"
    // stands inside the enclosing pair.
    return '"' + ReplaceAll(value, '"', kind == TValueKind::Address ? "%22" : "'") + '"';
}

} // namespace tramble
