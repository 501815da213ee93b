#include "launcher/EntryTable.h"

#include "text/TextConvert.h"

#include <algorithm>
#include <numeric>

namespace tramble {

std::vector<TStoredEntry> ReadStoredEntries(TFastIniFile& ini)
{
    // No entry lies beyond the highest "App" key, so a huge "Num" ends early.
    std::vector<std::string> keys;
    ini.ListKeys(kEntrySection, keys);
    int highest = 0;
    for (const std::string& key : keys) {
        if (key.size() > 3 && SameTextAscii(key.substr(0, 3), "App"))
            highest = std::max(highest, StrToIntDef(key.substr(3), 0));
    }
    const int count = std::min(ini.ReadNumber(kEntrySection, kEntryCountKey, 0), highest);
    std::vector<TStoredEntry> stored;
    for (int n = 1; n <= count && static_cast<int>(stored.size()) < kMaxEntries; ++n) {
        TAppEntry entry = ReadEntry(ini, n);
        if (!entry.App.empty())
            stored.push_back({n, std::move(entry)});
    }
    return stored;
}

bool TEntryTable::Append(TAppEntry entry, std::string png)
{
    if (Full())
        return false;
    m_entries.push_back(std::move(entry));
    m_images.push_back(std::move(png));
    m_ids.push_back(m_nextId++);
    return true;
}

void TEntryTable::Remove(int i)
{
    m_entries.erase(m_entries.begin() + i);
    m_images.erase(m_images.begin() + i);
    m_ids.erase(m_ids.begin() + i);
}

void TEntryTable::Clear()
{
    m_entries.clear();
    m_images.clear();
    m_ids.clear();
}

std::optional<int> TEntryTable::IndexOfId(uint64_t id) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_ids[i] == id)
            return i;
    }
    return std::nullopt;
}

std::optional<int> TEntryTable::FindApp(const std::string& expandedApp, const TMacroFolders& folders) const
{
    for (int i = 0; i < Count(); ++i) {
        if (ExpandMacros(m_entries[i].App, folders) == expandedApp)
            return i;
    }
    return std::nullopt;
}

std::optional<std::vector<int>> TEntryTable::SortByClickCount()
{
    std::vector<int> order(m_entries.size());
    std::iota(order.begin(), order.end(), 0);
    bool moved = false;
    for (size_t a = 0; a < order.size(); ++a) {
        // The first entry with the largest count; a later one only wins with a
        // strictly greater count, so equal counts keep their order.
        size_t best = a;
        for (size_t j = a + 1; j < order.size(); ++j) {
            if (m_entries[order[j]].RunCount > m_entries[order[best]].RunCount)
                best = j;
        }
        if (best != a) {
            std::rotate(order.begin() + a, order.begin() + best, order.begin() + best + 1);
            moved = true;
        }
    }
    if (!moved)
        return std::nullopt;
    std::vector<TAppEntry> entries;
    std::vector<std::string> images;
    std::vector<uint64_t> ids;
    for (int old : order) {
        entries.push_back(std::move(m_entries[old]));
        images.push_back(std::move(m_images[old]));
        ids.push_back(m_ids[old]);
    }
    m_entries = std::move(entries);
    m_images = std::move(images);
    m_ids = std::move(ids);
    return order;
}

void TEntryTable::RewriteEntries(TFastIniFile& ini, bool clearSection) const
{
    if (clearSection) {
        const bool hasIconSize = ini.HasKey(kEntrySection, kIconSizeKey);
        const std::string iconSize = ini.ReadText(kEntrySection, kIconSizeKey, "");
        ini.RemoveSection(kEntrySection);
        if (hasIconSize)
            ini.WriteText(kEntrySection, kIconSizeKey, iconSize);
    }
    ini.WriteNumber(kEntrySection, kEntryCountKey, Count());
    for (int i = 0; i < Count(); ++i)
        WriteEntry(ini, i + 1, m_entries[i]);
}

} // namespace tramble
