#pragma once

#include <ctime>
#include <string>

namespace tramble {

// The moment as the debug log writes it: the locale's date, a blank, the
// locale's time.
std::string DebugStamp(std::time_t moment);

// Appends an empty line and then the stamp as a line of its own to the
// file, which is created when missing. Raises EFileError when it cannot be
// written; the file then holds at most what was written before.
void AppendDebugStatus(const std::string& path, const std::string& stamp);

} // namespace tramble
