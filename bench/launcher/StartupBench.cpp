// Start-up of the whole program under Xvfb with a window manager: from the
// start of the process until its window shows and it has ended again, for a
// bar with 500 entries read from the icon cache and the same bar with none.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string g_display;
std::vector<pid_t> g_servers; // Xvfb and the window manager, ended at the end
fs::path g_root;
std::map<std::string, std::vector<double>> g_times; // the last run of each folder

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv)
{
    std::vector<std::string> env(extraEnv);
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::string Run(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

bool StartDisplay()
{
    for (int n = 90; n < 110 && g_display.empty(); ++n) {
        if (fs::exists("/tmp/.X" + std::to_string(n) + "-lock"))
            continue;
        const std::string display = ":" + std::to_string(n);
        const pid_t xvfb = Spawn({"Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {});
        if (xvfb < 0)
            return false;
        g_servers.push_back(xvfb);
        for (int i = 0; i < 100 && g_display.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (fs::exists("/tmp/.X11-unix/X" + std::to_string(n)))
                g_display = display;
        }
    }
    if (g_display.empty())
        return false;
    g_servers.push_back(Spawn({"openbox"}, {"DISPLAY=" + g_display}));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return true;
}

// A copy of the program in its own folder with a settings file holding the
// given entries, placed away from the screen edges so it stays shown.
fs::path Prepare(const std::string& name, const std::vector<std::string>& apps)
{
    const fs::path folder = g_root / name;
    fs::create_directories(folder / "home");
    fs::create_directories(folder / "run");
    fs::permissions(folder / "run", fs::perms::owner_all);
    fs::copy_file(TRAMBLE_EXECUTABLE, folder / "tramble", fs::copy_options::overwrite_existing);
    std::ofstream ini(folder / "tramble.ini");
    ini << "[last]\r\nrun=5\r\nLeft=200\r\nTop=150\r\n[cfg]\r\nSyncTime=0\r\n[Button]\r\nNum=" << apps.size() << "\r\n";
    // Every key of an entry, as the program writes them.
    for (size_t i = 0; i < apps.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        const std::string& app = apps[i];
        const std::string folder = app.substr(0, app.rfind('/') + 1);
        ini << "App" << n << "=" << app << "\r\nAppRunFolder" << n << "=" << folder << "\r\nAppIconFile" << n << "="
            << app << "\r\nAppIconIndex" << n << "=0\r\nAppDescript" << n << "=" << app.substr(folder.size())
            << "\r\nAppArguments" << n << "=\r\nAppPromptArugment" << n << "=0\r\nAutorun" << n << "=0\r\nAppWS" << n
            << "=0\r\nAppRunCount" << n << "=" << i % 13 << "\r\nAppRunTimer" << n << "=0\r\n";
    }
    return folder;
}

struct TRun {
    double WallMs = 0;
    double CpuMs = 0; // user and system time of the program itself
};

// Milliseconds from the start of the process until it has shown its window
// and ended on a termination request; nothing when the window never showed.
std::optional<TRun> StartOnce(const fs::path& folder)
{
    const auto start = Clock::now();
    const pid_t pid = Spawn({(folder / "tramble").string()},
                            {"DISPLAY=" + g_display, "QT_QPA_PLATFORM=xcb", "HOME=" + (folder / "home").string(),
                             "XDG_RUNTIME_DIR=" + (folder / "run").string(),
                             "XDG_CONFIG_HOME=" + (folder / "home" / ".config").string()});
    if (pid < 0)
        return std::nullopt;
    bool shown = false;
    const std::string search =
        "DISPLAY=" + g_display + " xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null";
    while (!shown && Clock::now() - start < std::chrono::seconds(20))
        shown = !Run(search).empty();
    ::kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (!shown)
        return std::nullopt;
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return TRun{std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
                ms(usage.ru_utime) + ms(usage.ru_stime)};
}

double Median(std::vector<double> values);

// Each iteration starts the bar without entries and then with 500 entries
// from the icon cache, so that both see the same load of the machine. The
// iteration time is that of the bar with entries; the counters give both
// medians and their ratio.
void StartupPair(benchmark::State& state)
{
    const fs::path none = g_root / "none";
    const fs::path full = g_root / "cache500";
    std::vector<double> noneTimes, fullTimes, noneCpu, fullCpu;
    for (auto _ : state) {
        const std::optional<TRun> a = StartOnce(none);
        const std::optional<TRun> b = StartOnce(full);
        if (!a || !b) {
            state.SkipWithError("the window did not show");
            return;
        }
        noneTimes.push_back(a->WallMs);
        fullTimes.push_back(b->WallMs);
        noneCpu.push_back(a->CpuMs);
        fullCpu.push_back(b->CpuMs);
        state.SetIterationTime(b->WallMs / 1000.0);
    }
    g_times["none"] = noneTimes;
    g_times["cache500"] = fullTimes;
    g_times["none_cpu"] = noneCpu;
    g_times["cache500_cpu"] = fullCpu;
    state.counters["none_ms"] = Median(noneTimes);
    state.counters["cache500_ms"] = Median(fullTimes);
    state.counters["ratio"] = Median(fullTimes) / Median(noneTimes);
    state.counters["cpu_ratio"] = Median(fullCpu) / Median(noneCpu);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    char pattern[] = "/tmp/tramble-startup-XXXXXX";
    if (!::mkdtemp(pattern) || !StartDisplay()) {
        std::fprintf(stderr, "no Xvfb display\n");
        return 1;
    }
    g_root = pattern;

    // 500 entries: real programs of the system folder first, so that their
    // icons are real ones, then made-up names.
    std::vector<std::string> apps;
    for (const auto& entry : fs::directory_iterator("/usr/bin")) {
        if (apps.size() < 400)
            apps.push_back(entry.path().string());
    }
    std::sort(apps.begin(), apps.end());
    for (int i = static_cast<int>(apps.size()); i < 500; ++i)
        apps.push_back("/opt/missing/program" + std::to_string(i));
    Prepare("none", {});
    const fs::path full = Prepare("cache500", apps);
    // The first start reads the icons and writes the cache the others load.
    StartOnce(full);
    if (!fs::exists(full / "tramble.dat")) {
        std::fprintf(stderr, "the icon cache was not written\n");
        return 1;
    }

    benchmark::RegisterBenchmark("Startup/500EntriesFromIconCacheVsNone", StartupPair)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(25);
    benchmark::RunSpecifiedBenchmarks();

    const double none = Median(g_times["none"]);
    const double full500 = Median(g_times["cache500"]);
    std::printf("median no entries: %.1f ms, 500 entries from the icon cache: %.1f ms, ratio %.2f (target 1.30)\n",
                none, full500, none > 0 ? full500 / none : 0.0);
    const double noneCpu = Median(g_times["none_cpu"]);
    const double fullCpu = Median(g_times["cache500_cpu"]);
    std::printf("median processor time: %.1f ms against %.1f ms, ratio %.2f\n", noneCpu, fullCpu,
                noneCpu > 0 ? fullCpu / noneCpu : 0.0);
    for (auto it = g_servers.rbegin(); it != g_servers.rend(); ++it) {
        ::kill(*it, SIGTERM);
        ::waitpid(*it, nullptr, 0);
    }
    fs::remove_all(g_root);
    return 0;
}
