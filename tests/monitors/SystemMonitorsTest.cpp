#include "platform/SystemMonitors.h"

#include "Fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace tramble;
using namespace tramble::platform;
using tramble::test::Put;
using tramble::test::TempDir;

namespace {

TCpuidFunction IntelWithSensor()
{
    return [](uint32_t leaf, uint32_t) {
        switch (leaf) {
        case 0: return TCpuidRegs{0xD, 0x756E6547, 0x6C65746E, 0x49656E69}; // "GenuineIntel"
        case 6: return TCpuidRegs{1, 0, 0, 0};
        default: return TCpuidRegs{};
        }
    };
}

// A laptop: two processors, a battery, a SATA disk with a drive sensor,
// wired and wireless interfaces and readable processor registers.
void PutLaptop(const TempDir& dir)
{
    Put(dir, "proc/stat",
        "cpu  100 0 100 800 0 0 0 0 0 0\ncpu0 50 0 50 400 0 0 0 0 0 0\n"
        "cpu1 50 0 50 400 0 0 0 0 0 0\nintr 1\n");
    Put(dir, "proc/uptime", "500.00 900.00\n");
    Put(dir, "proc/meminfo", "MemTotal: 16000000 kB\nMemAvailable: 1536000 kB\n");
    Put(dir, "proc/net/dev",
        "h|h\nh|h\n lo: 9 0 0 0 0 0 0 0 9 0 0 0 0 0 0 0\n"
        " enp3s0: 1000 0 0 0 0 0 0 0 2000 0 0 0 0 0 0 0\n");
    Put(dir, "sys/devices/system/cpu/online", "0-1\n");
    for (const auto& [name, index, type] : {std::tuple{"lo", "1", "772"}, std::tuple{"enp3s0", "2", "1"}}) {
        Put(dir, std::string("sys/class/net/") + name + "/ifindex", index);
        Put(dir, std::string("sys/class/net/") + name + "/type", type);
        Put(dir, std::string("sys/class/net/") + name + "/addr_len", "6");
    }
    Put(dir, "sys/class/power_supply/AC/type", "Mains\n");
    Put(dir, "sys/class/power_supply/AC/online", "1\n");
    Put(dir, "sys/class/power_supply/BAT0/type", "Battery\n");
    Put(dir, "sys/class/power_supply/BAT0/status", "Charging\n");
    Put(dir, "sys/class/power_supply/BAT0/capacity", "80\n");
    Put(dir, "sys/block/sda/device/model", "CT500MX500SSD1\n");
    Put(dir, "sys/block/sda/device/hwmon/hwmon4/temp1_input", "33000\n");
    std::string registers(0x200, '\0');
    const uint64_t target = 1u << 30;
    const uint64_t status = 0x00140000;
    std::memcpy(&registers[0xEE], &target, 8);
    std::memcpy(&registers[0x19C], &status, 8);
    Put(dir, "dev/cpu/0/msr", registers);
}

TMonitorRoots RootsOf(const TempDir& dir)
{
    // No disk service: nothing answers on that bus.
    return {(dir.path() / "proc").string(), (dir.path() / "sys").string(), (dir.path() / "dev").string(),
            "unix:path=" + (dir.path() / "no-bus").string()};
}

} // namespace

TEST(SystemMonitors, EveryMonitorOnALaptopTree)
{
    TempDir dir;
    PutLaptop(dir);
    TSystemMonitors monitors(RootsOf(dir), IntelWithSensor());
    monitors.Start();

    EXPECT_EQ(monitors.Cpu().CpuUsageMethod(), cumPerfData);
    EXPECT_EQ(monitors.Temperature().SensorLimit(), 85);
    EXPECT_EQ(monitors.CpuTemperature().Value(), 65);
    EXPECT_EQ(monitors.DiskInfo().Valid, 0); // read by the worker, not at start
    EXPECT_EQ(monitors.ReadDisk().Valid, 1);
    EXPECT_EQ(monitors.DiskInfo().Temperature, 33);
    EXPECT_EQ(monitors.DiskInfo().Model, "CT500MX500SSD1");
    EXPECT_EQ(monitors.Traffic().MenuItems(), (std::vector<std::string>{"lo", "enp3s0"}));
    EXPECT_EQ(monitors.Traffic().MarkedItem(), 1);
    EXPECT_EQ(monitors.MemoryStatus().Value().AvailPhys >> 20, 1500u);
    const TPowerStatus power = monitors.PowerStatus();
    EXPECT_EQ(power.ACLineStatus, 1);
    EXPECT_EQ(power.BatteryLifePercent, 80);

    // One second later: a quarter of the ticks were idle, 4 KB came in.
    Put(dir, "proc/stat",
        "cpu  175 0 175 850 0 0 0 0 0 0\ncpu0 100 0 100 400 0 0 0 0 0 0\n"
        "cpu1 75 0 75 450 0 0 0 0 0 0\n");
    Put(dir, "proc/net/dev",
        "h|h\nh|h\n lo: 9 0 0 0 0 0 0 0 9 0 0 0 0 0 0 0\n"
        " enp3s0: 5096 0 0 0 0 0 0 0 2100 0 0 0 0 0 0 0\n");
    EXPECT_EQ(monitors.SampleCpu().Value(), 75);
    monitors.SampleTraffic();
    EXPECT_EQ(monitors.Traffic().DownloadHistory()[59], 4096);
    EXPECT_EQ(monitors.Traffic().UploadHistory()[59], 100);
}

TEST(SystemMonitors, UnreadableSourcesGiveNoReadings)
{
    TempDir dir;
    Put(dir, "proc/stat", "cpu \x01\xff garbage\n");
    Put(dir, "proc/uptime", "soon\n");
    Put(dir, "proc/meminfo", "\n\n:::\n");
    Put(dir, "proc/net/dev", std::string(5000, ':'));
    Put(dir, "sys/class/hwmon/hwmon0/name", "coretemp\n");
    Put(dir, "sys/class/hwmon/hwmon0/temp1_input", "hot\n");
    Put(dir, "sys/block/sda/device/model", "");
    TSystemMonitors monitors(RootsOf(dir), [](uint32_t, uint32_t) { return TCpuidRegs{}; });
    monitors.Start();
    EXPECT_EQ(monitors.Cpu().CpuUsageMethod(), cumNone);
    EXPECT_FALSE(monitors.SampleCpu());
    monitors.SampleTraffic();
    EXPECT_FALSE(monitors.Traffic().NetMonAvailable());
    EXPECT_FALSE(monitors.MemoryStatus());
    EXPECT_FALSE(monitors.CpuTemperature());
    EXPECT_EQ(monitors.ReadDisk().Valid, 0);
    EXPECT_EQ(monitors.PowerStatus().BatteryFlag, kNoSystemBattery);
}

TEST(SystemMonitors, SystemSamplerWhenOnlyTheUptimeCanBeRead)
{
    TempDir dir;
    Put(dir, "proc/uptime", "100.00 150.00\n");
    Put(dir, "sys/devices/system/cpu/online", "0-1\n");
    TSystemMonitors monitors(RootsOf(dir), [](uint32_t, uint32_t) { return TCpuidRegs{}; });
    monitors.Start();
    EXPECT_EQ(monitors.Cpu().CpuUsageMethod(), cumSystemInfo);
    Put(dir, "proc/uptime", "101.00 150.50\n");
    // Half of one of two processors idle: 75, and 75.5 rounds to 76.
    EXPECT_EQ(monitors.SampleCpu().Value(), 76);
}

TEST(SystemMonitors, KernelDriverAndTheDefaultRouteWin)
{
    TempDir dir;
    PutLaptop(dir);
    // coretemp knows this processor's limit; the register rule would give 65.
    Put(dir, "sys/class/hwmon/hwmon2/name", "coretemp\n");
    Put(dir, "sys/class/hwmon/hwmon2/temp1_label", "Package id 0\n");
    Put(dir, "sys/class/hwmon/hwmon2/temp1_input", "47000\n");
    // Wireless carries the default route; the wired interface comes first.
    Put(dir, "proc/net/dev",
        "h|h\nh|h\n lo: 9 0 0 0 0 0 0 0 9 0 0 0 0 0 0 0\n"
        " enp3s0: 1000 0 0 0 0 0 0 0 2000 0 0 0 0 0 0 0\n"
        " wlp2s0: 1000 0 0 0 0 0 0 0 2000 0 0 0 0 0 0 0\n");
    Put(dir, "sys/class/net/wlp2s0/ifindex", "3");
    Put(dir, "sys/class/net/wlp2s0/type", "1");
    Put(dir, "sys/class/net/wlp2s0/addr_len", "6");
    Put(dir, "proc/net/route",
        "Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\tMTU\tWindow\tIRTT\n"
        "wlp2s0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n");
    TSystemMonitors monitors(RootsOf(dir), IntelWithSensor());
    monitors.Start();
    EXPECT_FALSE(monitors.Temperature().UsesMsr());
    EXPECT_EQ(monitors.CpuTemperature().Value(), 47);
    EXPECT_EQ(monitors.DefaultInterface(), "wlp2s0");
    EXPECT_EQ(monitors.Traffic().MarkedItem(), 2);
    EXPECT_EQ(monitors.Traffic().InterfaceChoice(), "wlp2s0");

    // The worker's reader reads the disk on its own.
    const std::optional<TDiskReading> disk = monitors.DiskReadFunction()();
    ASSERT_TRUE(disk);
    EXPECT_EQ(disk->Temperature, 33);
}
