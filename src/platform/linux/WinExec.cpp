#include "platform/WinExec.h"

#include "platform/Launch.h"
#include "shell/ExecLine.h"
#include "shell/ShellWords.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tramble::platform {
namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace

int WinExec(const std::string& commandLine)
{
    std::vector<std::string> words = SplitShellWords(commandLine);
    if (words.empty() || words.front().empty())
        return kOpenNotFound;
    // A bare name is looked up in PATH only; one not found there is no program.
    const std::string program = FindProgramInPath(words.front());
    if (program.find('/') == std::string::npos || !IsExecutableFile(program))
        return kOpenNotFound;
    words.front() = program;
    const int error = SpawnDetached(words, {});
    return error == 0 ? kOpenStarted : OpenResultForError(error);
}

} // namespace tramble::platform
