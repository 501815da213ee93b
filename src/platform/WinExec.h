#pragma once

#include <string>

namespace tramble::platform {

// Runs a command line as the command box does: the line is split by shell
// word rules (no shell, no expansion); when the first word names an
// executable file (a path, or a name found in PATH) it starts detached with
// the other words as its arguments. Returns kOpenStarted (33) then, else a
// number below 32: kOpenNotFound when the first word names no executable.
int WinExec(const std::string& commandLine);

} // namespace tramble::platform
