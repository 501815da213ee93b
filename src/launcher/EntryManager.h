#pragma once

#include "i18n/Language.h"
#include "launcher/EntryTable.h"
#include "launcher/EntryView.h"
#include "launcher/PathMacros.h"
#include "platform/Clock.h"
#include "store/FastIniFile.h"
#include "store/Modes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tramble {

// Where the entries live and how they behave, fixed at start.
struct TEntrySettings {
    TMacroFolders Folders;
    std::string IconCachePath; // base + ".dat"
    int IconSize = 32;
    const bool* AutoSortByCount = nullptr; // the current "cfg"/"AutoSortByCount"
};

// The application entries of the bar: loading, adding, launching, sorting,
// deleting and storing them. The bar window shows what it is told through
// the view; the settings store is written and flushed after each change.
class TEntryManager {
public:
    static constexpr int64_t kClickGuardMs = 1000;

    // clock: the click guard's time.
    TEntryManager(TFastIniFile& settings, TModes& modes, const TLanguage& language, IEntryView& view,
                  IEntrySystem& system, TEntrySettings entrySettings, const TClock& clock = SystemClock());

    const TEntryTable& Entries() const { return m_table; }
    int Count() const { return m_table.Count(); }
    const TMacroFolders& Folders() const { return m_set.Folders; }
    std::string Hint(int i) const;

    // Start-up: the entries from the icon cache when it matches the settings
    // file, else from the settings file with their icons, after which the
    // cache is written once. Stored numbers with gaps are closed up first
    // thing, so that every later write reaches its entry.
    void LoadEntries();
    // True when the entries came from the cache (also with none). A cache
    // whose entry numbers have a gap does not match.
    bool LoadIconCache();
    void SaveIconCache();
    // Starts every entry marked for autorun, in entry order.
    void RunAutorun();
    // First run: the first program found of each default role.
    void AddDefaultApplications();
    void AddDefaultApplication(const std::string& name);

    void AddApplication(const std::string& path);
    void LaunchEntry(int i);
    // Returns whether the order changed.
    bool SortByClickCount();
    void DeleteEntry(int i);
    // The editor closed with OK: its fields are stored and the icon redrawn.
    void EntryEdited(int i, const TAppEntry& edited);

    // The icon file and index an added file gets.
    void GetIconLocation(const std::string& path, std::string& iconFile, int32_t& iconIndex);

private:
    std::string Text(const char* section, const char* key) const;
    std::optional<TAppEntry> EntryForPath(const std::string& path);
    std::string IconPng(const TAppEntry& entry);
    void CreateButtonWithIcon(TAppEntry entry);
    void CreateButton(TAppEntry entry, std::string png);
    void CloseNumberGaps(const std::vector<int>& numbers);
    void FlushSettings();

    TFastIniFile& m_settings;
    TModes& m_modes;
    const TLanguage& m_language;
    IEntryView& m_view;
    IEntrySystem& m_system;
    TEntrySettings m_set;
    TEntryTable m_table;
    const TClock& m_clock;
    std::optional<TClock::SteadyTime> m_guardStart;
};

// The roles of the default programs, each with its candidates in order.
const std::vector<std::vector<std::string>>& DefaultProgramRoles();

} // namespace tramble
