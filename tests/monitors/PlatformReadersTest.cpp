#include "platform/CpuCounters.h"
#include "platform/DiskSensors.h"
#include "platform/MsrDevice.h"
#include "platform/NetInterfaces.h"
#include "platform/SystemStatus.h"
#include "platform/ThermalSensors.h"
#include "platform/linux/KernelFiles.h"

#include "FakeDisk.h"
#include "Fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

using namespace tramble;
using namespace tramble::platform;
using tramble::test::Put;
using tramble::test::TempDir;
using namespace tramble::test;
namespace fs = std::filesystem;

namespace {

std::string Root(const TempDir& dir, const char* name)
{
    return (dir.path() / name).string();
}

void PutInterface(const TempDir& dir, const std::string& name, int index, int type, int addrLength)
{
    const std::string folder = "sys/class/net/" + name + "/";
    Put(dir, folder + "ifindex", std::to_string(index) + "\n");
    Put(dir, folder + "type", std::to_string(type) + "\n");
    Put(dir, folder + "addr_len", std::to_string(addrLength) + "\n");
}

std::string NetDev(const std::vector<std::tuple<std::string, uint64_t, uint64_t>>& rows)
{
    std::string text = "Inter-|   Receive |  Transmit\n face |bytes packets|bytes packets\n";
    for (const auto& [name, in, out] : rows)
        text += "  " + name + ": " + std::to_string(in) + " 1 0 0 0 0 0 0 " + std::to_string(out) + " 1 0 0 0 0 0 0\n";
    return text;
}

} // namespace

TEST(KernelFiles, ReadsWholeFilesWithinTheLimit)
{
    TempDir dir;
    const std::string big(100000, 'x');
    Put(dir, "big", big);
    std::string text;
    ASSERT_TRUE(ReadKernelFile(dir.file("big"), text));
    EXPECT_EQ(text, big);
    ASSERT_TRUE(ReadKernelFile(dir.file("big"), text, 5000));
    EXPECT_EQ(text.size(), 5000u);
    EXPECT_FALSE(ReadKernelFile(dir.file("missing"), text));
    EXPECT_TRUE(text.empty());
    Put(dir, "n", "  -42\nnext\n");
    EXPECT_EQ(ReadKernelNumber(dir.file("n")), -42);
    EXPECT_EQ(ReadKernelLine(dir.file("n")), "  -42");
    Put(dir, "bad", "x1\n");
    EXPECT_EQ(ReadKernelNumber(dir.file("bad")), std::nullopt);

    std::vector<std::string> names = {"hwmon10", "hwmon2", "hwmon1", "BAT0", "AC", "hwmon02"};
    std::sort(names.begin(), names.end(), NaturalLess);
    EXPECT_EQ(names, (std::vector<std::string>{"AC", "BAT0", "hwmon1", "hwmon2", "hwmon02", "hwmon10"}));
}

TEST(CpuCounters, ReadsStatUptimeAndOnlineProcessors)
{
    TempDir dir;
    Put(dir, "proc/stat", "cpu  10 0 10 80 0 0 0 0 0 0\ncpu0 10 0 10 80 0 0 0 0 0 0\nintr 5\n");
    Put(dir, "proc/uptime", "100.25 180.50\n");
    Put(dir, "sys/devices/system/cpu/online", "0-3,8\n");
    auto times = ReadCpuTimes(Root(dir, "proc"));
    ASSERT_TRUE(times);
    EXPECT_EQ(times.Value().back().Idle, 80);
    EXPECT_EQ(ReadUptime(Root(dir, "proc")).Value().Idle, 18050);
    EXPECT_EQ(ReadOnlineCpuCount(Root(dir, "sys")).Value(), 5);

    TempDir empty;
    EXPECT_EQ(ReadCpuTimes(Root(empty, "proc")).Message(), "Unable to locate the \"Processor\" performance object");
    EXPECT_FALSE(ReadUptime(Root(empty, "proc")));
    EXPECT_FALSE(ReadOnlineCpuCount(Root(empty, "sys")));
}

TEST(MsrDevice, ReadsEightBytesAtTheRegisterIndex)
{
    TempDir dir;
    std::string registers(0x200, '\0');
    const uint64_t status = 0x88230000;
    std::memcpy(&registers[0x19C], &status, 8);
    Put(dir, "dev/cpu/0/msr", registers);
    TMsrDevice msr(Root(dir, "dev"));
    uint64_t value = 99;
    EXPECT_FALSE(msr.ReadMsr(0x19C, value));
    EXPECT_EQ(value, 0u);
    ASSERT_TRUE(msr.InstallDriver());
    EXPECT_TRUE(msr.ReadMsr(0x19C, value));
    EXPECT_EQ(value, status);
    EXPECT_FALSE(msr.ReadMsr(0x1FC, value)); // only four bytes left
    EXPECT_EQ(value, 0u);
    msr.RemoveDriver();
    EXPECT_FALSE(msr.ReadMsr(0x19C, value));

    TempDir none;
    TMsrDevice missing(Root(none, "dev"));
    EXPECT_FALSE(missing.InstallDriver());
    EXPECT_FALSE(missing.Installed());
}

TEST(ThermalSensors, ChipsAndZonesInTheirOrder)
{
    struct File {
        const char* path;
        const char* content;
    };
    const struct {
        const char* name;
        std::vector<File> files;
        std::optional<int> expected;
    } cases[] = {
        {"coretemp package",
         {{"hwmon/hwmon0/name", "acpitz\n"},
          {"hwmon/hwmon0/temp1_input", "27800\n"},
          {"hwmon/hwmon3/name", "coretemp\n"},
          {"hwmon/hwmon3/temp2_label", "Core 0\n"},
          {"hwmon/hwmon3/temp2_input", "50000\n"},
          {"hwmon/hwmon3/temp1_label", "Package id 0\n"},
          {"hwmon/hwmon3/temp1_input", "52000\n"},
          {"thermal/thermal_zone0/type", "x86_pkg_temp\n"},
          {"thermal/thermal_zone0/temp", "61000\n"}},
         52},
        {"k10temp prefers Tdie",
         {{"hwmon/hwmon1/name", "k10temp\n"},
          {"hwmon/hwmon1/temp1_label", "Tctl\n"},
          {"hwmon/hwmon1/temp1_input", "70250\n"},
          {"hwmon/hwmon1/temp2_label", "Tdie\n"},
          {"hwmon/hwmon1/temp2_input", "43750\n"}},
         44},
        {"k10temp with Tctl only",
         {{"hwmon/hwmon1/name", "k10temp\n"},
          {"hwmon/hwmon1/temp1_label", "Tctl\n"},
          {"hwmon/hwmon1/temp1_input", "48125\n"},
          {"hwmon/hwmon1/temp3_label", "Tccd1\n"},
          {"hwmon/hwmon1/temp3_input", "45000\n"}},
         48},
        {"coretemp before zenpower",
         {{"hwmon/hwmon0/name", "zenpower\n"},
          {"hwmon/hwmon0/temp1_input", "30000\n"},
          {"hwmon/hwmon9/name", "coretemp\n"},
          {"hwmon/hwmon9/temp1_input", "40000\n"}},
         40},
        {"package zone before acpitz",
         {{"hwmon/hwmon0/name", "nvme\n"},
          {"hwmon/hwmon0/temp1_input", "38000\n"},
          {"thermal/thermal_zone0/type", "acpitz\n"},
          {"thermal/thermal_zone0/temp", "27800\n"},
          {"thermal/thermal_zone1/type", "x86_pkg_temp\n"},
          {"thermal/thermal_zone1/temp", "61000\n"}},
         61},
        {"acpitz last", {{"thermal/thermal_zone0/type", "acpitz\n"}, {"thermal/thermal_zone0/temp", "27800\n"}}, 28},
        {"chip without a reading is passed over",
         {{"hwmon/hwmon0/name", "coretemp\n"},
          {"hwmon/hwmon0/temp1_input", "\n"},
          {"thermal/thermal_zone0/type", "acpitz\n"},
          {"thermal/thermal_zone0/temp", "30000\n"}},
         30},
        {"nothing", {{"hwmon/hwmon0/name", "nvme\n"}, {"thermal/cooling_device0/type", "Fan\n"}}, std::nullopt},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const File& f : c.files)
            Put(dir, std::string("sys/class/") + f.path, f.content);
        TThermalSensors sensors(Root(dir, "sys"));
        TReading<int> reading = sensors.CpuTemperature();
        EXPECT_EQ(reading.Ok(), c.expected.has_value()) << c.name;
        EXPECT_EQ(reading.ValueOr(-1), c.expected.value_or(-1)) << c.name;
    }
}

TEST(ThermalSensors, FollowsTheSensorAndSearchesAgainWhenItGoes)
{
    TempDir dir;
    Put(dir, "sys/class/hwmon/hwmon0/name", "coretemp\n");
    Put(dir, "sys/class/hwmon/hwmon0/temp1_label", "Package id 0\n");
    Put(dir, "sys/class/hwmon/hwmon0/temp1_input", "50000\n");
    Put(dir, "sys/class/thermal/thermal_zone0/type", "acpitz\n");
    Put(dir, "sys/class/thermal/thermal_zone0/temp", "30000\n");
    TThermalSensors sensors(Root(dir, "sys"));
    EXPECT_EQ(sensors.CpuTemperature().Value(), 50);
    Put(dir, "sys/class/hwmon/hwmon0/temp1_input", "57400\n");
    EXPECT_EQ(sensors.CpuTemperature().Value(), 57);
    fs::remove_all(dir.path() / "sys/class/hwmon");
    EXPECT_EQ(sensors.CpuTemperature().Value(), 30);
}

TEST(DiskReader, SysfsStandsInWhenTheDiskCannotBeAsked)
{
    TempDir dir;
    Put(dir, "sys/block/loop0/size", "0\n");
    Put(dir, "sys/block/vda/size", "0\n");
    Put(dir, "sys/block/sdaa/device/model", "Other\n");
    Put(dir, "sys/block/sdb/device/model", "Samsung SSD 860 \n");
    Put(dir, "sys/block/sdb/device/hwmon/hwmon3/temp1_input", "35000\n");
    Put(dir, "sys/block/nvme0n1/device/model", "NVMe\n");
    // A plain file where the device would be: opens, but answers no SCSI.
    Put(dir, "dev/sdb", "");
    TDiskReader reader(DiskSourcesOf(dir));
    TDiskInfo info = reader.Read().value();
    EXPECT_EQ(reader.DiskName(), "sdb");
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.Model, "Samsung SSD 860");
    EXPECT_EQ(info.Temperature, 35);
    EXPECT_EQ(info.PowerOnHours, 0);

    // Without a sensor there is no reading, though the model is known.
    fs::remove_all(dir.path() / "sys/block/sdb/device/hwmon");
    info.Temperature = 77;
    EXPECT_TRUE(reader.ReadDiskInfo(info));
    EXPECT_EQ(info.Valid, 0);
    EXPECT_EQ(info.Temperature, 0);
    EXPECT_EQ(info.Model, "Samsung SSD 860");

    // The disk goes away: the next one is looked for.
    fs::remove_all(dir.path() / "sys/block/sdb");
    reader.ReadDiskInfo(info);
    EXPECT_EQ(reader.DiskName(), "sdaa");
}

TEST(DiskReader, NvmeSensorAndNoDiskAtAll)
{
    TempDir dir;
    Put(dir, "sys/block/nvme0c0n1/device/model", "hidden path\n");
    Put(dir, "sys/block/nvme1n1/device/model", "Second\n");
    Put(dir, "sys/block/nvme0n1/device/model", "WDC PC SN730 SDBQNTY-512G-1001     \n");
    Put(dir, "sys/block/nvme0n1/device/hwmon2/temp1_input", "41850\n");
    TDiskReader reader(DiskSourcesOf(dir));
    TDiskInfo info = reader.Read().value();
    EXPECT_EQ(reader.DiskName(), "nvme0n1");
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.Model, "WDC PC SN730 SDBQNTY-512G-1001");
    EXPECT_EQ(info.Temperature, 42);

    TempDir bare;
    Put(bare, "sys/block/vda/size", "0\n");
    TDiskReader none(DiskSourcesOf(bare));
    info = none.Read().value();
    EXPECT_EQ(info.Valid, 0);
    EXPECT_EQ(none.DiskName(), "");
}

TEST(DiskReader, AttributesThroughTheCommandChannel)
{
    TempDir dir;
    Put(dir, "sys/block/sda/device/model", "CT500MX500SSD1\n");
    Put(dir, "sys/block/sda/device/hwmon/hwmon4/temp1_input", "35000\n");
    DiskAnswers answers = Crucial();
    TDiskReader reader(DiskSourcesOf(dir, OpenerOf(answers)));
    TDiskInfo info = reader.Read().value();
    EXPECT_EQ(answers.openedPath, Root(dir, "dev") + "/sda");
    EXPECT_EQ(answers.sent,
              (std::vector<std::pair<uint8_t, uint8_t>>{{0xE5, 0}, {0xEC, 0}, {0xB0, 0xD0}, {0xB0, 0xD1}}));
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.Version, 3);
    EXPECT_EQ(info.Revision, 5);
    EXPECT_EQ(info.SupportBits, 5u);
    EXPECT_EQ(info.Model, "CT500MX500SSD1");
    EXPECT_EQ(info.Serial, "1921E1542CA8");
    EXPECT_EQ(info.Temperature, 41);
    EXPECT_EQ(info.PowerOnHours, 10001);

    // Without the attribute data the drive sensor gives the temperature.
    answers.smart = false;
    info = reader.Read().value();
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.Model, "CT500MX500SSD1");
    EXPECT_EQ(info.Temperature, 35);
    EXPECT_EQ(info.PowerOnHours, 0);

    // A disk that does not identify itself is read from sysfs.
    answers.identify = false;
    Put(dir, "sys/block/sda/device/model", "from sysfs\n");
    TDiskReader fresh(DiskSourcesOf(dir, OpenerOf(answers)));
    info = fresh.Read().value();
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.Model, "from sysfs");
    EXPECT_EQ(info.Temperature, 35);
    EXPECT_EQ(info.IdentifyBuffer, (std::array<uint8_t, 512>{}));
}

TEST(DiskReader, OpticalDevicesGetThePacketIdentify)
{
    TempDir dir;
    Put(dir, "sys/block/sda/device/type", "5\n");
    DiskAnswers answers = Crucial();
    TDiskReader reader(DiskSourcesOf(dir, OpenerOf(answers)));
    const TDiskInfo info = reader.Read().value();
    ASSERT_EQ(answers.sent.size(), 4u);
    EXPECT_EQ(answers.sent[1].first, 0xA1);
    EXPECT_EQ(info.SupportBits, 6u);
}

TEST(InterfaceTable, RowsInIndexOrderWithPhysicalAddressLengths)
{
    TempDir dir;
    Put(dir, "proc/net/dev",
        NetDev({{"lo", 10, 10}, {"wlan0", 300, 400}, {"eth0", 100, 200}, {"wg0", 5, 6}, {"ghost", 1, 1}}));
    PutInterface(dir, "lo", 1, 772, 6);
    PutInterface(dir, "eth0", 2, 1, 6);
    PutInterface(dir, "wlan0", 3, 1, 6);
    PutInterface(dir, "wg0", 4, 65534, 0);
    TInterfaceTableReader reader(Root(dir, "proc"), Root(dir, "sys"));
    auto table = reader.Read();
    ASSERT_TRUE(table);
    std::vector<std::string> names;
    std::vector<uint32_t> lengths;
    for (const TIfRow& row : table.Value()) {
        names.push_back(row.Description);
        lengths.push_back(row.PhysAddrLength);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"lo", "eth0", "wlan0", "wg0", "ghost"}));
    EXPECT_EQ(lengths, (std::vector<uint32_t>{0, 6, 6, 0, 0}));
    EXPECT_EQ(table.Value()[1].InOctets, 100u);
    EXPECT_EQ(table.Value()[1].OutOctets, 200u);

    // New counters under the same names; then a new interface.
    Put(dir, "proc/net/dev",
        NetDev({{"lo", 10, 10}, {"wlan0", 301, 401}, {"eth0", 101, 201}, {"wg0", 5, 6}, {"ghost", 1, 1}}));
    EXPECT_EQ(reader.Read().Value()[2].InOctets, 301u);
    PutInterface(dir, "usb0", 0, 1, 6);
    Put(dir, "proc/net/dev", NetDev({{"usb0", 7, 7}, {"lo", 10, 10}, {"eth0", 101, 201}}));
    table = reader.Read();
    ASSERT_EQ(table.Value().size(), 3u);
    EXPECT_EQ(table.Value()[0].Description, "usb0");
    EXPECT_EQ(table.Value()[2].Description, "eth0");

    TempDir empty;
    TInterfaceTableReader missing(Root(empty, "proc"), Root(empty, "sys"));
    EXPECT_FALSE(missing.Read());
}

// An interface deleted and created again under its old name gets a new
// index: its place and its address length are learnt again.
TEST(InterfaceTable, InterfaceCreatedAgainUnderItsNameIsLearntAgain)
{
    TempDir dir;
    Put(dir, "proc/net/dev", NetDev({{"eth0", 100, 200}, {"usb0", 1, 2}}));
    PutInterface(dir, "eth0", 2, 1, 6);
    PutInterface(dir, "usb0", 3, 1, 6);
    TInterfaceTableReader reader(Root(dir, "proc"), Root(dir, "sys"));
    auto describe = [&reader] {
        std::vector<std::pair<std::string, uint32_t>> rows;
        const auto table = reader.Read();
        for (const TIfRow& row : table.Value())
            rows.emplace_back(row.Description, row.PhysAddrLength);
        return rows;
    };
    using Rows = std::vector<std::pair<std::string, uint32_t>>;
    EXPECT_EQ(describe(), (Rows{{"eth0", 6}, {"usb0", 6}}));

    // eth0 comes back as a tunnel without an address, after usb0.
    PutInterface(dir, "eth0", 7, 65534, 0);
    EXPECT_EQ(describe(), (Rows{{"usb0", 6}, {"eth0", 0}}));
    // Unchanged indexes keep the table as it is.
    EXPECT_EQ(describe(), (Rows{{"usb0", 6}, {"eth0", 0}}));
}

TEST(SystemStatusReaders, MemoryAndPowerFromFixtureTrees)
{
    TempDir dir;
    Put(dir, "proc/meminfo", "MemTotal: 8000000 kB\nMemFree: 100 kB\nMemAvailable: 2000000 kB\n");
    Put(dir, "sys/class/power_supply/AC/type", "Mains\n");
    Put(dir, "sys/class/power_supply/AC/online", "0\n");
    Put(dir, "sys/class/power_supply/BAT0/type", "Battery\n");
    Put(dir, "sys/class/power_supply/BAT0/present", "1\n");
    Put(dir, "sys/class/power_supply/BAT0/status", "Discharging\n");
    Put(dir, "sys/class/power_supply/BAT0/capacity", "63\n");
    Put(dir, "sys/class/power_supply/BAT0/energy_now", "31500000\n");
    Put(dir, "sys/class/power_supply/BAT0/energy_full", "50000000\n");
    Put(dir, "sys/class/power_supply/BAT0/power_now", "12600000\n");
    Put(dir, "sys/class/power_supply/hidpp_battery_0/type", "Battery\n");
    Put(dir, "sys/class/power_supply/hidpp_battery_0/scope", "Device\n");
    Put(dir, "sys/class/power_supply/hidpp_battery_0/capacity", "5\n");

    auto memory = ReadMemoryStatus(Root(dir, "proc"));
    ASSERT_TRUE(memory);
    EXPECT_EQ(memory.Value().AvailPhys >> 20, 1953u);
    EXPECT_EQ(memory.Value().TotalPhys, 8000000ull * 1024);

    TPowerStatusReader powerReader(Root(dir, "sys"));
    const TPowerStatus power = powerReader.Read();
    EXPECT_EQ(power.ACLineStatus, 0);
    EXPECT_EQ(power.BatteryLifePercent, 63);
    EXPECT_EQ(power.BatteryFlag, 0);
    EXPECT_EQ(power.BatteryLifeTime, 9000u);

    TempDir empty;
    EXPECT_FALSE(ReadMemoryStatus(Root(empty, "proc")));
    EXPECT_EQ(TPowerStatusReader(Root(empty, "sys")).Read().BatteryFlag, kNoSystemBattery);

    // A second battery: the energies add up, the capacities are not used.
    Put(dir, "sys/class/power_supply/BAT1/type", "Battery\n");
    Put(dir, "sys/class/power_supply/BAT1/status", "Discharging\n");
    Put(dir, "sys/class/power_supply/BAT1/capacity", "1\n");
    Put(dir, "sys/class/power_supply/BAT1/energy_now", "18500000\n");
    Put(dir, "sys/class/power_supply/BAT1/energy_full", "50000000\n");
    Put(dir, "sys/class/power_supply/BAT1/power_now", "12400000\n");
    const TPowerStatus two = powerReader.Read();
    EXPECT_EQ(two.BatteryLifePercent, 50);
    EXPECT_EQ(two.BatteryLifeTime, 7200u);
    // Taken out again.
    Put(dir, "sys/class/power_supply/BAT1/present", "0\n");
    EXPECT_EQ(powerReader.Read().BatteryLifePercent, 63);
}

namespace {

struct Link {
    std::string name;
    int ifindex;
    std::string operstate = "up";
    int type = 1;
    int addrLength = 6;
    std::string marker = {}; // a file or folder sysfs gives such links
};

std::string RouteTable(const std::vector<std::tuple<std::string, std::string, std::string, int>>& rows)
{
    std::string text = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    for (const auto& [name, destination, mask, metric] : rows) {
        text += name + "\t" + destination + "\t0101A8C0\t0003\t0\t0\t" + std::to_string(metric) + "\t" + mask +
                "\t0\t0\t0\n";
    }
    return text;
}

} // namespace

TEST(DefaultInterface, RouteFirstThenUpWithAnAddressVirtualLastLoopbackNever)
{
    const Link lo{"lo", 1, "unknown", 772, 6};
    const Link eth{"enp3s0", 2};
    const Link wlan{"wlp2s0", 3};
    const std::string any = "00000000";
    const struct {
        const char* name;
        std::vector<Link> links;
        std::string routes;
        std::string expected;
    } cases[] = {
        {"the default route's interface", {lo, eth, wlan}, RouteTable({{"wlp2s0", any, any, 600}}), "wlp2s0"},
        {"the lowest metric of two default routes",
         {lo, eth, wlan},
         RouteTable({{"wlp2s0", any, any, 600}, {"enp3s0", any, any, 100}}),
         "enp3s0"},
        {"a subnet route is no default route",
         {lo, eth, wlan},
         RouteTable({{"wlp2s0", "0001A8C0", "00FFFFFF", 0}, {"enp3s0", any, any, 100}}),
         "enp3s0"},
        {"no route: the first up interface", {lo, {"enp3s0", 2, "down"}, wlan}, "", "wlp2s0"},
        {"state unknown but switched on", {lo, {"enp3s0", 2, "unknown", 1, 6, "flags=0x1003"}}, "", "enp3s0"},
        {"state unknown and switched off", {lo, {"enp3s0", 2, "unknown", 1, 6, "flags=0x1002"}}, "", ""},
        {"no physical address, no route: passed over", {lo, {"wg0", 2, "unknown", 65534, 0}, wlan}, "", "wlp2s0"},
        {"a tunnel's route loses to a real one",
         {lo, {"tun0", 2, "unknown", 65534, 0, "tun_flags"}, wlan},
         RouteTable({{"tun0", any, any, 50}, {"wlp2s0", any, any, 600}}),
         "wlp2s0"},
        {"bridge and containers only when nothing else",
         {lo, {"br0", 2, "up", 1, 6, "bridge/"}, {"docker0", 3}, {"veth12ab", 4}, {"virbr0", 5}, {"enp3s0", 6}},
         "",
         "enp3s0"},
        {"a bridge when it is all there is", {lo, {"docker0", 3}, {"br0", 2, "up", 1, 6, "bridge/"}}, "", "br0"},
        {"a bridge carrying the only default route",
         {lo, {"br0", 2, "up", 1, 6, "bridge/"}, {"enp3s0", 3, "down"}},
         RouteTable({{"br0", any, any, 0}}),
         "br0"},
        {"loopback never, even alone", {lo}, RouteTable({{"lo", any, any, 0}}), ""},
        {"nothing at all", {}, "", ""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const Link& link : c.links) {
            PutInterface(dir, link.name, link.ifindex, link.type, link.addrLength);
            const std::string folder = "sys/class/net/" + link.name + "/";
            Put(dir, folder + "operstate", link.operstate + "\n");
            if (link.marker.rfind("flags=", 0) == 0)
                Put(dir, folder + "flags", link.marker.substr(6) + "\n");
            else if (!link.marker.empty() && link.marker.back() == '/')
                Put(dir, folder + link.marker + "stp_state", "0\n");
            else if (!link.marker.empty())
                Put(dir, folder + link.marker, "0x1002\n");
        }
        if (!c.routes.empty())
            Put(dir, "proc/net/route", c.routes);
        EXPECT_EQ(DefaultInterface(Root(dir, "proc"), Root(dir, "sys")), c.expected) << c.name;
    }
}

TEST(ThermalSensors, DriverAndZoneApartAndWhetherADriverIsLoaded)
{
    TempDir dir;
    Put(dir, "sys/class/hwmon/hwmon0/name", "nvme\n");
    Put(dir, "sys/class/hwmon/hwmon0/temp1_input", "38000\n");
    Put(dir, "sys/class/thermal/thermal_zone0/type", "x86_pkg_temp\n");
    Put(dir, "sys/class/thermal/thermal_zone0/temp", "61000\n");
    TThermalSensors sensors(Root(dir, "sys"));
    EXPECT_FALSE(sensors.DriverLoaded());
    EXPECT_FALSE(sensors.DriverTemperature());
    EXPECT_EQ(sensors.ZoneTemperature().Value(), 61);

    // Loaded but without a reading yet: loaded all the same.
    Put(dir, "sys/class/hwmon/hwmon4/name", "k10temp\n");
    EXPECT_TRUE(sensors.DriverLoaded());
    EXPECT_FALSE(sensors.DriverTemperature());
    Put(dir, "sys/class/hwmon/hwmon4/temp1_label", "Tctl\n");
    Put(dir, "sys/class/hwmon/hwmon4/temp1_input", "49500\n");
    EXPECT_EQ(sensors.DriverTemperature().Value(), 50);
    EXPECT_EQ(sensors.ZoneTemperature().Value(), 61);
    EXPECT_EQ(sensors.CpuTemperature().Value(), 50);
}
