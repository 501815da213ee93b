#pragma once

#include "launcher/AppEntry.h"
#include "launcher/PathMacros.h"
#include "store/FastIniFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tramble {

// An entry as stored: its number in section "Button" and its fields.
struct TStoredEntry {
    int Number = 0;
    TAppEntry Entry;
};

// The non-empty entries 1 … "Num" of section "Button", at most 500; an entry
// with an empty App is passed over.
std::vector<TStoredEntry> ReadStoredEntries(TFastIniFile& ini);

// The entries of the bar in bar order, each with the PNG image its button
// shows (the icon cache holds these images in the same order).
class TEntryTable {
public:
    int Count() const { return static_cast<int>(m_entries.size()); }
    bool Full() const { return Count() >= kMaxEntries; }
    const TAppEntry& operator[](int i) const { return m_entries[i]; }
    TAppEntry& At(int i) { return m_entries[i]; }
    const std::string& Image(int i) const { return m_images[i]; }
    const std::vector<std::string>& Images() const { return m_images; }
    void SetImage(int i, std::string png) { m_images[i] = std::move(png); }
    // A number that stays with the entry while the table is reordered.
    uint64_t Id(int i) const { return m_ids[i]; }
    std::optional<int> IndexOfId(uint64_t id) const;

    // False when the table is full.
    bool Append(TAppEntry entry, std::string png);
    void Remove(int i);
    void Clear();

    // Index of the entry whose expanded App is the given expanded path.
    std::optional<int> FindApp(const std::string& expandedApp, const TMacroFolders& folders) const;

    // Stable sort by RunCount, largest first. Returns for each new position the
    // old index, or nothing when no entry moved.
    std::optional<std::vector<int>> SortByClickCount();

    // Writes "Num" and every entry, numbered from 1. With clearSection the
    // section is removed first and its icon size ("Width") written back.
    void RewriteEntries(TFastIniFile& ini, bool clearSection) const;

private:
    std::vector<TAppEntry> m_entries;
    std::vector<std::string> m_images;
    std::vector<uint64_t> m_ids;
    uint64_t m_nextId = 1;
};

} // namespace tramble
