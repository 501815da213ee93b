#include "search/Hotkey.h"

#include "search/SearchMatch.h"
#include "text/TextConvert.h"

#include <array>
#include <charconv>
#include <string>

namespace tramble {
namespace {

struct TNamedKey {
    std::string_view Name;
    uint32_t Keysym;
};

constexpr std::array kNamedKeys{
    TNamedKey{"space", 0x20},       TNamedKey{"return", 0xff0d}, TNamedKey{"enter", 0xff0d},
    TNamedKey{"tab", 0xff09},       TNamedKey{"escape", 0xff1b}, TNamedKey{"esc", 0xff1b},
    TNamedKey{"backspace", 0xff08}, TNamedKey{"insert", 0xff63}, TNamedKey{"ins", 0xff63},
    TNamedKey{"delete", 0xffff},    TNamedKey{"del", 0xffff},    TNamedKey{"home", 0xff50},
    TNamedKey{"end", 0xff57},       TNamedKey{"pageup", 0xff55}, TNamedKey{"pgup", 0xff55},
    TNamedKey{"pagedown", 0xff56},  TNamedKey{"pgdown", 0xff56}, TNamedKey{"left", 0xff51},
    TNamedKey{"up", 0xff52},        TNamedKey{"right", 0xff53},  TNamedKey{"down", 0xff54},
    TNamedKey{"print", 0xff61},     TNamedKey{"pause", 0xff13},  TNamedKey{"menu", 0xff67},
};

std::optional<uint32_t> KeysymOf(const std::string& name)
{
    if (name.size() == 1) {
        const unsigned char c = static_cast<unsigned char>(name.front());
        return c > 0x20 && c < 0x7f ? std::optional<uint32_t>(c) : std::nullopt;
    }
    for (const TNamedKey& key : kNamedKeys) {
        if (key.Name == name)
            return key.Keysym;
    }
    int number = 0;
    if (name.size() >= 2 && name.front() == 'f') {
        const auto [end, error] = std::from_chars(name.data() + 1, name.data() + name.size(), number);
        if (error == std::errc() && end == name.data() + name.size() && number >= 1 && number <= 35)
            return 0xffbe + static_cast<uint32_t>(number - 1);
    }
    return std::nullopt;
}

} // namespace

std::optional<THotkey> ParseHotkey(std::string_view text)
{
    THotkey hotkey;
    bool haveKey = false;
    while (!text.empty()) {
        size_t plus = text.find('+');
        // A "+" right at the start of a part is the key itself ("Ctrl++").
        if (plus == 0)
            plus = text.find('+', 1);
        const std::string part = FoldCase(Trim(text.substr(0, plus)));
        text.remove_prefix(plus == std::string_view::npos ? text.size() : plus + 1);
        bool* modifier = nullptr;
        if (part == "ctrl" || part == "control")
            modifier = &hotkey.Ctrl;
        else if (part == "alt")
            modifier = &hotkey.Alt;
        else if (part == "shift")
            modifier = &hotkey.Shift;
        else if (part == "super" || part == "meta" || part == "win")
            modifier = &hotkey.Super;
        if (modifier) {
            if (*modifier || haveKey)
                return std::nullopt;
            *modifier = true;
            continue;
        }
        const std::optional<uint32_t> keysym = KeysymOf(part);
        if (!keysym || haveKey)
            return std::nullopt;
        hotkey.Keysym = *keysym;
        haveKey = true;
    }
    if (!haveKey)
        return std::nullopt;
    return hotkey;
}

} // namespace tramble
