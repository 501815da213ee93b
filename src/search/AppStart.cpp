#include "search/AppStart.h"

#include "shell/ExecLine.h"

#include <array>
#include <unistd.h>

namespace tramble {
namespace {

struct TTerminal {
    std::string_view Name;
    std::string_view RunOption; // empty: the command follows directly
};

constexpr std::array kTerminals{
    TTerminal{"x-terminal-emulator", "-e"},
    TTerminal{"gnome-terminal", "--"},
    TTerminal{"konsole", "-e"},
    TTerminal{"xfce4-terminal", "-x"},
    TTerminal{"mate-terminal", "-x"},
    TTerminal{"lxterminal", "-e"},
    TTerminal{"alacritty", "-e"},
    TTerminal{"kitty", ""},
    TTerminal{"foot", ""},
    TTerminal{"urxvt", "-e"},
    TTerminal{"xterm", "-e"},
};

std::string_view RunOptionOf(std::string_view program)
{
    const std::string_view name = program.substr(program.rfind('/') + 1);
    for (const TTerminal& terminal : kTerminals) {
        if (terminal.Name == name)
            return terminal.RunOption;
    }
    return "-e";
}

std::vector<std::string> TerminalWords(const std::string& path)
{
    std::vector<std::string> words{path};
    if (const std::string_view option = RunOptionOf(path); !option.empty())
        words.emplace_back(option);
    return words;
}

// The program's path when it can be run: a bare name is looked up, a path taken when executable.
std::optional<std::string> Runnable(const std::string& name, std::string_view pathList)
{
    if (name.find('/') != std::string::npos)
        return ::access(name.c_str(), X_OK) == 0 ? std::optional(name) : std::nullopt;
    std::string found = FindProgramInPath(name, pathList);
    return found.find('/') != std::string::npos ? std::optional(std::move(found)) : std::nullopt;
}

} // namespace

std::vector<std::string> FindTerminal(std::string_view pathList, const char* terminalVariable)
{
    if (terminalVariable && *terminalVariable) {
        if (const std::optional<std::string> chosen = Runnable(terminalVariable, pathList))
            return TerminalWords(*chosen);
    }
    for (const TTerminal& terminal : kTerminals) {
        if (const std::optional<std::string> found = Runnable(std::string(terminal.Name), pathList))
            return TerminalWords(*found);
    }
    return {};
}

std::optional<TAppStart> AppStartOf(const TDesktopApp& app, const std::vector<std::string>& terminal)
{
    TExecContext context;
    context.Icon = app.Icon;
    context.Name = app.Name;
    context.Location = app.Path;
    std::vector<std::string> words = ExpandFieldCodes(SplitExecLine(app.Exec), context);
    if (words.empty() || words.front().empty())
        return std::nullopt;
    TAppStart start;
    start.Folder = app.WorkFolder;
    if (app.Terminal) {
        if (terminal.empty())
            return std::nullopt;
        start.Argv = terminal;
    }
    start.Argv.insert(start.Argv.end(), words.begin(), words.end());
    return start;
}

std::string ExecProgramName(std::string_view exec)
{
    const std::vector<std::string> words = SplitExecLine(exec);
    if (words.empty())
        return {};
    const std::string& program = words.front();
    return program.substr(program.rfind('/') + 1);
}

} // namespace tramble
