#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tramble {

// Lines the command box keeps after an addition.
inline constexpr size_t kMaxCommandHistory = 12;

// Puts a line that was run at the top of the history, written as typed: an
// earlier copy that differs only in letter case goes, and only the newest
// twelve lines stay.
void AddToHistory(std::vector<std::string>& history, const std::string& line);

} // namespace tramble
