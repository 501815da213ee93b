// The shortcut setting's text.
#include "search/Hotkey.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>

namespace tramble {
namespace {

TEST(ParseHotkey, Texts)
{
    struct Case {
        const char* Text;
        std::optional<THotkey> Expected;
    };
    const Case cases[] = {
        {"Ctrl+Alt+Space", THotkey{.Ctrl = true, .Alt = true, .Keysym = 0x20}},
        {"control + alt + space", THotkey{.Ctrl = true, .Alt = true, .Keysym = 0x20}},
        {"Super+F12", THotkey{.Super = true, .Keysym = 0xffc9}},
        {"Meta+F1", THotkey{.Super = true, .Keysym = 0xffbe}},
        {"Ctrl+Shift+K", THotkey{.Ctrl = true, .Shift = true, .Keysym = 'k'}},
        {"Alt+1", THotkey{.Alt = true, .Keysym = '1'}},
        {"Ctrl++", THotkey{.Ctrl = true, .Keysym = '+'}},
        {"Win+Return", THotkey{.Super = true, .Keysym = 0xff0d}},
        {"F5", THotkey{.Keysym = 0xffc2}},
        {"", std::nullopt},
        {"Ctrl+Alt", std::nullopt},
        {"Ctrl+Ctrl+A", std::nullopt},
        {"Ctrl+A+B", std::nullopt},
        {"A+Ctrl", std::nullopt},
        {"Hyper+A", std::nullopt},
        {"Ctrl+F0", std::nullopt},
        {"Ctrl+F36", std::nullopt},
        {"Ctrl+Fx", std::nullopt},
        {"Ctrl+é", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ParseHotkey(c.Text), c.Expected);
        // Written back as the setting, each reads as the same shortcut.
        if (c.Expected) {
            EXPECT_EQ(ParseHotkey(HotkeySettingText(*c.Expected)), c.Expected) << HotkeySettingText(*c.Expected);
        }
    }
    EXPECT_EQ(HotkeySettingText(*ParseHotkey("super + alt + ctrl + shift + pgdown")), "Ctrl+Alt+Shift+Meta+PgDown");
    EXPECT_EQ(HotkeySettingText(*ParseHotkey("win+k")), "Meta+K");
}

// The portal takes the desktops' shared notation: modifier names in capitals
// and keysym names, which differ from the setting's own spelling.
TEST(ShortcutTrigger, SettingTextsInTheDesktopsNotation)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Ctrl+Alt+Space", "CTRL+ALT+space"},
        {"Super+Shift+Ctrl+Alt+F12", "CTRL+ALT+SHIFT+LOGO+F12"},
        {"Meta+F35", "LOGO+F35"},
        {"Ctrl+Shift+K", "CTRL+SHIFT+k"},
        {"Alt+1", "ALT+1"},
        {"Ctrl++", "CTRL+plus"},
        {"Ctrl+,", "CTRL+comma"},
        {"Ctrl+\\", "CTRL+backslash"},
        {"Alt+~", "ALT+asciitilde"},
        {"Win+Enter", "LOGO+Return"},
        {"Ctrl+Esc", "CTRL+Escape"},
        {"Ctrl+Backspace", "CTRL+BackSpace"},
        {"Ctrl+PgUp", "CTRL+Prior"},
        {"Ctrl+PageDown", "CTRL+Next"},
        {"Shift+Del", "SHIFT+Delete"},
        {"F5", "F5"},
    };
    for (const auto& [text, trigger] : cases) {
        SCOPED_TRACE(text);
        const std::optional<THotkey> hotkey = ParseHotkey(text);
        ASSERT_TRUE(hotkey);
        EXPECT_EQ(ShortcutTrigger(*hotkey), trigger);
    }
}

// Every key the setting accepts has a name the portal understands.
TEST(ShortcutTrigger, EveryAcceptedKeyHasAName)
{
    for (char c = '!'; c <= '~'; ++c) {
        const std::optional<THotkey> hotkey = ParseHotkey(std::string("Ctrl+") + c);
        if (!hotkey)
            continue;
        const std::string trigger = ShortcutTrigger(*hotkey);
        SCOPED_TRACE(std::string(1, c));
        ASSERT_GT(trigger.size(), std::string("CTRL+").size());
        for (char n : trigger.substr(5))
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(n)) || n == '_') << trigger;
    }
}

} // namespace
} // namespace tramble
