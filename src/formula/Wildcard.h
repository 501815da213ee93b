#pragma once

#include <stdexcept>
#include <string_view>

namespace tramble {

class EBadPattern : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// File-name globbing: "*" any run of characters, "?" one character, "[a-z]"
// one character of a set or range, "[!a-z]" one outside it. Letters compare
// without regard to case; characters are UTF-8 sequences. Raises EBadPattern
// for an unclosed "[".
bool MatchWildcard(std::string_view text, std::string_view pattern);

} // namespace tramble
