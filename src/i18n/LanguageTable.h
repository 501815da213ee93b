#pragma once

#include <span>
#include <string_view>

namespace tramble {

// One entry of the language table with its built-in texts.
struct TLanguageEntry {
    std::string_view Section;
    std::string_view Key;
    std::string_view English;
    std::string_view Chinese;
};

// Every entry in loading order.
std::span<const TLanguageEntry> LanguageEntries();

} // namespace tramble
