#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// The program and arguments of a desktop entry's Exec line, field codes
// dropped. A program given by name is looked up in PATH.
struct TExecCommand {
    std::string Program;
    std::vector<std::string> Arguments;
};

TExecCommand ParseExecCommand(std::string_view exec);

// An Exec line that starts the program with the arguments.
std::string BuildExecLine(const std::string& program, const std::vector<std::string>& arguments);

// The full path of an executable file named without a folder, found in the
// colon-separated folders; the name itself when none holds it.
std::string FindProgramInPath(const std::string& name, std::string_view pathList);
// The same with the PATH of the environment.
std::string FindProgramInPath(const std::string& name);

// An address such as "https://host/page" or "mailto:someone" rather than a
// file: it is opened by the desktop's opener and never looked for on disk.
bool IsAddress(std::string_view target);

} // namespace tramble
