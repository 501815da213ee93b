#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tramble::platform {

// The display variables a session hands the program; unset ones are empty.
struct TSessionDisplays {
    std::string WaylandDisplay; // WAYLAND_DISPLAY
    std::string X11Display;     // DISPLAY
    std::string QtPlatform;     // QT_QPA_PLATFORM, the user's own choice
};

// A Wayland client may not place its window, keep it on top or read the
// pointer, and the bar needs all three. In a Wayland session the program runs
// on "xcb" when an X display (XWayland) can be reached, else on "wayland"
// (Qt alone would try X on GNOME). Nothing outside a Wayland session and
// when the user chose a platform. xReachable is asked only when it decides.
std::optional<std::string> PreferredQtPlatform(const TSessionDisplays& displays,
                                               const std::function<bool(std::string_view display)>& xReachable);
// The same for this process's environment and its X display.
std::optional<std::string> PreferredQtPlatform();

// Whether this process runs in a Wayland session, which hands its programs
// WAYLAND_DISPLAY; also true for one that runs on XWayland.
bool InWaylandSession();

// Whether a local X display (":0", ":1.0", "unix:2") accepts a connection on
// its socket in socketFolder. Remote displays ("host:0") do not count.
bool XDisplayReachable(std::string_view display, const std::string& socketFolder = "/tmp/.X11-unix");

} // namespace tramble::platform
