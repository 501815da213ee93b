#pragma once

#include "support/TempDir.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tramble::test {

// A chronyd of the test's own: an NTP server on a free loopback port that
// never touches the clock (-x), with its configuration, pid and drift files
// in a temporary folder. Stopped when the object goes.
class ChronyServer {
public:
    ChronyServer()
    {
        const std::string program = FindChronyd();
        if (program.empty()) {
            m_reason = "chronyd is not installed";
            return;
        }
        m_port = FreeUdpPort();
        if (m_port == 0) {
            m_reason = "no free UDP port on 127.0.0.1";
            return;
        }
        WriteFileBytes(m_dir.file("chrony.conf"), "local stratum 10\n"
                                                  "allow 127.0.0.1\n"
                                                  "allow ::1\n"
                                                  "port " +
                                                      std::to_string(m_port) +
                                                      "\n"
                                                      "bindaddress 127.0.0.1\n"
                                                      "bindaddress ::1\n"
                                                      "cmdport 0\n"
                                                      "bindcmdaddress /\n"
                                                      "pidfile " +
                                                      m_dir.file("chronyd.pid") +
                                                      "\n"
                                                      "driftfile " +
                                                      m_dir.file("chrony.drift") + "\n");
        // Root would hand the process to chrony's own user, which cannot
        // write to our folder; anyone else runs it as themselves.
        const passwd* user = ::getpwuid(::geteuid());
        std::vector<std::string> args = {
            program, "-x", "-d", "-f", m_dir.file("chrony.conf"), "-u", user ? user->pw_name : "root"};
        if (::geteuid() != 0)
            args.push_back("-U");
        m_pid = Spawn(args, m_dir.file("chronyd.log"));
        if (m_pid <= 0) {
            m_reason = "chronyd could not be started";
            return;
        }
        if (!WaitUntilServing()) {
            m_reason = "chronyd did not serve: " + ReadFileBytes(m_dir.file("chronyd.log"));
            Stop();
        }
    }

    ~ChronyServer() { Stop(); }
    ChronyServer(const ChronyServer&) = delete;
    ChronyServer& operator=(const ChronyServer&) = delete;

    bool Serving() const { return m_pid > 0; }
    // Why it does not serve.
    const std::string& Reason() const { return m_reason; }
    uint16_t Port() const { return m_port; }

private:
    static std::string FindChronyd()
    {
        for (const char* path : {"/usr/sbin/chronyd", "/sbin/chronyd", "/usr/bin/chronyd"}) {
            if (::access(path, X_OK) == 0)
                return path;
        }
        return {};
    }

    static uint16_t FreeUdpPort()
    {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        uint16_t port = 0;
        if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) == 0)
            port = ntohs(a.sin_port);
        if (fd >= 0)
            ::close(fd);
        return port;
    }

    static pid_t Spawn(const std::vector<std::string>& args, const std::string& log)
    {
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = 0;
        const int rc = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        return rc == 0 ? pid : -1;
    }

    // Asks for the time until a synchronised answer comes, the process ends
    // or ten seconds pass.
    bool WaitUntilServing()
    {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(m_port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bool serving = false;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!serving && std::chrono::steady_clock::now() < end) {
            if (::waitpid(m_pid, nullptr, WNOHANG) != 0) {
                m_pid = -1; // it ended on its own
                break;
            }
            uint8_t request[48] = {0x1B};
            request[47] = 1;
            ::sendto(fd, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0) {
                uint8_t reply[64];
                const ssize_t n = ::recv(fd, reply, sizeof reply, 0);
                serving = n >= 48 && (reply[0] >> 6) != 3 && reply[1] > 0 && reply[1] < 16;
            }
        }
        ::close(fd);
        return serving;
    }

    void Stop()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100 && ::waitpid(m_pid, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (::waitpid(m_pid, &status, WNOHANG) == 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
        }
        m_pid = -1;
    }

    TempDir m_dir;
    uint16_t m_port = 0;
    pid_t m_pid = -1;
    std::string m_reason;
};

} // namespace tramble::test
