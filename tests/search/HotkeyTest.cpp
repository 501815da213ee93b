// The shortcut setting's text.
#include "search/Hotkey.h"

#include <gtest/gtest.h>

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
    }
}

} // namespace
} // namespace tramble
