#pragma once

// Settings for a bar under test: the clock sync switched off, so that no bar
// a test starts ever asks a time server outside the machine.
#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace tramble::test {

inline std::string WithoutClockSync(std::string ini)
{
    const std::string section = "[cfg]\n";
    if (const size_t at = ini.find(section); at != std::string::npos)
        return ini.insert(at + section.size(), "SyncTime=0\n");
    return ini + section + "SyncTime=0\n";
}

// Writes the switch into the settings file unless the test wrote one itself.
inline void SwitchOffClockSync(const std::string& iniPath)
{
    if (!std::filesystem::exists(iniPath))
        WriteFileBytes(iniPath, WithoutClockSync(""));
}

} // namespace tramble::test
