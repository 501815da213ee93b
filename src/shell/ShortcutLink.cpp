#include "shell/ShortcutLink.h"

#include "shell/DesktopEntry.h"
#include "shell/ExecLine.h"
#include "shell/ShellLinkFile.h"
#include "shell/ShellWords.h"
#include "store/AtomicFile.h"
#include "text/TextConvert.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sys/stat.h>

namespace tramble {
namespace {

constexpr uint32_t kShowMaximized = 3;
constexpr uint32_t kShowMinNoActive = 7;
constexpr uint32_t kShowNormal = 9;
constexpr uint16_t kCtrlAlt = 0x600;
// A shortcut file is small; anything larger is no shortcut.
constexpr std::streamsize kMaxLinkSize = 1 << 20;

const char* const kOpenError = "Unable to open link file";
const char* const kCreateError = "Unable to create .lnk file";

std::optional<std::string> ReadSmallFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return std::nullopt;
    std::string data(kMaxLinkSize + 1, '\0');
    in.read(data.data(), kMaxLinkSize + 1);
    if (in.bad() || in.gcount() > kMaxLinkSize)
        return std::nullopt;
    data.resize(static_cast<size_t>(in.gcount()));
    return data;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int32_t NumberOr(const TDesktopEntry& entry, std::string_view key, int32_t def)
{
    return StrToIntDef(entry.ValueOr(key, ""), def);
}

} // namespace

std::string TShortcutLink::HotKey() const
{
    return std::string(1, m_hotKey ? static_cast<char>(m_hotKey) : ' ');
}

void TShortcutLink::SetHotKey(const std::string& key)
{
    const uint8_t c = static_cast<uint8_t>(UpperAscii(key.empty() ? ' ' : key.front()));
    m_hotKey = c < 32 ? 32 : c;
}

TShowCmd TShortcutLink::ShowCmd() const
{
    switch (m_showCmd) {
    case kShowMaximized: return scShowMaximized;
    case kShowMinNoActive: return scShowMinimized;
    default: return scShowNormal;
    }
}

void TShortcutLink::SetShowCmd(TShowCmd cmd)
{
    switch (cmd) {
    case scShowMaximized: m_showCmd = kShowMaximized; break;
    case scShowMinimized: m_showCmd = kShowMinNoActive; break;
    case scShowNormal: m_showCmd = kShowNormal; break;
    }
}

void TShortcutLink::ReadLink()
{
    const std::optional<std::string> data = ReadSmallFile(ShortcutFile);
    if (!data)
        throw EShortcutError(kOpenError);
    if (LooksLikeShellLink(*data))
        ReadShellLink(*data);
    else
        ReadDesktopEntry(*data);
}

void TShortcutLink::ReadShellLink(const std::string& data)
{
    const std::optional<TShellLinkData> link = ParseShellLink(data);
    if (!link)
        throw EShortcutError(kOpenError);
    WorkingDir = link->WorkingDir;
    Target = link->Target;
    // A link that only knows its target relative to itself.
    if (Target.empty() && !link->RelativePath.empty())
        Target = FolderOf(ShortcutFile) + link->RelativePath;
    IconLocation = link->IconLocation;
    IconNumber = link->IconIndex;
    Description = link->Description;
    m_showCmd = link->ShowCommand;
    m_hotKey = static_cast<uint8_t>(link->HotKey & 0xFF);
    Arguments = link->Arguments;
}

void TShortcutLink::ReadDesktopEntry(const std::string& text)
{
    const std::optional<TDesktopEntry> entry = TDesktopEntry::Parse(text);
    if (!entry)
        throw EShortcutError(kOpenError);
    WorkingDir = entry->ValueOr("Path", "");
    if (entry->ValueOr("Type", "Application") == "Link") {
        Target = entry->ValueOr("URL", "");
        Arguments.clear();
    } else {
        const TExecCommand command = ParseExecCommand(entry->ValueOr("Exec", ""));
        Target = command.Program;
        Arguments = JoinShellWords(command.Arguments);
    }
    IconLocation = entry->ValueOr("Icon", "");
    IconNumber = NumberOr(*entry, "X-Tramble-IconNumber", 0);
    Description = entry->ValueOr("Comment", entry->ValueOr("Name", ""));
    m_showCmd = static_cast<uint32_t>(NumberOr(*entry, "X-Tramble-ShowCmd", 0));
    m_hotKey = static_cast<uint8_t>(NumberOr(*entry, "X-Tramble-HotKey", 0) & 0xFF);
}

void TShortcutLink::WriteLink() const
{
    TDesktopEntry entry;
    entry.Set("Type", "Application");
    // Desktops show the name, menus and tooltips the comment: both carry the
    // description. A reader takes the comment, else the name.
    const std::string name = Description.empty() ? FileNameOf(Target) : Description;
    entry.Set("Name", name.empty() ? "Shortcut" : name);
    if (!Description.empty())
        entry.Set("Comment", Description);
    entry.Set("Exec", BuildExecLine(Target, SplitShellWords(Arguments)));
    if (!WorkingDir.empty())
        entry.Set("Path", WorkingDir);
    if (!IconLocation.empty())
        entry.Set("Icon", IconLocation);
    entry.Set("X-Tramble-IconNumber", std::to_string(IconNumber));
    entry.Set("X-Tramble-ShowCmd", std::to_string(m_showCmd));
    if (m_hotKey > ' ')
        entry.Set("X-Tramble-HotKey", std::to_string(m_hotKey | kCtrlAlt));
    if (Target.empty() || WriteFileAtomically(ShortcutFile, entry.Text()))
        throw EShortcutError(kCreateError);
    // Desktops start launchers on the desktop only when they may be executed.
    ::chmod(ShortcutFile.c_str(), 0755);
}

bool TryReadLink(TShortcutLink& link, const std::string& fileName)
{
    try {
        link.ShortcutFile = fileName;
        link.ReadLink();
        return true;
    } catch (...) {
        return false;
    }
}

bool LinkPointsTo(const std::string& linkFile, const std::string& target)
{
    struct stat st {};
    if (::stat(linkFile.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    TShortcutLink link;
    return TryReadLink(link, linkFile) && SameTextAscii(link.Target, target);
}

void SetShortcut(const std::string& target, const std::string& linkFile, const std::string& description, bool present)
{
    try {
        if (!present) {
            std::remove(linkFile.c_str());
            return;
        }
        TShortcutLink link;
        link.ShortcutFile = linkFile;
        link.Target = target;
        link.Description = description;
        link.WriteLink();
    } catch (...) {
        // The file's state is the only record; the options show it next time.
    }
}

} // namespace tramble
