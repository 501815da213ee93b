#pragma once

#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace tramble::test {

// Writes a file of a fixture tree, creating its folders.
inline void Put(const TempDir& dir, const std::string& relative, const std::string& content)
{
    const std::filesystem::path path = dir.path() / relative;
    std::filesystem::create_directories(path.parent_path());
    WriteFileBytes(path.string(), content);
}

} // namespace tramble::test
