#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// What a Windows shell link (.lnk) file holds, in the published Shell Link
// binary format. Texts are UTF-8.
struct TShellLinkData {
    std::string Target; // from the link info (network form first), else the environment block
    std::string WorkingDir;
    std::string Arguments;
    std::string Description;
    std::string RelativePath;
    std::string IconLocation;
    int32_t IconIndex = 0;
    uint32_t ShowCommand = 0;
    uint16_t HotKey = 0; // low byte: key, high byte: modifiers
};

// Whether the data begins like a shell link: header size 76 and the link class.
bool LooksLikeShellLink(std::string_view data);

// The parts of a shell link file; nothing when it is no link or its
// structures run past the end of the data.
std::optional<TShellLinkData> ParseShellLink(std::string_view data);

} // namespace tramble
