#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tramble {

struct TServerName {
    std::string Host; // a name or an address, IPv6 without brackets
    uint16_t Port = 123;

    bool operator==(const TServerName&) const = default;
};

// "host", "host:port", "1.2.3.4:port", "[v6addr]:port", "[v6addr]" or a bare
// IPv6 address (which takes no port); blanks around it are dropped. Nothing
// for an empty host, a port outside 1..65535 or stray brackets.
std::optional<TServerName> ParseServerName(std::string_view text);

} // namespace tramble
