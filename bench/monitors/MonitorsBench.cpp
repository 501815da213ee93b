// One per-second sample of every system monitor, as the tray takes it (the
// disk is read apart, on a worker, and measured alone), on
// this machine's /proc and /sys and on a laptop-like fixture tree. Peers in
// the same run: reading the same kernel files without parsing (the kernel's
// own cost, a floor) and reading them through iostreams.

#include "platform/SystemMonitors.h"

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace tramble;
using namespace tramble::platform;
namespace fs = std::filesystem;

namespace {

void SampleEverything(TSystemMonitors& monitors)
{
    benchmark::DoNotOptimize(monitors.SampleCpu());
    monitors.SampleTraffic();
    benchmark::DoNotOptimize(monitors.MemoryStatus());
    benchmark::DoNotOptimize(monitors.PowerStatus());
    benchmark::DoNotOptimize(monitors.CpuTemperature());
}

// The files one sample of this machine touches, found the way the readers
// find them.
std::vector<std::string> SampledFiles(const TMonitorRoots& roots)
{
    std::vector<std::string> files = {roots.Proc + "/stat", roots.Proc + "/net/dev", roots.Proc + "/meminfo"};
    std::error_code ec;
    for (const char* folder : {"/class/power_supply", "/class/hwmon", "/class/thermal"}) {
        for (const auto& entry : fs::directory_iterator(roots.Sys + folder, ec)) {
            for (const char* name : {"type", "online", "status", "capacity", "name", "temp", "temp1_input"}) {
                if (fs::exists(entry.path() / name, ec))
                    files.push_back((entry.path() / name).string());
            }
        }
    }
    return files;
}

std::vector<std::string> ListedFolders(const TMonitorRoots& roots)
{
    return {roots.Sys + "/class/power_supply", roots.Sys + "/class/hwmon", roots.Sys + "/class/thermal",
            roots.Sys + "/block"};
}

void ReadRaw(const std::string& path, char* buffer, size_t size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    while (::read(fd, buffer, size) > 0) {
    }
    ::close(fd);
}

void ListRaw(const std::string& path)
{
    if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            benchmark::DoNotOptimize(entry);
        ::closedir(dir);
    }
}

// A laptop: 8 processors, battery and mains, coretemp, a SATA disk with a
// drive sensor, four interfaces.
struct LaptopTree {
    fs::path root;
    TMonitorRoots roots;

    LaptopTree()
    {
        root = fs::temp_directory_path() / ("tramble-bench-" + std::to_string(::getpid()));
        roots = {(root / "proc").string(), (root / "sys").string(), (root / "dev").string(),
                 "unix:path=" + (root / "no-bus").string()};
        std::string stat = "cpu  10132153 290696 3084719 46828483 16683 0 25195 0 175628 0\n";
        for (int i = 0; i < 8; ++i)
            stat += "cpu" + std::to_string(i) + " 1393230 35571 386142 5827180 2084 0 2410 0 21909 0\n";
        stat += "intr 114930548 113199788 3 0 5 263 0 0 0 1 0 0 0 0 0 0 0 0\nctxt 1990473\n";
        Put("proc/stat", stat);
        Put("proc/uptime", "35025.61 280147.48\n");
        Put("proc/meminfo", "MemTotal:       16303900 kB\nMemFree:         6342736 kB\nMemAvailable:   "
                            "11102896 kB\nBuffers:          433516 kB\nCached:          4563520 kB\n");
        std::string dev = "Inter-|   Receive |  Transmit\n face |bytes packets|bytes packets\n";
        const char* names[] = {"lo", "enp3s0", "wlp2s0", "docker0"};
        for (int i = 0; i < 4; ++i) {
            dev += std::string("  ") + names[i] + ": 123456789 98765 0 0 0 0 0 0 987654321 56789 0 0 0 0 0 0\n";
            const std::string folder = std::string("sys/class/net/") + names[i] + "/";
            Put(folder + "ifindex", std::to_string(i + 1) + "\n");
            Put(folder + "type", i == 0 ? "772\n" : "1\n");
            Put(folder + "addr_len", "6\n");
        }
        Put("proc/net/dev", dev);
        Put("sys/devices/system/cpu/online", "0-7\n");
        Put("sys/class/power_supply/AC/type", "Mains\n");
        Put("sys/class/power_supply/AC/online", "0\n");
        for (const auto& [name, value] : {std::pair{"type", "Battery"},
                                          {"present", "1"},
                                          {"status", "Discharging"},
                                          {"capacity", "63"},
                                          {"energy_now", "31500000"},
                                          {"energy_full", "50000000"},
                                          {"power_now", "12600000"}})
            Put(std::string("sys/class/power_supply/BAT0/") + name, std::string(value) + "\n");
        Put("sys/class/hwmon/hwmon0/name", "acpitz\n");
        Put("sys/class/hwmon/hwmon0/temp1_input", "27800\n");
        Put("sys/class/hwmon/hwmon1/name", "coretemp\n");
        for (int i = 1; i <= 5; ++i) {
            const std::string channel = "sys/class/hwmon/hwmon1/temp" + std::to_string(i);
            Put(channel + "_label", i == 1 ? "Package id 0\n" : "Core " + std::to_string(i - 2) + "\n");
            Put(channel + "_input", "52000\n");
        }
        Put("sys/block/sda/device/model", "Samsung SSD 860\n");
        Put("sys/block/sda/device/hwmon/hwmon2/temp1_input", "35000\n");
        Put("sys/block/loop0/size", "0\n");
    }
    ~LaptopTree()
    {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    void Put(const std::string& relative, const std::string& content)
    {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << content;
    }
};

TCpuidFunction NoCpuid()
{
    return [](uint32_t, uint32_t) { return TCpuidRegs{}; };
}

void BM_FullSecond_ThisMachine(benchmark::State& state)
{
    TSystemMonitors monitors;
    monitors.Start();
    for (auto _ : state)
        SampleEverything(monitors);
}
BENCHMARK(BM_FullSecond_ThisMachine)->Unit(benchmark::kMicrosecond);

void BM_RawReadsOfTheSameFiles_ThisMachine(benchmark::State& state)
{
    const TMonitorRoots roots;
    const std::vector<std::string> files = SampledFiles(roots);
    const std::vector<std::string> folders = ListedFolders(roots);
    char buffer[65536];
    for (auto _ : state) {
        for (const std::string& file : files)
            ReadRaw(file, buffer, sizeof buffer);
        for (const std::string& folder : folders)
            ListRaw(folder);
    }
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_RawReadsOfTheSameFiles_ThisMachine)->Unit(benchmark::kMicrosecond);

void BM_IostreamReadsOfTheSameFiles_ThisMachine(benchmark::State& state)
{
    const TMonitorRoots roots;
    const std::vector<std::string> files = SampledFiles(roots);
    for (auto _ : state) {
        for (const std::string& file : files) {
            std::ifstream in(file);
            std::stringstream text;
            text << in.rdbuf();
            benchmark::DoNotOptimize(text.str());
        }
        for (const std::string& folder : ListedFolders(roots)) {
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(folder, ec))
                benchmark::DoNotOptimize(entry);
        }
    }
}
BENCHMARK(BM_IostreamReadsOfTheSameFiles_ThisMachine)->Unit(benchmark::kMicrosecond);

void BM_FullSecond_LaptopTree(benchmark::State& state)
{
    LaptopTree tree;
    TSystemMonitors monitors(tree.roots, NoCpuid());
    monitors.Start();
    for (auto _ : state)
        SampleEverything(monitors);
}
BENCHMARK(BM_FullSecond_LaptopTree)->Unit(benchmark::kMicrosecond);

// Each monitor alone, on this machine (argument 0) and on the laptop tree (1).
template <class Sample> void OneMonitor(benchmark::State& state, Sample sample)
{
    std::unique_ptr<LaptopTree> tree;
    if (state.range(0) == 1)
        tree = std::make_unique<LaptopTree>();
    TSystemMonitors monitors(tree ? tree->roots : TMonitorRoots(), NoCpuid());
    monitors.Start();
    for (auto _ : state)
        sample(monitors);
}

void BM_Cpu(benchmark::State& s)
{
    OneMonitor(s, [](TSystemMonitors& m) { benchmark::DoNotOptimize(m.SampleCpu()); });
}
void BM_Traffic(benchmark::State& s)
{
    OneMonitor(s, [](TSystemMonitors& m) { m.SampleTraffic(); });
}
void BM_Memory(benchmark::State& s)
{
    OneMonitor(s, [](TSystemMonitors& m) { benchmark::DoNotOptimize(m.MemoryStatus()); });
}
void BM_Power(benchmark::State& s)
{
    OneMonitor(s, [](TSystemMonitors& m) { benchmark::DoNotOptimize(m.PowerStatus()); });
}
void BM_CpuTemperature(benchmark::State& s)
{
    OneMonitor(s, [](TSystemMonitors& m) { benchmark::DoNotOptimize(m.CpuTemperature()); });
}
void BM_Disk(benchmark::State& s)
{
    OneMonitor(s, [](TSystemMonitors& m) { benchmark::DoNotOptimize(m.ReadDisk()); });
}
BENCHMARK(BM_Cpu)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Traffic)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memory)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Power)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CpuTemperature)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Disk)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
