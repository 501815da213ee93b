#include "platform/DisplayChoice.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tramble::platform {
namespace {

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The display number of a local display name, without its screen.
std::optional<std::string> LocalDisplayNumber(std::string_view display)
{
    const size_t colon = display.rfind(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::string_view host = display.substr(0, colon);
    if (!host.empty() && host != "unix")
        return std::nullopt;
    std::string_view number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty() || number.size() > 9)
        return std::nullopt;
    for (char c : number) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    return std::string(number);
}

} // namespace

std::optional<std::string> PreferredQtPlatform(const TSessionDisplays& displays,
                                               const std::function<bool(std::string_view display)>& xReachable)
{
    if (displays.WaylandDisplay.empty() || !displays.QtPlatform.empty())
        return std::nullopt;
    if (!displays.X11Display.empty() && xReachable(displays.X11Display))
        return "xcb";
    return "wayland";
}

std::optional<std::string> PreferredQtPlatform()
{
    const TSessionDisplays displays{Variable("WAYLAND_DISPLAY"), Variable("DISPLAY"), Variable("QT_QPA_PLATFORM")};
    return PreferredQtPlatform(displays, [](std::string_view display) { return XDisplayReachable(display); });
}

bool InWaylandSession()
{
    return !Variable("WAYLAND_DISPLAY").empty();
}

bool XDisplayReachable(std::string_view display, const std::string& socketFolder)
{
    const std::optional<std::string> number = LocalDisplayNumber(display);
    if (!number)
        return false;
    const std::string path = socketFolder + "/X" + *number;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    // Never blocks: a server whose backlog is full is there all the same.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
                           errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return connected;
}

} // namespace tramble::platform
