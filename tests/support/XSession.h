#pragma once

// A virtual X display with a window manager and a tray host, and the child
// processes that run on it, for tests of the real program.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <poll.h>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tramble::test {

inline bool OnPath(const std::string& program)
{
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        if (::access((std::string(folder) + "/" + program).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

// A child process with extra environment, ended (TERM, then KILL) when dropped.
class Process {
public:
    Process(std::vector<std::string> argv, const std::map<std::string, std::string>& env, int keepFd = -1)
    {
        std::vector<std::string> envText;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            if (!env.contains(entry.substr(0, entry.find('='))))
                envText.push_back(entry);
        }
        for (const auto& [key, value] : env)
            envText.push_back(key + "=" + value);
        m_pid = ::fork();
        if (m_pid == 0) {
            std::vector<char*> args;
            for (std::string& a : argv)
                args.push_back(a.data());
            args.push_back(nullptr);
            std::vector<char*> envp;
            for (std::string& e : envText)
                envp.push_back(e.data());
            envp.push_back(nullptr);
            ::setpgid(0, 0);
            const int devNull = ::open("/dev/null", O_RDWR);
            ::dup2(devNull, 0);
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
            for (int fd = 3; fd < 256; ++fd) {
                if (fd != keepFd)
                    ::close(fd);
            }
            ::execve(args[0], args.data(), envp.data());
            ::_exit(127);
        }
    }
    ~Process() { Stop(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t Pid() const { return m_pid; }

    // The exit status once the process ended within the time; nothing if not.
    std::optional<int> Wait(std::chrono::milliseconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (m_pid > 0) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            if (std::chrono::steady_clock::now() > end)
                return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return m_status;
    }

    void Signal(int signal)
    {
        if (m_pid > 0)
            ::kill(m_pid, signal);
    }

    void Stop()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        if (!Wait(std::chrono::seconds(3))) {
            ::kill(m_pid, SIGKILL);
            Wait(std::chrono::seconds(3));
        }
    }

private:
    pid_t m_pid = -1;
    int m_status = -1;
};

inline std::string RunCommand(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

struct WindowInfo {
    std::string Id;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

// Xvfb (1024×768) with openbox and trayer, and the environment a program
// started on it needs. Everything ends when the session is dropped.
class XSession {
public:
    static constexpr const char* kTools[] = {"Xvfb", "openbox", "trayer", "xdotool", "xwininfo"};

    // The first tool the session, or the test with its own tools, needs that
    // is not installed, if any.
    static std::optional<std::string> MissingTool(std::initializer_list<const char*> testTools = {})
    {
        for (const char* tool : kTools) {
            if (!OnPath(tool))
                return tool;
        }
        for (const char* tool : testTools) {
            if (!OnPath(tool))
                return tool;
        }
        return std::nullopt;
    }

    // root: a private folder for the runtime and home folders.
    bool Start(const std::filesystem::path& root)
    {
        namespace fs = std::filesystem;
        fs::create_directories(root / "run");
        fs::permissions(root / "run", fs::perms::owner_all);
        fs::create_directories(root / "home");
        StartDisplay();
        if (m_display.empty())
            return false;
        m_env = {{"DISPLAY", m_display},
                 {"QT_QPA_PLATFORM", "xcb"},
                 {"XDG_RUNTIME_DIR", (root / "run").string()},
                 {"HOME", (root / "home").string()},
                 {"XDG_CONFIG_HOME", (root / "home" / ".config").string()}};
        m_openbox.emplace(std::vector<std::string>{"/usr/bin/openbox"}, m_env);
        // A window mapped before the window manager runs is placed anew when
        // it takes over, so nothing starts before it has announced itself.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (X("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") == std::string::npos &&
               std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m_trayer.emplace(std::vector<std::string>{"/usr/bin/trayer", "--edge", "bottom", "--align", "right",
                                                  "--widthtype", "request", "--height", "24", "--SetDockType", "true",
                                                  "--SetPartialStrut", "true"},
                         m_env);
        return true;
    }

    const std::map<std::string, std::string>& Env() const { return m_env; }
    const std::string& Display() const { return m_display; }

    // A command run against the display; its standard output.
    std::string X(const std::string& command) const
    {
        return RunCommand("DISPLAY=" + m_display + " " + command + " 2>/dev/null");
    }

    std::optional<WindowInfo> Info(const std::string& id) const
    {
        const std::string text = X("xwininfo -id " + id);
        std::smatch m;
        auto number = [&](const char* label) {
            return std::regex_search(text, m, std::regex(std::string(label) + R"(:\s*(-?\d+))")) ? std::stoi(m[1]) : -1;
        };
        WindowInfo info;
        info.Id = id;
        info.X = number("Absolute upper-left X");
        info.Y = number("Absolute upper-left Y");
        info.Width = number("Width");
        info.Height = number("Height");
        if (info.Width < 0)
            return std::nullopt;
        return info;
    }

    // The visible windows xdotool finds with these search arguments.
    std::vector<WindowInfo> Windows(const std::string& search) const
    {
        std::vector<WindowInfo> windows;
        const std::string ids = X("xdotool search --onlyvisible " + search);
        size_t start = 0;
        for (size_t end; (end = ids.find('\n', start)) != std::string::npos; start = end + 1) {
            if (auto info = Info(ids.substr(start, end - start)))
                windows.push_back(*info);
        }
        return windows;
    }

    // The first visible window the search finds, once there is one.
    std::optional<WindowInfo> WaitForWindow(const std::string& search,
                                            std::chrono::milliseconds limit = std::chrono::seconds(15)) const
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            const std::vector<WindowInfo> found = Windows(search);
            if (!found.empty())
                return found.front();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return std::nullopt;
    }

    // The bar of the program with this process id, once it shows: its largest
    // window, since the tray icons of a bar without a tray host are small
    // windows of the same process and caption.
    std::optional<WindowInfo> WaitForBar(pid_t pid, std::chrono::milliseconds limit = std::chrono::seconds(15)) const
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            const std::vector<WindowInfo> found =
                Windows("--all --pid " + std::to_string(pid) + " --name '^(\\[[0-9]\\] )?Kuv'");
            const auto largest =
                std::max_element(found.begin(), found.end(), [](const WindowInfo& a, const WindowInfo& b) {
                    return a.Width * a.Height < b.Width * b.Height;
                });
            if (largest != found.end() && largest->Width > 40)
                return *largest;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return std::nullopt;
    }

private:
    void StartDisplay()
    {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            return;
        m_xvfb.emplace(std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen",
                                                "0", "1024x768x24", "-nolisten", "tcp"},
                       std::map<std::string, std::string>{}, pipeFds[1]);
        ::close(pipeFds[1]);
        pollfd wait{pipeFds[0], POLLIN, 0};
        std::string number;
        while (::poll(&wait, 1, 10000) == 1) {
            char c;
            if (::read(pipeFds[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        ::close(pipeFds[0]);
        if (!number.empty())
            m_display = ":" + number;
    }

    std::string m_display;
    std::map<std::string, std::string> m_env;
    // Declared in start order, so they end in reverse: tray, manager, display.
    std::optional<Process> m_xvfb;
    std::optional<Process> m_openbox;
    std::optional<Process> m_trayer;
};

} // namespace tramble::test
