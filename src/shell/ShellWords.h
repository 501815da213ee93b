#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// Splits a command line into words by the shell's quoting rules, without a
// shell and without any expansion: blanks separate words; '…' keeps its text
// as it is; in "…" a backslash only escapes $ ` " \ and a line break;
// elsewhere a backslash keeps the next character. A quote left open closes
// at the end of the text.
std::vector<std::string> SplitShellWords(std::string_view text);

// The words joined into one line that SplitShellWords splits back into them.
std::string JoinShellWords(const std::vector<std::string>& words);

} // namespace tramble
