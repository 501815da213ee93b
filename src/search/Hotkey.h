#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// A key with modifiers, the key given as an X keysym number.
struct THotkey {
    bool Ctrl = false;
    bool Alt = false;
    bool Shift = false;
    bool Super = false;
    uint32_t Keysym = 0;
    bool operator==(const THotkey&) const = default;
};

// "Ctrl+Alt+Space", "Super+F12", "ctrl+shift+k": modifiers (Ctrl/Control,
// Alt, Shift, Super/Meta/Win) and one key, any letter case. Nothing when the
// text names no key, an unknown key or modifier, or a key twice.
std::optional<THotkey> ParseHotkey(std::string_view text);

// The shortcut as the setting writes it, in the spelling key-sequence
// editors read too ("Ctrl+Alt+Space", "Meta+F12", "Ctrl+PgUp").
std::string HotkeySettingText(const THotkey& hotkey);

// The shortcut in the desktops' shared notation, as the portal takes it:
// CTRL, ALT, SHIFT and LOGO and the key's keysym name, joined by "+"
// ("CTRL+ALT+space").
std::string ShortcutTrigger(const THotkey& hotkey);

} // namespace tramble
