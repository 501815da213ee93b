#pragma once

#include <string_view>

namespace tramble {

// What a line beginning with ">" asks of the bar. Recognised commands that
// do nothing (">Add", ">Help", ">Stat" …) and unknown ones are None.
enum class TBarCommand { None, Exit, About, Option, Debug, DebugStatus };

// Whether the line is a bar command line at all: it begins with ">".
bool IsBarCommandLine(std::string_view line);

// The command the whole line names, without regard to case; a command with
// anything after it is no command.
TBarCommand FindBarCommand(std::string_view line);

} // namespace tramble
