#pragma once

// A D-Bus daemon of the test's own, listening on a socket in a temporary
// folder, so that services and clients meet without the machine's buses.
#include "support/TempDir.h"
#include "support/XSession.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace tramble::test {

class PrivateBus {
public:
    PrivateBus()
    {
        if (!OnPath("dbus-daemon"))
            return;
        const std::string socket = m_dir.file("bus");
        const std::string config = m_dir.file("bus.conf");
        WriteFileBytes(config, "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                               "<busconfig>\n"
                               "  <type>session</type>\n"
                               "  <listen>unix:path=" +
                                   socket +
                                   "</listen>\n"
                                   "  <auth>EXTERNAL</auth>\n"
                                   "  <policy context=\"default\">\n"
                                   "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                                   "    <allow eavesdrop=\"true\"/>\n"
                                   "    <allow own=\"*\"/>\n"
                                   "  </policy>\n"
                                   "</busconfig>\n");
        m_daemon = std::make_unique<Process>(
            std::vector<std::string>{"/usr/bin/dbus-daemon", "--nofork", "--config-file=" + config},
            std::map<std::string, std::string>{});
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!std::filesystem::exists(socket) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (std::filesystem::exists(socket))
            m_address = "unix:path=" + socket;
    }

    // "" when no daemon could be started.
    const std::string& Address() const { return m_address; }

    // An address where nothing listens.
    std::string DeadAddress() const { return "unix:path=" + m_dir.file("nobody"); }

private:
    TempDir m_dir;
    std::unique_ptr<Process> m_daemon;
    std::string m_address;
};

} // namespace tramble::test
