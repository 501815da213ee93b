#pragma once

#include <array>
#include <optional>
#include <string>

namespace tramble {

// The places of the program's own shortcut, in the order OK applies them.
enum class TShortcutPlace { StartMenu, Desktop, QuickLaunch, AutoRun };
inline constexpr std::array kShortcutPlaces{TShortcutPlace::StartMenu, TShortcutPlace::Desktop,
                                            TShortcutPlace::QuickLaunch, TShortcutPlace::AutoRun};

// The folders the places stand for; Quick Launch has none on this system.
struct TShortcutFolders {
    std::string Programs; // the user's applications menu
    std::string Desktop;
    std::string Startup; // XDG autostart
    // The user's folders of this session.
    static TShortcutFolders OfUser();
};

// One tick box per place.
using TShortcutStates = std::array<bool, kShortcutPlaces.size()>;

inline constexpr const char* kShortcutFileName = "Tramble.desktop";

// The shortcut file of a place; nothing for a place without a folder.
std::optional<std::string> ShortcutFile(const TShortcutFolders& folders, TShortcutPlace place);

// Which places hold a shortcut to target.
TShortcutStates ReadShortcutStates(const TShortcutFolders& folders, const std::string& target);

// Creates or deletes the shortcut of each place whose box changed from its
// first state, creating missing folders on the way; a box left as it was
// touches nothing. Errors are swallowed: the next opening shows the outcome.
void ApplyShortcutStates(const TShortcutFolders& folders, const std::string& target, const TShortcutStates& first,
                         const TShortcutStates& chosen);

} // namespace tramble
