// The real program under Xvfb with a window manager and a tray host.
#include "store/FastIniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
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

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool OnPath(const std::string& program)
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
            std::this_thread::sleep_for(20ms);
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
        if (!Wait(3s)) {
            ::kill(m_pid, SIGKILL);
            Wait(3s);
        }
    }

private:
    pid_t m_pid = -1;
    int m_status = -1;
};

std::string RunCommand(const std::string& command)
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

class BarEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "openbox", "trayer", "xdotool", "xwininfo"}) {
            if (!OnPath(tool))
                GTEST_SKIP() << tool << " is not installed";
        }
        fs::create_directories(m_dir.path() / "run");
        fs::permissions(m_dir.path() / "run", fs::perms::owner_all);
        fs::create_directories(m_dir.path() / "home");
        StartDisplay();
        ASSERT_FALSE(m_display.empty()) << "Xvfb did not start";
        m_env = {{"DISPLAY", m_display},
                 {"QT_QPA_PLATFORM", "xcb"},
                 {"XDG_RUNTIME_DIR", (m_dir.path() / "run").string()},
                 {"HOME", (m_dir.path() / "home").string()},
                 {"XDG_CONFIG_HOME", (m_dir.path() / "home" / ".config").string()}};
        m_openbox.emplace(std::vector<std::string>{"/usr/bin/openbox"}, m_env);
        std::this_thread::sleep_for(300ms);
        m_trayer.emplace(std::vector<std::string>{"/usr/bin/trayer", "--edge", "bottom", "--align", "right",
                                                  "--widthtype", "request", "--height", "24", "--SetDockType", "true",
                                                  "--SetPartialStrut", "true"},
                         m_env);
    }

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

    std::string X(const std::string& command)
    {
        return RunCommand("DISPLAY=" + m_display + " " + command + " 2>/dev/null");
    }

    // The window whose name matches, once it is mapped.
    std::optional<WindowInfo> WaitForWindow(const std::string& name, std::chrono::seconds limit = 15s)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            const std::string ids = X("xdotool search --onlyvisible --name '" + name + "'");
            if (!ids.empty()) {
                WindowInfo info;
                info.Id = ids.substr(0, ids.find('\n'));
                const std::string text = X("xwininfo -id " + info.Id);
                std::smatch m;
                auto number = [&](const char* label) {
                    return std::regex_search(text, m, std::regex(std::string(label) + R"(:\s*(-?\d+))"))
                               ? std::stoi(m[1])
                               : -1;
                };
                info.X = number("Absolute upper-left X");
                info.Y = number("Absolute upper-left Y");
                info.Width = number("Width");
                info.Height = number("Height");
                return info;
            }
            std::this_thread::sleep_for(100ms);
        }
        return std::nullopt;
    }

    int CountWindows(const std::string& name)
    {
        const std::string ids = X("xdotool search --onlyvisible --name '" + name + "'");
        return static_cast<int>(std::count(ids.begin(), ids.end(), '\n'));
    }

    std::string CopyProgram(const std::string& folder)
    {
        fs::create_directories(m_dir.path() / folder);
        const fs::path target = m_dir.path() / folder / "tramble";
        fs::copy_file(TRAMBLE_EXECUTABLE, target);
        return target.string();
    }

    test::TempDir m_dir;
    std::string m_display;
    std::map<std::string, std::string> m_env;
    std::optional<Process> m_xvfb;
    std::optional<Process> m_openbox;
    std::optional<Process> m_trayer;
};

TEST_F(BarEndToEnd, StartsOnceShowsItsCopyNumberAndEndsByExit)
{
    const std::string first = CopyProgram("a");
    const std::string other = CopyProgram("b");

    Process bar({first}, m_env);
    const auto window = WaitForWindow("^Kuv 2.0$");
    ASSERT_TRUE(window) << "the bar did not appear";
    // The bar stands at an edge of the screen; the pointer on it keeps it
    // from hiding itself.
    X("xdotool mousemove --window " + window->Id + " 20 20");
    EXPECT_EQ(window->Width, 3 * 36);
    EXPECT_GT(window->Height, 36);

    // A second start of the same copy ends silently.
    Process again({first}, m_env);
    EXPECT_EQ(again.Wait(10s), 0);
    EXPECT_EQ(CountWindows("^Kuv 2.0$"), 1);

    // A copy in another folder is instance 1; the end of its session ends
    // it through the shut-down order.
    Process second({other}, m_env);
    ASSERT_TRUE(WaitForWindow("^\\[1\\] Kuv 2.0$")) << "the second copy did not appear";
    second.Signal(SIGTERM);
    EXPECT_EQ(second.Wait(10s), 0);
    TFastIniFile secondIni((m_dir.path() / "b" / "tramble.ini").string());
    EXPECT_EQ(secondIni.ReadNumber("last", "run", 0), 1);
    EXPECT_TRUE(secondIni.HasKey("last", "Left"));

    // "Exit" from the bar menu: the last item of the context menu. A busy
    // machine may be slow to open the menu, so it is tried a few times.
    std::optional<int> status;
    for (int attempt = 0; attempt < 4 && !status; ++attempt) {
        X("xdotool mousemove --window " + window->Id + " 10 10 click 3");
        std::this_thread::sleep_for(500ms + attempt * 500ms);
        X("xdotool key Up");
        std::this_thread::sleep_for(200ms);
        X("xdotool key Return");
        status = bar.Wait(5s);
        if (!status)
            X("xdotool key Escape");
    }
    ASSERT_EQ(status, 0) << "Exit did not end the program";

    TFastIniFile ini((m_dir.path() / "a" / "tramble.ini").string());
    EXPECT_EQ(ini.ReadNumber("last", "run", 0), 1);
    ASSERT_TRUE(ini.HasKey("last", "Left"));
    ASSERT_TRUE(ini.HasKey("last", "Top"));
    // The stored place is the frame's corner, at most a frame's width away
    // from the client's.
    EXPECT_NEAR(ini.ReadNumber("last", "Left", -100), window->X, 40);
    EXPECT_NEAR(ini.ReadNumber("last", "Top", -100), window->Y, 60);
    EXPECT_EQ(ini.ReadNumber("last", "Width", 0), window->Width);
    EXPECT_EQ(ini.ReadNumber("last", "Height", 0), window->Height);
    EXPECT_FALSE(fs::exists(m_dir.path() / "a" / "tramble.in0")); // nothing to back up before the first start
}

} // namespace
} // namespace tramble
