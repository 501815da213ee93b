#pragma once

#include "search/DesktopApp.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// How to start an application: its words and the folder it starts in.
struct TAppStart {
    std::vector<std::string> Argv;
    std::string Folder;
};

// The user's terminal with the option after which it runs a command:
// $TERMINAL first, then x-terminal-emulator and the usual terminals, found
// in the path list. Empty when there is none.
std::vector<std::string> FindTerminal(std::string_view pathList, const char* terminalVariable);

// The Exec line with its field codes filled (no files: %f %F %u %U go away,
// %i gives "--icon" and the icon, %c the name, %k the file), in the
// terminal when the entry asks for one. Nothing without words, or for a
// terminal entry without a terminal.
std::optional<TAppStart> AppStartOf(const TDesktopApp& app, const std::vector<std::string>& terminal);

// The file name of the program an Exec line starts, for matching.
std::string ExecProgramName(std::string_view exec);

} // namespace tramble
