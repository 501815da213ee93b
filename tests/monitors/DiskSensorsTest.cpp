#include "platform/DiskSensors.h"

#include "FakeDisk.h"
#include "Fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tramble;
using namespace tramble::platform;
using namespace tramble::test;
namespace fs = std::filesystem;

namespace {

struct Disk {
    std::string name;
    std::string dev;
    std::vector<std::pair<std::string, std::string>> partitions = {};
    std::vector<std::string> members = {}; // slaves of a stacked device
    std::string mapperName = {};
    bool removable = false;
    // The sysfs path the disk hangs under, "" for a plain folder.
    std::string devicePath = {};
};

// A disk of <sys>/block, as a folder or as the kernel's link into the
// device tree.
void PutDisk(const TempDir& dir, const Disk& disk)
{
    const std::string block = "sys/block/" + disk.name;
    if (!disk.devicePath.empty()) {
        fs::create_directories(dir.path() / "sys" / disk.devicePath / disk.name);
        fs::create_directories(dir.path() / "sys/block");
        fs::create_directory_symlink(fs::path("..") / disk.devicePath / disk.name, dir.path() / block);
    }
    Put(dir, block + "/dev", disk.dev + "\n");
    Put(dir, block + "/removable", disk.removable ? "1\n" : "0\n");
    for (const auto& [name, dev] : disk.partitions) {
        Put(dir, block + "/" + name + "/dev", dev + "\n");
        Put(dir, block + "/" + name + "/partition", "1\n");
    }
    for (const std::string& member : disk.members)
        Put(dir, block + "/slaves/" + member + "/dev", "0:0\n");
    if (!disk.mapperName.empty())
        Put(dir, block + "/dm/name", disk.mapperName + "\n");
}

std::string RootLine(const std::string& device, const std::string& source, const std::string& type = "ext4")
{
    return "29 1 " + device + " / / rw,relatime shared:1 - " + type + " " + source + " rw\n";
}

const std::string kOtherMounts = "22 29 0:21 / /proc rw,nosuid - proc proc rw\n"
                                 "61 29 259:1 / /boot/efi rw,relatime shared:31 - vfat /dev/nvme0n1p1 rw\n";

const Disk kSata{"sda", "8:0", {{"sda1", "8:1"}, {"sda2", "8:2"}}};
const Disk kNvme{"nvme0n1", "259:0", {{"nvme0n1p1", "259:1"}, {"nvme0n1p2", "259:2"}, {"nvme0n1p3", "259:3"}}};
const std::string kUsbPath = "devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block";

} // namespace

TEST(SystemDisk, RootFileSystemFirstThenTheFirstFixedDisk)
{
    const struct {
        const char* name;
        std::vector<Disk> disks;
        std::string mountinfo;
        std::string expected;
    } cases[] = {
        {"root on the NVMe disk beats an earlier SATA disk",
         {kSata, kNvme},
         kOtherMounts + RootLine("259:2", "/dev/nvme0n1p2"),
         "nvme0n1"},
        {"root on a SATA partition", {kSata, kNvme}, RootLine("8:2", "/dev/sda2") + kOtherMounts, "sda"},
        {"no mount table: the first SATA disk", {kNvme, kSata, {"sdb", "8:16"}}, "", "sda"},
        {"no SATA disk: the first NVMe disk", {kNvme, {"nvme1n1", "259:4"}}, "", "nvme0n1"},
        {"btrfs has a device number of its own: found by source",
         {kSata, kNvme},
         RootLine("0:31", "/dev/nvme0n1p2", "btrfs"),
         "nvme0n1"},
        {"LVM on an encrypted partition",
         {kSata, kNvme, {"dm-0", "254:0", {}, {"nvme0n1p3"}}, {"dm-1", "254:1", {}, {"dm-0"}}},
         RootLine("254:1", "/dev/mapper/vg-root"),
         "nvme0n1"},
        {"mapper name when the number does not match",
         {kSata, {"sdb", "8:16", {{"sdb2", "8:18"}}}, {"dm-0", "254:0", {}, {"sdb2"}, "vg-root"}},
         RootLine("0:40", "/dev/mapper/vg-root", "btrfs"),
         "sdb"},
        {"RAID: its first member",
         {kSata,
          {"sdb", "8:16", {{"sdb1", "8:17"}}},
          {"sdc", "8:32", {{"sdc1", "8:33"}}},
          {"md0", "9:0", {}, {"sdc1", "sdb1"}}},
         RootLine("9:0", "/dev/md0"),
         "sdb"},
        {"a later mount on / hides the earlier one",
         {kSata, kNvme},
         RootLine("8:1", "/dev/sda1") + RootLine("259:3", "/dev/nvme0n1p3"),
         "nvme0n1"},
        {"root on a USB disk: the fixed disk instead",
         {{"sda", "8:0", {{"sda1", "8:1"}}, {}, {}, false, kUsbPath}, kNvme},
         RootLine("8:1", "/dev/sda1"),
         "nvme0n1"},
        {"a USB stick never, even as the only SATA name",
         {{"sdb", "8:16", {}, {}, {}, false, kUsbPath}, kNvme},
         "",
         "nvme0n1"},
        {"a removable disk never", {{"sda", "8:0", {}, {}, {}, true}, {"sdb", "8:16"}}, "", "sdb"},
        {"root on a memory card: the fixed disk instead",
         {{"mmcblk0", "179:0", {{"mmcblk0p2", "179:2"}}}, kNvme},
         RootLine("179:2", "/dev/mmcblk0p2"),
         "nvme0n1"},
        {"container overlay root", {kSata}, RootLine("0:50", "overlay", "overlay"), "sda"},
        {"stacked devices that loop end the walk",
         {kSata, {"dm-0", "254:0", {}, {"dm-1"}}, {"dm-1", "254:1", {}, {"dm-0"}}},
         RootLine("254:0", "/dev/dm-0"),
         "sda"},
        {"no disk at all", {{"loop0", "7:0"}, {"zram0", "252:0"}}, RootLine("252:0", "/dev/zram0"), ""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const Disk& disk : c.disks)
            PutDisk(dir, disk);
        if (!c.mountinfo.empty())
            Put(dir, "proc/self/mountinfo", c.mountinfo);
        EXPECT_EQ(FindSystemDisk(dir.file("proc"), dir.file("sys")), c.expected) << c.name;
    }
}

TEST(SystemDisk, MountPointsWithEscapedBlanks)
{
    TempDir dir;
    PutDisk(dir, kSata);
    PutDisk(dir, kNvme);
    // "/ x" is not "/": only the real root counts.
    Put(dir, "proc/self/mountinfo",
        "30 29 259:2 / /\\040x rw - ext4 /dev/nvme0n1p2 rw\n" + RootLine("8:1", "/dev/sda1"));
    EXPECT_EQ(FindSystemDisk(dir.file("proc"), dir.file("sys")), "sda");
}

TEST(PowerMode, CountFromEitherSenseFormat)
{
    using Sense = std::vector<uint8_t>;
    // Descriptor sense: response 0x72, "ATA pass through information
    // available" (00/1D), one ATA status return descriptor.
    const auto descriptor = [](uint8_t count, uint8_t status) {
        return Sense{0x72, 0x01, 0x00, 0x1D, 0, 0, 0, 14, 0x09, 0x0C, 0, 0, 0, count, 0, 0, 0, 0, 0, 0, 0xA0, status};
    };
    const auto fixed = [](uint8_t count, uint8_t status, uint8_t asc, uint8_t ascq) {
        return Sense{0x70, 0, 0x01, 0, status, 0xA0, count, 10, 0, 0, 0, 0, asc, ascq, 0, 0, 0, 0};
    };
    Sense afterOther = {0x72, 0x01, 0x00, 0x1D, 0, 0, 0, 18, 0x02, 0x02, 0xAA, 0xBB};
    const Sense ata = descriptor(0x80, 0x50);
    const Sense shortened(ata.begin(), ata.begin() + 16);
    afterOther.insert(afterOther.end(), ata.begin() + 8, ata.end());
    const struct {
        const char* name;
        Sense sense;
        std::optional<uint8_t> expected;
    } cases[] = {
        {"descriptor, standby", descriptor(0x00, 0x50), 0x00},
        {"descriptor, active", descriptor(0xFF, 0x50), 0xFF},
        {"descriptor after another descriptor", afterOther, 0x80},
        {"descriptor with the error bit", descriptor(0x00, 0x51), std::nullopt},
        {"descriptor cut short", shortened, std::nullopt},
        {"descriptor list without the ATA one", Sense{0x72, 0x01, 0, 0x1D, 0, 0, 0, 4, 0x02, 0x02, 1, 2}, std::nullopt},
        {"fixed, idle", fixed(0x80, 0x50, 0x00, 0x1D), 0x80},
        {"fixed, standby", fixed(0x00, 0x50, 0x00, 0x1D), 0x00},
        // An illegal request leaves the information field zero: not standby.
        {"fixed, command refused", fixed(0x00, 0x50, 0x24, 0x00), std::nullopt},
        {"fixed with the error bit", fixed(0x00, 0x51, 0x00, 0x1D), std::nullopt},
        {"no sense data", Sense{}, std::nullopt},
        {"unknown format", Sense{0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x1D}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AtaCountFromSense(c.sense.data(), c.sense.size()), c.expected) << c.name;

    for (const auto& [count, standby] : std::vector<std::pair<uint8_t, bool>>{
             {0x00, true}, {0x01, true}, {0x40, true}, {0x41, true}, {0x80, false}, {0x83, false}, {0xFF, false}})
        EXPECT_EQ(IsStandbyPowerMode(count), standby) << int(count);

    // Non-data protocol, registers returned, command CHECK POWER MODE.
    const std::array<uint8_t, 16> cdb = AtaCheckPowerMode16();
    EXPECT_EQ(cdb[0], 0x85);
    EXPECT_EQ((cdb[1] >> 1) & 0x0F, 3);
    EXPECT_EQ(cdb[2], 0x20);
    EXPECT_EQ(cdb[14], 0xE5);
}

namespace {

struct Expected {
    uint8_t valid;
    int temperature;
    int hours;
    std::string model;
};

TDriveHealth Service(std::optional<int> temperature, std::optional<int64_t> seconds, std::string model = "ST2000DM008")
{
    return {std::move(model), temperature, seconds};
}

} // namespace

TEST(DiskReader, NeverWakesASleepingDisk)
{
    const std::optional<uint8_t> unknown;
    const std::optional<TDriveHealth> none;
    const std::optional<Expected> lastStays;
    const Expected passThroughRead{1, 41, 10001, "CT500MX500SSD1"};
    const struct {
        const char* name;
        bool passThrough;
        std::optional<uint8_t> powerMode;
        bool rotational;
        bool suspended;
        bool sensor; // drive sensor at 35 °C
        std::optional<TDriveHealth> service;
        std::optional<Expected> expected;
    } cases[] = {
        {"standby, nothing else: no reading", true, 0x00, true, false, true, none, lastStays},
        {"standby: the service's figures", true, 0x00, true, false, true, Service(38, 7200),
         Expected{1, 38, 2, "sysfs model"}},
        {"spun down (NV cache)", true, 0x41, true, false, true, none, lastStays},
        {"idle disk is read", true, 0x80, true, false, true, none, passThroughRead},
        {"power mode unknown: read as an awake disk", true, unknown, true, false, false, none, passThroughRead},
        {"suspended by the kernel: sensor left alone", false, unknown, false, true, true, none, lastStays},
        {"suspended, service answers", false, unknown, false, true, true, Service(36, 3600),
         Expected{1, 36, 1, "sysfs model"}},
        {"solid state: its sensor first, hours from the service", false, unknown, false, false, true,
         Service(40, 5000 * 3600), Expected{1, 35, 5000, "sysfs model"}},
        {"spinning disk without a power mode: the service first", false, unknown, true, false, true, Service(40, 3600),
         Expected{1, 40, 1, "sysfs model"}},
        {"spinning disk, service without a temperature: the sensor", false, unknown, true, false, true,
         Service(std::nullopt, 7200), Expected{1, 35, 2, "sysfs model"}},
        {"nothing knows the temperature", false, unknown, false, false, false, Service(std::nullopt, 7200),
         Expected{0, 0, 2, "sysfs model"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Put(dir, "sys/block/sda/dev", "8:0\n");
        Put(dir, "sys/block/sda/device/model", "sysfs model\n");
        Put(dir, "sys/block/sda/queue/rotational", c.rotational ? "1\n" : "0\n");
        Put(dir, "sys/block/sda/device/power/runtime_status", c.suspended ? "suspended\n" : "active\n");
        if (c.sensor)
            Put(dir, "sys/block/sda/device/hwmon/hwmon3/temp1_input", "35000\n");
        DiskAnswers answers = Crucial();
        answers.powerMode = c.powerMode;
        TDiskReader reader(
            DiskSourcesOf(dir, c.passThrough ? OpenerOf(answers) : TAtaOpener(), [&](const std::string& disk) {
                EXPECT_EQ(disk, "sda");
                return c.service;
            }));
        const std::optional<TDiskInfo> info = reader.Read();
        ASSERT_EQ(info.has_value(), c.expected.has_value()) << c.name;
        // A disk in standby hears nothing but the power mode question.
        if (c.powerMode && IsStandbyPowerMode(*c.powerMode)) {
            EXPECT_EQ(answers.sent, (std::vector<std::pair<uint8_t, uint8_t>>{{0xE5, 0}})) << c.name;
        }
        if (!info)
            continue;
        EXPECT_EQ(info->Valid, c.expected->valid) << c.name;
        EXPECT_EQ(info->Temperature, c.expected->temperature) << c.name;
        EXPECT_EQ(info->PowerOnHours, c.expected->hours) << c.name;
        EXPECT_EQ(info->Model, c.expected->model) << c.name;
    }
}

TEST(DiskReader, ServiceFillsTheModelSysfsLacks)
{
    TempDir dir;
    Put(dir, "sys/block/nvme0n1/dev", "259:0\n");
    Put(dir, "sys/block/nvme0n1/device/hwmon1/temp1_input", "44850\n");
    TDiskReader reader(DiskSourcesOf(dir, TAtaOpener(), [](const std::string&) {
        return std::optional<TDriveHealth>(Service(50, 1234 * 3600, "Samsung SSD 980"));
    }));
    const TDiskInfo info = reader.Read().value();
    EXPECT_EQ(info.Valid, 1);
    EXPECT_EQ(info.Model, "Samsung SSD 980");
    EXPECT_EQ(info.Temperature, 45);
    EXPECT_EQ(info.PowerOnHours, 1234);
}
