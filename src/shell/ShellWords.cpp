#include "shell/ShellWords.h"

#include <optional>

namespace tramble {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool NeedsQuotes(std::string_view word)
{
    if (word.empty())
        return true;
    for (char c : word) {
        if (IsBlank(c) || std::string_view("'\"\\$`!*?[]{}()<>|&;#~=%").find(c) != std::string_view::npos)
            return true;
    }
    return false;
}

} // namespace

std::vector<std::string> SplitShellWords(std::string_view text)
{
    std::vector<std::string> words;
    std::optional<std::string> word; // set once a word has begun, even an empty ""
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsBlank(c)) {
            if (word)
                words.push_back(std::move(*word));
            word.reset();
            continue;
        }
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i; // a continued line
            continue;
        }
        if (!word)
            word.emplace();
        if (c == '\'') {
            const size_t end = text.find('\'', i + 1);
            const size_t stop = end == std::string_view::npos ? text.size() : end;
            word->append(text.substr(i + 1, stop - i - 1));
            i = stop;
        } else if (c == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size() &&
                    std::string_view("$`\"\\\n").find(text[i + 1]) != std::string_view::npos) {
                    ++i;
                    if (text[i] == '\n')
                        continue;
                }
                word->push_back(text[i]);
            }
        } else if (c == '\\' && i + 1 < text.size()) {
            word->push_back(text[++i]);
        } else {
            word->push_back(c);
        }
    }
    if (word)
        words.push_back(std::move(*word));
    return words;
}

std::string JoinShellWords(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty())
            line += ' ';
        if (!NeedsQuotes(word)) {
            line += word;
            continue;
        }
        // Single quotes keep everything but a single quote, which is closed,
        // escaped and reopened.
        line += '\'';
        for (char c : word) {
            if (c == '\'')
                line += "'\\''";
            else
                line += c;
        }
        line += '\'';
    }
    return line;
}

} // namespace tramble
