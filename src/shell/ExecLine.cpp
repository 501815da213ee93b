#include "shell/ExecLine.h"

#include "shell/DesktopEntry.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace tramble {

TExecCommand ParseExecCommand(std::string_view exec)
{
    const std::vector<std::string> words = ExpandFieldCodes(SplitExecLine(exec), {});
    TExecCommand command;
    if (words.empty())
        return command;
    command.Program = FindProgramInPath(words.front());
    command.Arguments.assign(words.begin() + 1, words.end());
    return command;
}

std::string BuildExecLine(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string line = QuoteExecArgument(program);
    for (const std::string& word : arguments)
        line += " " + QuoteExecArgument(word);
    return line;
}

std::string FindProgramInPath(const std::string& name, std::string_view pathList)
{
    if (name.empty() || name.find('/') != std::string::npos)
        return name;
    while (true) {
        const size_t colon = pathList.find(':');
        std::string folder(pathList.substr(0, colon));
        if (folder.empty())
            folder = ".";
        const std::string candidate = folder + "/" + name;
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos)
            return name;
        pathList.remove_prefix(colon + 1);
    }
}

bool IsAddress(std::string_view target)
{
    const size_t colon = target.find("://");
    return (colon != std::string_view::npos && colon > 0) || target.starts_with("mailto:");
}

std::string FindProgramInPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    return FindProgramInPath(name, path ? path : "/usr/local/bin:/usr/bin:/bin");
}

} // namespace tramble
