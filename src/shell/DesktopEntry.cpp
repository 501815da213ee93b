#include "shell/DesktopEntry.h"

#include "shell/ShellWords.h"
#include "text/TextConvert.h"

namespace tramble {
namespace {

// Expands the field codes inside one word; a word that is only %F or %U (or
// %i) may become several words.
void ExpandWord(const std::string& word, const TExecContext& c, std::vector<std::string>& out)
{
    if (word == "%F" || word == "%U") {
        out.insert(out.end(), c.Files.begin(), c.Files.end());
        return;
    }
    if (word == "%i") {
        if (!c.Icon.empty()) {
            out.emplace_back("--icon");
            out.push_back(c.Icon);
        }
        return;
    }
    std::string text;
    bool hadCode = false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            text += word[i];
            continue;
        }
        const char code = word[++i];
        if (code == '%') {
            text += '%';
            continue;
        }
        hadCode = true;
        switch (code) {
        case 'f':
        case 'u':
            if (!c.Files.empty())
                text += c.Files.front();
            break;
        case 'c': text += c.Name; break;
        case 'k': text += c.Location; break;
        default: break; // deprecated or unknown codes stand for nothing
        }
    }
    if (!hadCode || !text.empty())
        out.push_back(std::move(text));
}

} // namespace

std::optional<TDesktopEntry> TDesktopEntry::Parse(std::string_view text)
{
    TDesktopEntry entry;
    bool inGroup = false;
    bool found = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line = Trim(line);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inGroup = line == "[Desktop Entry]";
            found = found || inGroup;
            continue;
        }
        const size_t eq = line.find('=');
        if (!inGroup || eq == std::string_view::npos)
            continue;
        const std::string key(Trim(line.substr(0, eq)));
        if (!entry.Value(key))
            entry.m_keys.emplace_back(key, UnescapeDesktopValue(TrimLeft(line.substr(eq + 1))));
    }
    if (!found)
        return std::nullopt;
    return entry;
}

std::optional<std::string> TDesktopEntry::Value(std::string_view key) const
{
    for (const auto& [name, value] : m_keys) {
        if (name == key)
            return value;
    }
    return std::nullopt;
}

std::string TDesktopEntry::ValueOr(std::string_view key, std::string_view fallback) const
{
    return Value(key).value_or(std::string(fallback));
}

void TDesktopEntry::Set(std::string_view key, std::string_view value)
{
    for (auto& [name, old] : m_keys) {
        if (name == key) {
            old = value;
            return;
        }
    }
    m_keys.emplace_back(key, value);
}

std::string TDesktopEntry::Text() const
{
    std::string text = "[Desktop Entry]\n";
    for (const auto& [name, value] : m_keys)
        text += name + "=" + EscapeDesktopValue(value) + "\n";
    return text;
}

std::string UnescapeDesktopValue(std::string_view value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: // other escapes (";" of lists) are kept for the reader of the value
            out += '\\';
            out += value[i];
        }
    }
    return out;
}

std::string EscapeDesktopValue(std::string_view value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        switch (value[i]) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case ' ': out += i == 0 ? "\\s" : " "; break;
        default: out += value[i];
        }
    }
    return out;
}

std::vector<std::string> SplitExecLine(std::string_view exec)
{
    return SplitShellWords(exec);
}

std::string QuoteExecArgument(std::string_view word)
{
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string body;
    for (char c : word) {
        if (c == '%')
            body += "%%";
        else
            body += c;
    }
    if (!word.empty() && word.find_first_of(kReserved) == std::string_view::npos)
        return body;
    std::string quoted = "\"";
    for (char c : body) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::vector<std::string> ExpandFieldCodes(const std::vector<std::string>& words, const TExecContext& context)
{
    std::vector<std::string> out;
    for (const std::string& word : words)
        ExpandWord(word, context, out);
    return out;
}

} // namespace tramble
