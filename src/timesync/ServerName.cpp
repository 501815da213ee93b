#include "timesync/ServerName.h"

namespace tramble {
namespace {

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<uint16_t> ParsePort(std::string_view text)
{
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    uint32_t port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + static_cast<uint32_t>(c - '0');
    }
    if (port == 0 || port > 65535)
        return std::nullopt;
    return static_cast<uint16_t>(port);
}

bool HasAny(std::string_view text, std::string_view chars)
{
    return text.find_first_of(chars) != std::string_view::npos;
}

} // namespace

std::optional<TServerName> ParseServerName(std::string_view text)
{
    text = Trim(text);
    TServerName name;
    std::string_view host = text;
    if (text.starts_with('[')) {
        const size_t close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            const std::optional<uint16_t> port = rest.starts_with(':') ? ParsePort(rest.substr(1)) : std::nullopt;
            if (!port)
                return std::nullopt;
            name.Port = *port;
        }
    } else if (const size_t colon = text.find(':'); colon != std::string_view::npos && text.rfind(':') == colon) {
        // One colon: a port. More than one: an IPv6 address on its own.
        const std::optional<uint16_t> port = ParsePort(text.substr(colon + 1));
        if (!port)
            return std::nullopt;
        host = text.substr(0, colon);
        name.Port = *port;
    }
    if (host.empty() || HasAny(host, "[] \t") || host.find('\0') != std::string_view::npos)
        return std::nullopt;
    name.Host = std::string(host);
    return name;
}

} // namespace tramble
