#include "launcher/EntryManager.h"

#include "launcher/BarHold.h"
#include "launcher/PlaceholderIcon.h"
#include "launcher/PngImage.h"
#include "shell/ExecLine.h"
#include "shell/ShortcutLink.h"
#include "store/IconCache.h"
#include "text/TextConvert.h"

#include <random>

namespace tramble {

namespace {

// Dialogs and launches hold the bar until the end of their scope.
using THold = TBarHoldOf<IEntryView>;

std::string Extension(const std::string& path)
{
    const std::string name = FileNamePart(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool HasExtension(const std::string& path, std::string_view extension)
{
    return SameTextAscii(Extension(path), extension);
}

uint8_t WindowStateOf(TShowCmd cmd)
{
    switch (cmd) {
    case scShowMaximized: return wsMaximized;
    case scShowMinimized: return wsMinimized;
    case scShowNormal: break;
    }
    return wsNormal;
}

} // namespace

const std::vector<std::vector<std::string>>& DefaultProgramRoles()
{
    static const std::vector<std::vector<std::string>> roles{
        {"gnome-text-editor", "gedit", "mousepad", "kate", "xed", "pluma"},
        {"gnome-calculator", "galculator", "kcalc", "qalculate-gtk", "xcalc"},
        {"pinta", "kolourpaint", "mtpaint", "gimp"},
        {"nautilus", "thunar", "dolphin", "pcmanfm", "nemo", "caja"},
        {"dconf-editor"},
        {"x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal", "xterm"},
    };
    return roles;
}

TEntryManager::TEntryManager(TFastIniFile& settings, TModes& modes, const TLanguage& language, IEntryView& view,
                             IEntrySystem& system, TEntrySettings entrySettings, const TClock& clock)
    : m_settings(settings), m_modes(modes), m_language(language), m_view(view), m_system(system),
      m_set(std::move(entrySettings)), m_clock(clock)
{
}

std::string TEntryManager::Text(const char* section, const char* key) const
{
    return m_language.Text(section, key);
}

std::string TEntryManager::Hint(int i) const
{
    return m_table[i].Descript + ", " + std::to_string(m_table[i].RunCount);
}

void TEntryManager::FlushSettings()
{
    try {
        m_settings.Flush();
    } catch (const EFileError&) {
        // The change stays in the store and goes out with the next flush.
    }
}

bool TEntryManager::LoadIconCache()
{
    const int count = m_settings.ReadNumber(kEntrySection, kEntryCountKey, 0);
    const std::optional<std::vector<std::string>> images = LoadIconCacheFile(m_set.IconCachePath, count);
    if (!images)
        return false;
    std::vector<TAppEntry> entries;
    for (int n = 1; n <= count && n <= kMaxEntries; ++n) {
        entries.push_back(ReadEntry(m_settings, n));
        // The images follow the numbers: with a gap they fit no entry.
        if (entries.back().App.empty())
            return false;
    }
    for (size_t i = 0; i < entries.size(); ++i)
        CreateButton(std::move(entries[i]), (*images)[i]);
    return true;
}

void TEntryManager::LoadEntries()
{
    if (LoadIconCache())
        return;
    std::vector<int> numbers;
    for (TStoredEntry& stored : ReadStoredEntries(m_settings)) {
        numbers.push_back(stored.Number);
        CreateButtonWithIcon(std::move(stored.Entry));
    }
    CloseNumberGaps(numbers);
    SaveIconCache();
}

void TEntryManager::CloseNumberGaps(const std::vector<int>& numbers)
{
    bool gaps = false;
    for (size_t i = 0; i < numbers.size(); ++i)
        gaps = gaps || numbers[i] != static_cast<int>(i) + 1;
    if (!gaps || m_modes.ReadOnlyMode)
        return;
    // Entry n is written at n, so an entry stored under a higher number would
    // be overwritten by the next one added: every entry moves down, in order,
    // and the numbers it leaves are cleared.
    try {
        m_table.RewriteEntries(m_settings, false);
        for (int n = m_table.Count() + 1; n <= numbers.back(); ++n)
            RemoveEntry(m_settings, n);
    } catch (const EFileError&) {
        // The file keeps its numbers; the load is tried again at the next start.
    }
    FlushSettings();
}

void TEntryManager::SaveIconCache()
{
    if (m_modes.ReadOnlyMode)
        return;
    TIconCacheFiller filler{};
    std::random_device random;
    for (uint8_t& byte : filler)
        byte = static_cast<uint8_t>(random());
    // A cache that cannot be written is rebuilt at the next start.
    SaveIconCacheFile(m_set.IconCachePath, m_table.Images(), filler);
}

void TEntryManager::RunAutorun()
{
    // Launching may re-sort the entries, so each is found again by its id.
    std::vector<uint64_t> autorun;
    for (int i = 0; i < m_table.Count(); ++i) {
        if (m_table[i].Autorun)
            autorun.push_back(m_table.Id(i));
    }
    for (uint64_t id : autorun) {
        if (const std::optional<int> i = m_table.IndexOfId(id))
            LaunchEntry(*i);
    }
}

void TEntryManager::AddDefaultApplications()
{
    for (const std::vector<std::string>& role : DefaultProgramRoles()) {
        for (const std::string& name : role) {
            if (m_system.Exists(m_set.Folders.WinDir + "/" + name) ||
                m_system.Exists(m_set.Folders.SysDir + "/" + name)) {
                AddDefaultApplication(name);
                break;
            }
        }
    }
}

void TEntryManager::AddDefaultApplication(const std::string& name)
{
    if (m_system.Exists(m_set.Folders.WinDir + "/" + name))
        AddApplication("$(win)/" + name);
    else if (m_system.Exists(m_set.Folders.SysDir + "/" + name))
        AddApplication("$(sys)/" + name);
}

void TEntryManager::GetIconLocation(const std::string& path, std::string& iconFile, int32_t& iconIndex)
{
    const std::string expanded = ExpandMacros(path, m_set.Folders);
    if (m_system.IsFolder(expanded)) {
        iconFile = "folder";
        iconIndex = 0;
        return;
    }
    if (HasExtension(path, ".exe") || HasExtension(path, ".dll") || HasExtension(path, ".desktop") ||
        m_system.IsExecutable(expanded)) {
        iconIndex = 0;
        return;
    }
    const std::string text = m_system.IconForExtension(Extension(path));
    const size_t comma = text.find(',');
    if (comma == std::string::npos) {
        iconFile = text;
        iconIndex = 0;
    } else {
        iconFile = text.substr(0, std::min<size_t>(comma, 260));
        iconIndex = StrToIntDef(text.substr(comma + 1), 0);
    }
}

std::optional<TAppEntry> TEntryManager::EntryForPath(const std::string& path)
{
    TAppEntry e;
    if (HasExtension(path, ".lnk") || HasExtension(path, ".desktop")) {
        TShortcutLink link;
        if (!TryReadLink(link, ExpandMacros(path, m_set.Folders)) || link.Target.empty()) {
            m_view.ShowBox(TBoxKind::Error, Text("Message", "GetLinkInfoError") + "!     \r\n",
                           Text("Message", "Error"));
            return std::nullopt;
        }
        e.App = CompressMacros(link.Target, m_set.Folders);
        e.RunFolder = CompressMacros(link.WorkingDir, m_set.Folders);
        e.IconFile = link.IconLocation.empty() ? e.App : link.IconLocation;
        e.IconIndex = link.IconLocation.empty() ? 0 : link.IconNumber;
        e.Descript = link.Description.empty() ? FileNamePart(link.Target) : link.Description;
        e.Arguments = link.Arguments;
        e.WS = WindowStateOf(link.ShowCmd());
        return e;
    }
    e.App = CompressMacros(path, m_set.Folders);
    e.RunFolder = CompressMacros(FolderPart(path), m_set.Folders);
    e.IconFile = path;
    GetIconLocation(path, e.IconFile, e.IconIndex);
    e.IconFile = CompressMacros(e.IconFile, m_set.Folders);
    const std::string name = FileNamePart(path);
    e.Descript = HasExtension(path, ".exe") ? name.substr(0, name.size() - 4) : name;
    return e;
}

void TEntryManager::AddApplication(const std::string& path)
{
    THold hold(m_view);
    if (m_modes.ReadOnlyMode) {
        m_view.ShowBox(TBoxKind::Warning, Text("Message", "CannotAddAppInReadOnlyMode"), Text("Message", "Warning"));
        return;
    }
    if (m_table.Full()) {
        m_view.ShowBox(TBoxKind::Warning, Text("Message", "TooManyApp"), Text("Message", "Warning"));
        return;
    }
    m_modes.Loading = false;
    std::optional<TAppEntry> entry = EntryForPath(path);
    if (!entry)
        return;
    const std::string expanded = ExpandMacros(entry->App, m_set.Folders);
    if (const std::optional<int> existing = m_table.FindApp(expanded, m_set.Folders)) {
        m_view.ShowBox(TBoxKind::Warning, Text("Message", "AppExist") + "!    \r\n\r\n\"" + expanded + "\"     \r\n",
                       Text("Message", "Warning"));
        m_view.SetButtonRaised(*existing, true);
        return;
    }
    CreateButtonWithIcon(std::move(*entry));
    try {
        m_settings.WriteNumber(kEntrySection, kEntryCountKey, m_table.Count());
        WriteEntry(m_settings, m_table.Count(), m_table[m_table.Count() - 1]);
    } catch (const EFileError&) {
        // The entry is on the bar; the store takes it at the next write.
    }
    FlushSettings();
    m_view.RequestLayout();
}

std::string TEntryManager::IconPng(const TAppEntry& entry)
{
    const std::optional<TRgbaImage> icon =
        m_view.ExtractIcon(ExpandMacros(entry.IconFile, m_set.Folders), entry.IconIndex, m_set.IconSize);
    std::string png = icon ? EncodePng(*icon) : std::string();
    return png.empty() ? EncodePng(DrawPlaceholderIcon(m_set.IconSize)) : png;
}

void TEntryManager::CreateButtonWithIcon(TAppEntry entry)
{
    std::string png = IconPng(entry);
    CreateButton(std::move(entry), std::move(png));
    if (!m_modes.Loading)
        SaveIconCache();
}

void TEntryManager::CreateButton(TAppEntry entry, std::string png)
{
    const std::string image = png;
    if (!m_table.Append(std::move(entry), std::move(png)))
        return;
    m_view.AddButton(image);
    m_view.SetButtonHint(m_table.Count() - 1, Hint(m_table.Count() - 1));
}

void TEntryManager::LaunchEntry(int i)
{
    if (i < 0 || i >= m_table.Count())
        return;
    THold hold(m_view);
    if (!m_modes.Loading) {
        const TClock::SteadyTime now = m_clock.Steady();
        if (m_guardStart && now - *m_guardStart < std::chrono::milliseconds(kClickGuardMs))
            return;
        m_guardStart = now;
    }
    const TAppEntry& entry = m_table[i];
    const std::string target = ExpandMacros(entry.App, m_set.Folders);
    const std::string folder = ExpandMacros(entry.RunFolder, m_set.Folders);
    std::string arguments = entry.Arguments;
    if (entry.PromptArgument) {
        std::optional<std::string> typed =
            m_view.AskArguments(Text("EditApp", "Arguments"), Text("EditApp", "Arguments") + "     ");
        if (!typed)
            return;
        arguments = std::move(*typed);
    }

    // An address (a desktop link's URL) goes to the opener, as documents do.
    if (!m_modes.Loading && !IsAddress(target) && !m_system.Exists(target)) {
        m_view.ShowBox(TBoxKind::Warning, Text("Message", "AppNotExist") + " <" + target + ">!   ",
                       Text("Message", "Error"));
        m_view.SetButtonRaised(i, true);
        return;
    }
    const int result = m_system.Open(target, arguments, folder, entry.WS);
    if (!m_modes.Loading) {
        if (result > 32) {
            m_view.SetButtonRaised(i, false);
        } else {
            m_view.ShowBox(TBoxKind::Warning, Text("Message", "RunError"),
                           Text("Message", "Warning") + ": " + std::to_string(result));
            m_view.SetButtonRaised(i, true);
        }
    }
    if (m_modes.ReadOnlyMode)
        return;
    TAppEntry& counted = m_table.At(i);
    ++counted.RunCount;
    m_view.SetButtonHint(i, Hint(i));
    try {
        WriteRunCount(m_settings, i + 1, counted.RunCount);
        m_settings.Flush();
        if (m_set.AutoSortByCount && *m_set.AutoSortByCount)
            SortByClickCount();
    } catch (...) {
        // Storing the count may fail; the start itself happened.
    }
}

bool TEntryManager::SortByClickCount()
{
    if (m_modes.ReadOnlyMode)
        return false;
    const std::optional<std::vector<int>> order = m_table.SortByClickCount();
    if (!order)
        return false;
    m_view.ReorderButtons(*order);
    m_view.RequestLayout();
    try {
        m_table.RewriteEntries(m_settings, false);
    } catch (const EFileError&) {
        // Written again with the next change.
    }
    SaveIconCache();
    FlushSettings();
    return true;
}

void TEntryManager::DeleteEntry(int i)
{
    if (m_modes.ReadOnlyMode || i < 0 || i >= m_table.Count())
        return;
    THold hold(m_view);
    const TAppEntry& entry = m_table[i];
    const std::string text = Text("Message", "ConfirmDeleteButton") + " <" + std::to_string(i) + ">:\r\n\r\n\"" +
                             entry.Descript + "\" ?\r\n\r\n\"" + ExpandMacros(entry.App, m_set.Folders) + "\"";
    if (!m_view.ShowBox(TBoxKind::Question, text, Text("Message", "Confirm")))
        return;
    m_view.RemoveButton(i);
    m_table.Remove(i);
    m_view.RequestLayout();
    try {
        m_table.RewriteEntries(m_settings, true);
    } catch (const EFileError&) {
        // Written again with the next change.
    }
    FlushSettings();
    SaveIconCache();
}

void TEntryManager::EntryEdited(int i, const TAppEntry& edited)
{
    if (i < 0 || i >= m_table.Count())
        return;
    m_view.SetButtonRaised(i, false);
    TAppEntry& entry = m_table.At(i);
    const int32_t runCount = entry.RunCount;
    const int32_t runTimer = entry.RunTimer;
    entry = edited;
    entry.RunCount = runCount;
    entry.RunTimer = runTimer;
    m_table.SetImage(i, IconPng(entry));
    m_view.SetButtonImage(i, m_table.Image(i));
    m_view.SetButtonHint(i, Hint(i));
    if (m_modes.ReadOnlyMode)
        return;
    try {
        WriteEditedEntry(m_settings, i + 1, entry);
    } catch (const EFileError&) {
        // Written again with the next change.
    }
    FlushSettings();
    SaveIconCache();
}

} // namespace tramble
