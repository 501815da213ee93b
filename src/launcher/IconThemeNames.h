#pragma once

#include <string>
#include <vector>

namespace tramble {

// The names of every icon that the given themes (and the themes they inherit,
// then "hicolor") hold under the icon folders, sorted and without repeats:
// the stems of their PNG, SVG and XPM files. Symbolic variants are left out,
// since they draw as single-colour outlines.
std::vector<std::string> IconThemeNames(const std::vector<std::string>& iconFolders,
                                        const std::vector<std::string>& themes);

} // namespace tramble
