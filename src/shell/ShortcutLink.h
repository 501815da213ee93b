#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tramble {

// Raised with one of the fixed messages of reading and writing links.
class EShortcutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TShowCmd { scShowMaximized, scShowMinimized, scShowNormal };

// A shortcut file: a freedesktop desktop entry (read and written) or a
// Windows shell link (.lnk, read only). The show command and hot key of a
// desktop entry are kept in "X-Tramble-ShowCmd" and "X-Tramble-HotKey".
class TShortcutLink {
public:
    std::string ShortcutFile;
    std::string Target;
    std::string WorkingDir;
    std::string Description;
    std::string Arguments;
    std::string IconLocation;
    int32_t IconNumber = 0;

    // One character, upper-cased; " " when there is none.
    std::string HotKey() const;
    void SetHotKey(const std::string& key);

    // 3 is maximized, 7 minimized, anything else a normal window.
    TShowCmd ShowCmd() const;
    void SetShowCmd(TShowCmd cmd);
    uint32_t RawShowCmd() const { return m_showCmd; }

    // Reads ShortcutFile into the properties; raises EShortcutError
    // "Unable to open link file" when it cannot be read or is no shortcut.
    void ReadLink();
    // Writes the properties as a desktop entry to ShortcutFile, replacing it;
    // raises EShortcutError "Unable to create .lnk file" on failure.
    void WriteLink() const;

private:
    void ReadDesktopEntry(const std::string& text);
    void ReadShellLink(const std::string& data);

    uint32_t m_showCmd = 0;
    uint8_t m_hotKey = 0;
};

// Reads the file into the link; false on any error.
bool TryReadLink(TShortcutLink& link, const std::string& fileName);

// Whether the link file exists, can be read and points to the target
// (compared without regard to ASCII case).
bool LinkPointsTo(const std::string& linkFile, const std::string& target);

// Creates a shortcut to target (present) or deletes the link file (not
// present). Errors are swallowed: the file's state shows the outcome.
void SetShortcut(const std::string& target, const std::string& linkFile, const std::string& description, bool present);

} // namespace tramble
