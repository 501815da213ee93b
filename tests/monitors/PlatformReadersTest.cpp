#include "platform/CpuCounters.h"
#include "platform/DiskSensors.h"
#include "platform/MsrDevice.h"
#include "platform/NetInterfaces.h"
#include "platform/SystemStatus.h"
#include "platform/ThermalSensors.h"
#include "platform/linux/KernelFiles.h"

#include "Fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

using namespace tramble;
using namespace tramble::platform;
using tramble::test::Put;
using tramble::test::TempDir;
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
    TDiskReader reader(Root(dir, "sys"), Root(dir, "dev"));
    TDiskInfo info = reader.Read();
    EXPECT_EQ(reader.DiskName(), "sdb");
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.Model, "Samsung SSD 860");
    EXPECT_EQ(info.Temperature, 35);
    EXPECT_EQ(info.PowerOnHours, 0);

    // Without a sensor there is no reading, though the model is known.
    fs::remove_all(dir.path() / "sys/block/sdb/device/hwmon");
    info.Temperature = 77;
    reader.ReadDiskInfo(info);
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
    TDiskReader reader(Root(dir, "sys"), Root(dir, "dev"));
    TDiskInfo info = reader.Read();
    EXPECT_EQ(reader.DiskName(), "nvme0n1");
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.Model, "WDC PC SN730 SDBQNTY-512G-1001");
    EXPECT_EQ(info.Temperature, 42);

    TempDir bare;
    Put(bare, "sys/block/vda/size", "0\n");
    TDiskReader none(Root(bare, "sys"), Root(bare, "dev"));
    info = none.Read();
    EXPECT_EQ(info.Valid, 0);
    EXPECT_EQ(none.DiskName(), "");
}

namespace {

// A disk answering through a test-made channel: the identify and attribute
// blocks are built here, as a drive would send them.
struct DiskAnswers {
    bool identify = true;
    bool smart = true;
    std::array<uint8_t, 512> identifyData{};
    std::array<uint8_t, 512> smartData{};
    std::vector<std::pair<uint8_t, uint8_t>> sent; // command, feature
    std::string openedPath;
};

class FakeDisk : public TAtaDisk {
public:
    explicit FakeDisk(DiskAnswers& answers) : m_answers(answers) {}
    int Version() const override { return 30527; }
    bool Send(const TIdeRegs& regs, std::array<uint8_t, 512>& data) override
    {
        m_answers.sent.emplace_back(regs.Command, regs.Features);
        const bool identify = regs.Command == 0xEC || regs.Command == 0xA1;
        if (identify ? !m_answers.identify : !m_answers.smart)
            return false;
        data = identify ? m_answers.identifyData : m_answers.smartData;
        return true;
    }

private:
    DiskAnswers& m_answers;
};

TAtaOpener OpenerOf(DiskAnswers& answers)
{
    return [&answers](const std::string& path) {
        answers.openedPath = path;
        return std::make_unique<FakeDisk>(answers);
    };
}

// Identify text as a drive stores it: the first character of each pair in
// the high byte of its word.
void PutIdentifyText(std::array<uint8_t, 512>& data, size_t firstWord, std::string text)
{
    text.resize((text.size() + 1) / 2 * 2, ' ');
    for (size_t i = 0; i < text.size(); i += 2) {
        data[2 * firstWord + i] = static_cast<uint8_t>(text[i + 1]);
        data[2 * firstWord + i + 1] = static_cast<uint8_t>(text[i]);
    }
}

DiskAnswers Crucial()
{
    DiskAnswers answers;
    PutIdentifyText(answers.identifyData, 27, "CT500MX500SSD1   ");
    PutIdentifyText(answers.identifyData, 10, "    1921E1542CA8");
    const uint8_t attributes[][12] = {{9, 0x32, 0, 100, 100, 0x10, 0x27, 0, 0, 0x01, 0, 0},
                                      {194, 0x22, 0, 59, 41, 41, 0, 20, 0, 57, 0, 0}};
    std::memcpy(&answers.smartData[2], attributes, sizeof attributes);
    return answers;
}

} // namespace

TEST(DiskReader, AttributesThroughTheCommandChannel)
{
    TempDir dir;
    Put(dir, "sys/block/sda/device/model", "CT500MX500SSD1\n");
    Put(dir, "sys/block/sda/device/hwmon/hwmon4/temp1_input", "35000\n");
    DiskAnswers answers = Crucial();
    TDiskReader reader(Root(dir, "sys"), Root(dir, "dev"), OpenerOf(answers));
    TDiskInfo info = reader.Read();
    EXPECT_EQ(answers.openedPath, Root(dir, "dev") + "/sda");
    EXPECT_EQ(answers.sent, (std::vector<std::pair<uint8_t, uint8_t>>{{0xEC, 0}, {0xB0, 0xD0}, {0xB0, 0xD1}}));
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
    info = reader.Read();
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.Model, "CT500MX500SSD1");
    EXPECT_EQ(info.Temperature, 35);
    EXPECT_EQ(info.PowerOnHours, 0);

    // A disk that does not identify itself is read from sysfs.
    answers.identify = false;
    Put(dir, "sys/block/sda/device/model", "from sysfs\n");
    TDiskReader fresh(Root(dir, "sys"), Root(dir, "dev"), OpenerOf(answers));
    info = fresh.Read();
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
    TDiskReader reader(Root(dir, "sys"), Root(dir, "dev"), OpenerOf(answers));
    const TDiskInfo info = reader.Read();
    ASSERT_FALSE(answers.sent.empty());
    EXPECT_EQ(answers.sent[0].first, 0xA1);
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
