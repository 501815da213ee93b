// Which Qt platform a session gets, and whether an X display answers.
#include "platform/DisplayChoice.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace tramble::platform {
namespace {

TEST(DisplayChoice, WaylandSessionsPreferAReachableXDisplay)
{
    struct Row {
        TSessionDisplays Displays;
        bool XAnswers;
        std::optional<std::string> Platform;
    };
    const Row rows[] = {
        {{"wayland-0", ":0", ""}, true, "xcb"},               // XWayland is there
        {{"wayland-0", ":0", ""}, false, "wayland"},          // its socket does not answer
        {{"wayland-0", "", ""}, true, "wayland"},             // no X display at all
        {{"wayland-0", ":0", "wayland"}, true, std::nullopt}, // the user's choice holds
        {{"wayland-0", ":0", "offscreen"}, true, std::nullopt},
        {{"", ":0", ""}, true, std::nullopt}, // an X11 session: Qt's own default
        {{"", "", ""}, false, std::nullopt},
    };
    for (const Row& row : rows) {
        int asked = 0;
        const auto reachable = [&](std::string_view display) {
            ++asked;
            EXPECT_EQ(display, row.Displays.X11Display);
            return row.XAnswers;
        };
        EXPECT_EQ(PreferredQtPlatform(row.Displays, reachable), row.Platform)
            << row.Displays.WaylandDisplay << "|" << row.Displays.X11Display << "|" << row.Displays.QtPlatform;
        // The display is only tried when its answer decides.
        const bool decides =
            !row.Displays.WaylandDisplay.empty() && row.Displays.QtPlatform.empty() && !row.Displays.X11Display.empty();
        EXPECT_EQ(asked, decides ? 1 : 0);
    }
}

class ListeningSocket {
public:
    explicit ListeningSocket(const std::string& path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        m_ok = ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 && ::listen(m_fd, 4) == 0;
    }
    ~ListeningSocket() { ::close(m_fd); }
    bool Ok() const { return m_ok; }
    // Stops listening; the socket file stays, as after a crashed server.
    void Close() { ::shutdown(m_fd, SHUT_RDWR), ::close(m_fd), m_fd = -1; }

private:
    int m_fd = -1;
    bool m_ok = false;
};

TEST(DisplayChoice, ALocalDisplayAnswersOnItsSocket)
{
    test::TempDir dir;
    const std::string folder = dir.path().string();
    ListeningSocket server(folder + "/X7");
    ASSERT_TRUE(server.Ok());
    for (const char* display : {":7", ":7.0", "unix:7", "unix:7.1"})
        EXPECT_TRUE(XDisplayReachable(display, folder)) << display;
    for (const char* display : {":8", "", ":", ":x", "7", "otherhost:7", ":7x", ":99999999999"})
        EXPECT_FALSE(XDisplayReachable(display, folder)) << display;

    server.Close();
    EXPECT_FALSE(XDisplayReachable(":7", folder)) << "a stale socket file counts as a server";
}

} // namespace
} // namespace tramble::platform
