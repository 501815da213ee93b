#include "platform/RemovableMedia.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;

// A sysfs tree with one partition of a disk below `devicePath`, reachable
// as dev/block/8:1.
void MakeDisk(const fs::path& root, const std::string& devicePath, const std::string& disk, const char* removable)
{
    const fs::path diskFolder = root / devicePath / "block" / disk;
    fs::create_directories(diskFolder / (disk + "1"));
    test::WriteFileBytes((diskFolder / "removable").string(), std::string(removable) + "\n");
    test::WriteFileBytes((diskFolder / (disk + "1") / "partition").string(), "1\n");
    fs::create_directories(root / "dev" / "block");
    fs::create_symlink(diskFolder / (disk + "1"), root / "dev" / "block" / "8:1");
}

TEST(RemovableMedia, DecidedByTheWholeDiskBehindThePartition)
{
    struct Row {
        const char* What;
        const char* DevicePath;
        const char* Disk;
        const char* Removable;
        bool Expected;
    } rows[] = {
        {"internal SATA disk", "devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0", "sda", "0", false},
        {"card reader flagged removable", "devices/pci0000:00/0000:00:1d.0/host2/target2:0:0/2:0:0:0", "sdc", "1",
         true},
        {"USB stick not flagged", "devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host3/target3:0:0/3:0:0:0", "sdb",
         "0", true},
        {"SD card", "devices/platform/mmc0/mmc0:0001", "mmcblk0", "0", true},
    };
    for (const Row& row : rows) {
        test::TempDir sys;
        MakeDisk(sys.path(), row.DevicePath, row.Disk, row.Removable);
        EXPECT_EQ(platform::IsRemovableBlockDevice(8, 1, sys.path().string()), row.Expected) << row.What;
    }
}

TEST(RemovableMedia, UnknownDeviceIsFixed)
{
    test::TempDir sys;
    EXPECT_FALSE(platform::IsRemovableBlockDevice(0, 42, sys.path().string()));
    EXPECT_FALSE(platform::IsOnRemovableMedia("/nonexistent/file"));
}

} // namespace
} // namespace tramble
