#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// The system tools the tray menus start.
enum class TTrayTool { System, TaskManager, Power, NetConnect };

// The command lines that can stand for a tool, the preferred first.
const std::vector<std::vector<std::string>>& TrayToolCandidates(TTrayTool tool);

// The first candidate whose program is in one of the colon-separated folders,
// with the program as a full path; nothing when none is installed.
std::optional<std::vector<std::string>> FindTrayTool(TTrayTool tool, std::string_view pathList);

// The candidates' program names, for telling the user what to install.
std::string TrayToolNames(TTrayTool tool);

} // namespace tramble
