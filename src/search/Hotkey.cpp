#include "search/Hotkey.h"

#include "text/TextConvert.h"
#include "text/Utf8Text.h"

#include <array>
#include <charconv>
#include <string>

namespace tramble {
namespace {

constexpr uint32_t kF1 = 0xffbe;
constexpr int kLastF = 35;

// A key without a character: the setting's spelling, another one the
// setting accepts, and the keysym name the desktops' notation uses.
struct TNamedKey {
    uint32_t Keysym;
    std::string_view Setting;
    std::string_view Alias;
    std::string_view Xkb;
};

constexpr std::array kNamedKeys{
    TNamedKey{0x20, "Space", "", "space"},
    TNamedKey{0xff0d, "Return", "Enter", "Return"},
    TNamedKey{0xff09, "Tab", "", "Tab"},
    TNamedKey{0xff1b, "Esc", "Escape", "Escape"},
    TNamedKey{0xff08, "Backspace", "", "BackSpace"},
    TNamedKey{0xff63, "Ins", "Insert", "Insert"},
    TNamedKey{0xffff, "Del", "Delete", "Delete"},
    TNamedKey{0xff50, "Home", "", "Home"},
    TNamedKey{0xff57, "End", "", "End"},
    TNamedKey{0xff55, "PgUp", "PageUp", "Prior"},
    TNamedKey{0xff56, "PgDown", "PageDown", "Next"},
    TNamedKey{0xff51, "Left", "", "Left"},
    TNamedKey{0xff52, "Up", "", "Up"},
    TNamedKey{0xff53, "Right", "", "Right"},
    TNamedKey{0xff54, "Down", "", "Down"},
    TNamedKey{0xff61, "Print", "", "Print"},
    TNamedKey{0xff13, "Pause", "", "Pause"},
    TNamedKey{0xff67, "Menu", "", "Menu"},
};

// Keysym names of the printable ASCII keys that are not letters or digits.
struct TPunctuation {
    char Character;
    std::string_view Xkb;
};

constexpr std::array kPunctuation{
    TPunctuation{'!', "exclam"},       TPunctuation{'"', "quotedbl"},    TPunctuation{'#', "numbersign"},
    TPunctuation{'$', "dollar"},       TPunctuation{'%', "percent"},     TPunctuation{'&', "ampersand"},
    TPunctuation{'\'', "apostrophe"},  TPunctuation{'(', "parenleft"},   TPunctuation{')', "parenright"},
    TPunctuation{'*', "asterisk"},     TPunctuation{'+', "plus"},        TPunctuation{',', "comma"},
    TPunctuation{'-', "minus"},        TPunctuation{'.', "period"},      TPunctuation{'/', "slash"},
    TPunctuation{':', "colon"},        TPunctuation{';', "semicolon"},   TPunctuation{'<', "less"},
    TPunctuation{'=', "equal"},        TPunctuation{'>', "greater"},     TPunctuation{'?', "question"},
    TPunctuation{'@', "at"},           TPunctuation{'[', "bracketleft"}, TPunctuation{'\\', "backslash"},
    TPunctuation{']', "bracketright"}, TPunctuation{'^', "asciicircum"}, TPunctuation{'_', "underscore"},
    TPunctuation{'`', "grave"},        TPunctuation{'{', "braceleft"},   TPunctuation{'|', "bar"},
    TPunctuation{'}', "braceright"},   TPunctuation{'~', "asciitilde"},
};

const TNamedKey* NamedKey(uint32_t keysym)
{
    for (const TNamedKey& key : kNamedKeys) {
        if (key.Keysym == keysym)
            return &key;
    }
    return nullptr;
}

bool IsCharacterKey(uint32_t keysym)
{
    return keysym > 0x20 && keysym < 0x7f;
}

bool IsFunctionKey(uint32_t keysym)
{
    return keysym >= kF1 && keysym < kF1 + kLastF;
}

std::string FunctionKeyName(uint32_t keysym)
{
    return "F" + std::to_string(keysym - kF1 + 1);
}

std::optional<uint32_t> KeysymOf(const std::string& name)
{
    if (name.size() == 1) {
        const unsigned char c = static_cast<unsigned char>(name.front());
        return IsCharacterKey(c) ? std::optional<uint32_t>(c) : std::nullopt;
    }
    for (const TNamedKey& key : kNamedKeys) {
        if (SameTextAscii(name, key.Setting) || (!key.Alias.empty() && SameTextAscii(name, key.Alias)))
            return key.Keysym;
    }
    int number = 0;
    if (name.size() >= 2 && name.front() == 'f') {
        const auto [end, error] = std::from_chars(name.data() + 1, name.data() + name.size(), number);
        if (error == std::errc() && end == name.data() + name.size() && number >= 1 && number <= kLastF)
            return kF1 + static_cast<uint32_t>(number - 1);
    }
    return std::nullopt;
}

// The held modifiers' names, each followed by "+", in the order Ctrl, Alt,
// Shift, Super.
std::string Modifiers(const THotkey& hotkey, const std::array<const char*, 4>& names)
{
    std::string text;
    const std::array held{hotkey.Ctrl, hotkey.Alt, hotkey.Shift, hotkey.Super};
    for (size_t i = 0; i < held.size(); ++i) {
        if (held[i])
            text += std::string(names[i]) + "+";
    }
    return text;
}

std::string XkbName(uint32_t keysym)
{
    if ((keysym >= '0' && keysym <= '9') || (keysym >= 'a' && keysym <= 'z') || (keysym >= 'A' && keysym <= 'Z'))
        return std::string(1, static_cast<char>(keysym));
    if (IsFunctionKey(keysym))
        return FunctionKeyName(keysym);
    for (const TPunctuation& key : kPunctuation) {
        if (static_cast<uint32_t>(key.Character) == keysym)
            return std::string(key.Xkb);
    }
    const TNamedKey* named = NamedKey(keysym);
    return named ? std::string(named->Xkb) : std::string();
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

std::string HotkeySettingText(const THotkey& hotkey)
{
    const std::string modifiers = Modifiers(hotkey, {"Ctrl", "Alt", "Shift", "Meta"});
    const uint32_t keysym = hotkey.Keysym;
    if (keysym >= 'a' && keysym <= 'z')
        return modifiers + static_cast<char>(keysym - 'a' + 'A');
    if (IsCharacterKey(keysym))
        return modifiers + static_cast<char>(keysym);
    if (IsFunctionKey(keysym))
        return modifiers + FunctionKeyName(keysym);
    const TNamedKey* named = NamedKey(keysym);
    return named ? modifiers + std::string(named->Setting) : modifiers;
}

std::string ShortcutTrigger(const THotkey& hotkey)
{
    return Modifiers(hotkey, {"CTRL", "ALT", "SHIFT", "LOGO"}) + XkbName(hotkey.Keysym);
}

} // namespace tramble
