#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tramble {

inline constexpr std::string_view kDesktopEntryGroup = "Desktop Entry";

// The keys of the "[Desktop Entry]" group of a desktop entry file, values
// unescaped, in file order. Localised keys ("Name[de]") are kept as written.
class TDesktopEntry {
public:
    // Nothing when the text has no "[Desktop Entry]" group.
    static std::optional<TDesktopEntry> Parse(std::string_view text);

    // The value of a key (the first one when written twice).
    std::optional<std::string> Value(std::string_view key) const;
    std::string ValueOr(std::string_view key, std::string_view fallback) const;
    void Set(std::string_view key, std::string_view value);

    // The file's text, keys in the order set.
    std::string Text() const;

private:
    std::vector<std::pair<std::string, std::string>> m_keys;
};

std::string UnescapeDesktopValue(std::string_view value);
std::string EscapeDesktopValue(std::string_view value);

// The words of an Exec value (already unescaped), field codes left in.
std::vector<std::string> SplitExecLine(std::string_view exec);
// One word quoted for an Exec value: reserved characters inside double quotes,
// "%" doubled.
std::string QuoteExecArgument(std::string_view word);

// What the field codes of an Exec line stand for at a start.
struct TExecContext {
    std::vector<std::string> Files; // %f, %u: the first; %F, %U: all
    std::string Icon;               // %i gives "--icon" and this, when set
    std::string Name;               // %c
    std::string Location;           // %k: the desktop entry's own path
};

// The Exec words with every field code replaced; "%%" gives "%", codes
// without a value and deprecated codes are dropped.
std::vector<std::string> ExpandFieldCodes(const std::vector<std::string>& words, const TExecContext& context);

} // namespace tramble
