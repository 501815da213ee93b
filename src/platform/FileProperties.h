#pragma once

#include <cstdint>
#include <string>

namespace tramble::platform {

// What the properties window shows of a file or folder.
struct TFileProperties {
    bool Exists = false;
    std::string Path;
    std::string Kind;     // "Folder", "File", "Link", "Other"
    std::string MimeType; // of the name's extension; empty when unknown
    int64_t Size = 0;
    std::string Permissions; // "rwxr-xr-x"
    std::string Owner;
    std::string Group;
    int64_t Modified = 0; // seconds since 1970
    int64_t Accessed = 0;
    int64_t Changed = 0;
    std::string LinkTarget; // of a symbolic link
};

TFileProperties ReadFileProperties(const std::string& path);

// The nine permission letters of a mode, "-" where a right is missing.
std::string PermissionText(unsigned mode);

} // namespace tramble::platform
