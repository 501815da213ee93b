// Time from starting a process until its first window is mapped on a bare
// Xvfb server, for the bar (no entries) and for a minimal Qt window started
// in turns; then the idle bar's peak memory.
#include <benchmark/benchmark.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::string g_display;
pid_t g_xvfb = -1;
// One connection for the whole run, so that the server never resets between
// benchmarks; it listens for windows being mapped.
xcb_connection_t* g_connection = nullptr;
fs::path g_root;
std::string g_bar;
std::map<std::string, std::vector<double>> g_times;
double g_peakMegabytes = 0;

pid_t Spawn(const std::string& program, int keepFd = -1, const char* argument = nullptr)
{
    const std::string display = "DISPLAY=" + g_display;
    const std::string runtime = "XDG_RUNTIME_DIR=" + (g_root / "run").string();
    pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<std::string> env{display, runtime, "QT_QPA_PLATFORM=xcb"};
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            if (!entry.starts_with("DISPLAY=") && !entry.starts_with("XDG_RUNTIME_DIR=") &&
                !entry.starts_with("QT_QPA_PLATFORM="))
                env.push_back(entry);
        }
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        const int devNull = ::open("/dev/null", O_RDWR);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        for (int fd = 3; fd < 256; ++fd) {
            if (fd != keepFd)
                ::close(fd);
        }
        if (keepFd >= 0) {
            const std::string fd = std::to_string(keepFd);
            ::execle(program.c_str(), program.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp", nullptr, envp.data());
        }
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argument), nullptr};
        ::execve(program.c_str(), argv, envp.data());
        ::_exit(127);
    }
    return pid;
}

void End(pid_t pid)
{
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(10ms);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

bool StartServer()
{
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    g_xvfb = Spawn("/usr/bin/Xvfb", fds[1]);
    ::close(fds[1]);
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    while (::poll(&wait, 1, 10000) == 1) {
        char c;
        if (::read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    ::close(fds[0]);
    g_display = ":" + number;
    return !number.empty();
}

// Waits for a window to be mapped on the root window; seconds, or -1.
double TimeUntilMapped(xcb_connection_t* connection, Clock::time_point started)
{
    const int fd = xcb_get_file_descriptor(connection);
    while (Clock::now() - started < 20s) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                return std::chrono::duration<double>(Clock::now() - started).count();
        }
        pollfd wait{fd, POLLIN, 0};
        ::poll(&wait, 1, 50);
    }
    return -1;
}

double PeakMegabytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:"))
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

bool Connect()
{
    g_connection = xcb_connect(g_display.c_str(), nullptr);
    if (xcb_connection_has_error(g_connection))
        return false;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(g_connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(g_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(g_connection);
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Starts the program and returns the seconds until its window was mapped,
// or -1; the program is ended again, after `idle` when it is given.
double StartOnce(const std::string& program, const char* argument = nullptr, std::chrono::milliseconds idle = 0ms,
                 double* peakMegabytes = nullptr)
{
    const auto started = Clock::now();
    const pid_t pid = Spawn(program, -1, argument);
    const double seconds = TimeUntilMapped(g_connection, started);
    if (seconds >= 0 && peakMegabytes) {
        std::this_thread::sleep_for(idle);
        *peakMegabytes = PeakMegabytes(pid);
    }
    End(pid);
    std::this_thread::sleep_for(50ms);
    while (xcb_generic_event_t* event = xcb_poll_for_event(g_connection))
        std::free(event);
    return seconds;
}

// The bar and the minimal window start in turns, so that both see the same
// load of the machine; the time reported is the bar's.
void BM_BarAgainstMinimalWindow(benchmark::State& state)
{
    for (auto _ : state) {
        const double minimal = StartOnce(TRAMBLE_MINIMAL_WINDOW);
        const double textBox = StartOnce(TRAMBLE_MINIMAL_WINDOW, "--text-box");
        const double bar = StartOnce(g_bar);
        if (minimal < 0 || textBox < 0 || bar < 0) {
            state.SkipWithError("no window was mapped");
            break;
        }
        state.SetIterationTime(bar);
        g_times["minimal"].push_back(minimal);
        g_times["text box"].push_back(textBox);
        g_times["bar"].push_back(bar);
    }
    state.counters["bar_ms"] = Median(g_times["bar"]) * 1000;
    state.counters["minimal_ms"] = Median(g_times["minimal"]) * 1000;
    state.counters["text_box_ms"] = Median(g_times["text box"]) * 1000;
    state.counters["ratio"] = Median(g_times["bar"]) / std::max(Median(g_times["minimal"]), 1e-9);
}

void BM_IdleBarPeakMemory(benchmark::State& state)
{
    for (auto _ : state) {
        const double seconds = StartOnce(g_bar, nullptr, 2s, &g_peakMegabytes);
        if (seconds < 0) {
            state.SkipWithError("no window was mapped");
            break;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["peak_MB"] = g_peakMegabytes;
}

BENCHMARK(BM_BarAgainstMinimalWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(25);
BENCHMARK(BM_IdleBarPeakMemory)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    char pattern[] = "/tmp/tramble-bench-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    g_root = pattern;
    fs::create_directories(g_root / "run");
    fs::permissions(g_root / "run", fs::perms::owner_all);
    // A copy of the bar with settings of a later start and no entries.
    g_bar = (g_root / "tramble").string();
    fs::copy_file(TRAMBLE_EXECUTABLE, g_bar);
    std::ofstream(g_root / "tramble.ini") << "[last]\nrun=5\nLeft=100\nTop=100\n[Button]\nNum=0\n";
    if (!StartServer() || !Connect()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    xcb_disconnect(g_connection);
    End(g_xvfb);
    fs::remove_all(g_root);

    const double minimal = Median(g_times["minimal"]);
    const double textBox = Median(g_times["text box"]);
    const double bar = Median(g_times["bar"]);
    if (minimal > 0 && textBox > 0 && bar > 0) {
        std::printf("median until mapped: bar %.1f ms, minimal Qt window %.1f ms, ratio %.2f (target 1.5)\n",
                    bar * 1000, minimal * 1000, bar / minimal);
        std::printf("minimal Qt window with a line edit %.1f ms, ratio of the bar to it %.2f\n", textBox * 1000,
                    bar / textBox);
    }
    std::printf("peak memory of the idle bar: %.1f MB (target below 80)\n", g_peakMegabytes);
    return 0;
}
