// One tray tick on this machine: the CPU and traffic samples, then the seven
// pictures and tooltips from the figures (the disk's from its last reading,
// which a worker takes apart). The peer in the same run reads the same
// kernel files and does nothing else: the floor a tick cannot go below.

#include "platform/SystemMonitors.h"
#include "tray/TrayMonitors.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace tramble;
using namespace tramble::platform;
namespace fs = std::filesystem;

namespace {

TTrayImage DrawAll(TSystemMonitors& monitors, const TTrayLook& look, const TTrayDisk& disk, const TTrayWeather& weather)
{
    TTrayImage last = DrawFreeMemory(monitors.MemoryStatus().ValueOr({1 << 30, 1u << 31}), look);
    benchmark::DoNotOptimize(last);
    last = DrawBattery(monitors.PowerStatus(), look);
    benchmark::DoNotOptimize(last);
    last = DrawCpuUsage(monitors.Cpu().History(), monitors.Cpu().CpuUsageMethod(), look);
    benchmark::DoNotOptimize(last);
    last = DrawDiskTemperature(disk, look);
    benchmark::DoNotOptimize(last);
    const TTrafficMonitor& traffic = monitors.Traffic();
    TTrayTraffic figures{traffic.DownloadHistory(), traffic.UploadHistory(), traffic.DownloadWindowSum(),
                         traffic.UploadWindowSum()};
    last = DrawNetTraffic(figures, look);
    benchmark::DoNotOptimize(last);
    const TReading<int> t = monitors.CpuTemperature();
    last = DrawCpuTemperature(t ? std::optional<int32_t>(t.Value()) : std::nullopt, look);
    benchmark::DoNotOptimize(last);
    return DrawWeather(weather, look);
}

void BM_TrayTick(benchmark::State& state)
{
    TSystemMonitors monitors;
    monitors.Start();
    const TLanguage language;
    const TTrayDisk disk{true, "Samsung SSD 870 EVO 1TB", 12000, 38};
    TTrayWeather weather;
    weather.Humidity = " 85 %";
    weather.Temperature = 21;
    weather.WeatherIcon = 13;
    weather.City = "Wuhan";
    weather.WeatherText = "Mostly cloudy w/ showers";
    weather.UpdateTime = "2024-05-01 10:20:30";
    int32_t seconds = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(monitors.SampleCpu());
        monitors.SampleTraffic();
        // Half the ticks show the weather's numbers, half its picture.
        const TTrayLook look{0, true, ++seconds, &language};
        benchmark::DoNotOptimize(DrawAll(monitors, look, disk, weather));
    }
}
BENCHMARK(BM_TrayTick);

// The files a tick reads, found the way the readers find them.
std::vector<std::string> TickFiles()
{
    std::vector<std::string> files = {"/proc/stat", "/proc/net/dev", "/proc/meminfo"};
    std::error_code ec;
    for (const char* folder : {"/sys/class/power_supply", "/sys/class/hwmon", "/sys/class/thermal"}) {
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            for (const char* name : {"type", "online", "status", "capacity", "name", "temp", "temp1_input"}) {
                if (fs::exists(entry.path() / name, ec))
                    files.push_back((entry.path() / name).string());
            }
        }
    }
    return files;
}

void BM_ReadTickFiles(benchmark::State& state)
{
    const std::vector<std::string> files = TickFiles();
    char buffer[16384];
    for (auto _ : state) {
        for (const std::string& file : files) {
            const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
            ::close(fd);
        }
    }
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_ReadTickFiles);

// The pictures and tooltips alone, from figures already read.
void BM_TrayPicturesOnly(benchmark::State& state)
{
    const TLanguage language;
    TCpuHistory history;
    for (int i = 0; i < 16; ++i)
        history.Add(i * 6);
    TTrayTraffic traffic;
    for (int i = 0; i < 60; ++i) {
        traffic.Download[i] = i * 700;
        traffic.Upload[i] = i * 90;
    }
    TPowerStatus power;
    power.ACLineStatus = 1;
    power.BatteryFlag = 1;
    power.BatteryLifePercent = 77;
    TTrayWeather weather;
    weather.Humidity = " 85 %";
    weather.WeatherIcon = 13;
    int32_t seconds = 1;
    for (auto _ : state) {
        const TTrayLook look{0, true, ++seconds, &language};
        benchmark::DoNotOptimize(DrawFreeMemory({1500ull << 20, 4096ull << 20}, look));
        benchmark::DoNotOptimize(DrawBattery(power, look));
        benchmark::DoNotOptimize(DrawCpuUsage(history, cumPerfData, look));
        benchmark::DoNotOptimize(DrawDiskTemperature({true, "disk", 1, 38}, look));
        benchmark::DoNotOptimize(DrawNetTraffic(traffic, look));
        benchmark::DoNotOptimize(DrawCpuTemperature(55, look));
        benchmark::DoNotOptimize(DrawWeather(weather, look));
    }
}
BENCHMARK(BM_TrayPicturesOnly);

} // namespace

BENCHMARK_MAIN();
