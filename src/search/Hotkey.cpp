#include "search/Hotkey.h"

#include "text/TextConvert.h"
#include "text/Utf8Text.h"

#include <array>
#include <charconv>
#include <span>
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

// Keysym names of the printable ASCII keys that are not letters or digits.
constexpr std::array kPunctuationNames{
    TNamedKey{"exclam", '!'},       TNamedKey{"quotedbl", '"'},    TNamedKey{"numbersign", '#'},
    TNamedKey{"dollar", '$'},       TNamedKey{"percent", '%'},     TNamedKey{"ampersand", '&'},
    TNamedKey{"apostrophe", '\''},  TNamedKey{"parenleft", '('},   TNamedKey{"parenright", ')'},
    TNamedKey{"asterisk", '*'},     TNamedKey{"plus", '+'},        TNamedKey{"comma", ','},
    TNamedKey{"minus", '-'},        TNamedKey{"period", '.'},      TNamedKey{"slash", '/'},
    TNamedKey{"colon", ':'},        TNamedKey{"semicolon", ';'},   TNamedKey{"less", '<'},
    TNamedKey{"equal", '='},        TNamedKey{"greater", '>'},     TNamedKey{"question", '?'},
    TNamedKey{"at", '@'},           TNamedKey{"bracketleft", '['}, TNamedKey{"backslash", '\\'},
    TNamedKey{"bracketright", ']'}, TNamedKey{"asciicircum", '^'}, TNamedKey{"underscore", '_'},
    TNamedKey{"grave", '`'},        TNamedKey{"braceleft", '{'},   TNamedKey{"bar", '|'},
    TNamedKey{"braceright", '}'},   TNamedKey{"asciitilde", '~'},
};

// Keysym names of the other keys a shortcut may name.
constexpr std::array kSpecialNames{
    TNamedKey{"space", 0x20},    TNamedKey{"Return", 0xff0d},    TNamedKey{"Tab", 0xff09},
    TNamedKey{"Escape", 0xff1b}, TNamedKey{"BackSpace", 0xff08}, TNamedKey{"Insert", 0xff63},
    TNamedKey{"Delete", 0xffff}, TNamedKey{"Home", 0xff50},      TNamedKey{"End", 0xff57},
    TNamedKey{"Prior", 0xff55},  TNamedKey{"Next", 0xff56},      TNamedKey{"Left", 0xff51},
    TNamedKey{"Up", 0xff52},     TNamedKey{"Right", 0xff53},     TNamedKey{"Down", 0xff54},
    TNamedKey{"Print", 0xff61},  TNamedKey{"Pause", 0xff13},     TNamedKey{"Menu", 0xff67},
};

std::string KeysymName(uint32_t keysym)
{
    if ((keysym >= '0' && keysym <= '9') || (keysym >= 'a' && keysym <= 'z') || (keysym >= 'A' && keysym <= 'Z'))
        return std::string(1, static_cast<char>(keysym));
    if (keysym >= 0xffbe && keysym <= 0xffe0)
        return "F" + std::to_string(keysym - 0xffbe + 1);
    for (const auto& names :
         {std::span<const TNamedKey>(kPunctuationNames), std::span<const TNamedKey>(kSpecialNames)}) {
        for (const TNamedKey& key : names) {
            if (key.Keysym == keysym)
                return std::string(key.Name);
        }
    }
    return {};
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
        const std::string part = FoldText(Trim(text.substr(0, plus)));
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

std::string ShortcutTrigger(const THotkey& hotkey)
{
    std::string trigger;
    for (const auto& [held, name] : {std::pair{hotkey.Ctrl, "CTRL"}, std::pair{hotkey.Alt, "ALT"},
                                     std::pair{hotkey.Shift, "SHIFT"}, std::pair{hotkey.Super, "LOGO"}}) {
        if (held)
            trigger += std::string(name) + "+";
    }
    return trigger + KeysymName(hotkey.Keysym);
}

} // namespace tramble
