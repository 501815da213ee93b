#pragma once

#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tramble::test {

// What the argument-dump program wrote: its working folder, whether it led
// its own session, its process id and its arguments.
struct ArgvDump {
    std::string Folder;
    bool OwnSession = false;
    int Pid = 0;
    std::vector<std::string> Argv;
};

// Waits up to five seconds for the dump file and reads it.
inline std::optional<ArgvDump> WaitForArgvDump(const std::string& path)
{
    for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!std::filesystem::exists(path))
        return std::nullopt;
    const std::string bytes = ReadFileBytes(path);
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
        fields.push_back(bytes.substr(start, end - start));
    if (fields.size() < 4)
        return std::nullopt;
    ArgvDump dump;
    dump.Folder = fields[0];
    dump.OwnSession = fields[1] == "session";
    dump.Pid = std::stoi(fields[2]);
    dump.Argv.assign(fields.begin() + 3, fields.end());
    return dump;
}

} // namespace tramble::test
