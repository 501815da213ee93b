#include "tray/TrayTools.h"

#include "shell/ExecLine.h"

#include <algorithm>
#include <map>

namespace tramble {

const std::vector<std::vector<std::string>>& TrayToolCandidates(TTrayTool tool)
{
    static const std::map<TTrayTool, std::vector<std::vector<std::string>>> candidates{
        {TTrayTool::System, {{"gnome-control-center"}, {"systemsettings"}, {"xfce4-settings-manager"}}},
        {TTrayTool::TaskManager,
         {{"gnome-system-monitor"},
          {"plasma-systemmonitor"},
          {"xfce4-taskmanager"},
          {"lxtask"},
          {"x-terminal-emulator", "-e", "top"},
          {"gnome-terminal", "--", "top"},
          {"konsole", "-e", "top"},
          {"xfce4-terminal", "-e", "top"},
          {"xterm", "-e", "top"}}},
        {TTrayTool::Power, {{"gnome-control-center", "power"}, {"xfce4-power-manager-settings"}}},
        {TTrayTool::NetConnect, {{"nm-connection-editor"}, {"gnome-control-center", "network"}}},
    };
    return candidates.at(tool);
}

std::optional<std::vector<std::string>> FindTrayTool(TTrayTool tool, std::string_view pathList)
{
    for (const std::vector<std::string>& candidate : TrayToolCandidates(tool)) {
        const std::string program = FindProgramInPath(candidate.front(), pathList);
        if (program.find('/') == std::string::npos)
            continue;
        std::vector<std::string> command = candidate;
        command.front() = program;
        return command;
    }
    return std::nullopt;
}

std::string TrayToolNames(TTrayTool tool)
{
    std::vector<std::string> seen;
    std::string names;
    for (const std::vector<std::string>& candidate : TrayToolCandidates(tool)) {
        if (std::find(seen.begin(), seen.end(), candidate.front()) != seen.end())
            continue;
        seen.push_back(candidate.front());
        names += (names.empty() ? "" : ", ") + candidate.front();
    }
    return names;
}

} // namespace tramble
