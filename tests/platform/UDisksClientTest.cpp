#include "platform/DiskSensors.h"
#include "platform/DiskService.h"

#include "support/PrivateBus.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <systemd/sd-bus.h>

#include <atomic>
#include <filesystem>
#include <list>
#include <thread>

using namespace tramble;
using namespace tramble::platform;
using namespace tramble::test;

namespace {

// One drive as the disk service publishes it, with the block devices on it.
struct FakeDrive {
    std::string id; // object name under drives/
    std::string model;
    std::vector<std::string> devices; // "/dev/sda", "/dev/sda1", ...
    bool nvme = false;
    double kelvin = 0; // 0: the drive reports none
    uint64_t powerOnSeconds = 0;
    uint64_t smartUpdated = 0; // 0: never read
};

struct FakeBlock {
    std::string device;
    std::string drivePath;
};

// The part of UDisks2 that a reader of drive health sees: an object manager
// at /org/freedesktop/UDisks2, block devices pointing at their drives, and
// each drive's S.M.A.R.T. figures, served by sd-bus on its own thread.
class FakeUDisks {
public:
    FakeUDisks(const std::string& address, std::list<FakeDrive> drives, bool answer = true)
        : m_drives(std::move(drives))
    {
        if (sd_bus_new(&m_bus) < 0 || sd_bus_set_address(m_bus, address.c_str()) < 0 ||
            sd_bus_set_bus_client(m_bus, 1) < 0 || sd_bus_start(m_bus) < 0)
            return;
        sd_bus_add_object_manager(m_bus, nullptr, "/org/freedesktop/UDisks2");
        for (FakeDrive& drive : m_drives) {
            const std::string drivePath = "/org/freedesktop/UDisks2/drives/" + drive.id;
            sd_bus_add_object_vtable(m_bus, nullptr, drivePath.c_str(), "org.freedesktop.UDisks2.Drive", kDrive,
                                     &drive);
            sd_bus_add_object_vtable(m_bus, nullptr, drivePath.c_str(),
                                     drive.nvme ? "org.freedesktop.UDisks2.NVMe.Controller"
                                                : "org.freedesktop.UDisks2.Drive.Ata",
                                     drive.nvme ? kNvme : kAta, &drive);
            for (const std::string& device : drive.devices)
                m_blocks.push_back({device, drivePath});
        }
        // A loop device belongs to no drive.
        m_blocks.push_back({"/dev/loop0", "/"});
        for (FakeBlock& block : m_blocks) {
            const std::string path =
                "/org/freedesktop/UDisks2/block_devices/" + block.device.substr(block.device.rfind('/') + 1);
            sd_bus_add_object_vtable(m_bus, nullptr, path.c_str(), "org.freedesktop.UDisks2.Block", kBlock, &block);
        }
        m_ready = sd_bus_request_name(m_bus, "org.freedesktop.UDisks2", 0) >= 0;
        // A service that hangs takes the name and then answers nothing.
        if (m_ready && answer)
            m_thread = std::thread([this] { Serve(); });
    }
    ~FakeUDisks()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        sd_bus_flush_close_unref(m_bus);
    }

    bool Ready() const { return m_ready; }

private:
    void Serve()
    {
        while (!m_stop) {
            const int r = sd_bus_process(m_bus, nullptr);
            if (r < 0)
                return;
            if (r == 0)
                sd_bus_wait(m_bus, 20000);
        }
    }

    static int Device(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data, sd_bus_error*)
    {
        // A byte string with its closing NUL, as UDisks2 sends it.
        const std::string& device = static_cast<FakeBlock*>(data)->device;
        return sd_bus_message_append_array(reply, 'y', device.c_str(), device.size() + 1);
    }
    static int Drive(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data, sd_bus_error*)
    {
        return sd_bus_message_append(reply, "o", static_cast<FakeBlock*>(data)->drivePath.c_str());
    }
    static int Symlinks(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
    {
        // Properties of other types come first and must be stepped over.
        int r = sd_bus_message_open_container(reply, 'a', "ay");
        const char link[] = "/dev/disk/by-id/ata-TEST";
        if (r >= 0)
            r = sd_bus_message_append_array(reply, 'y', link, sizeof link);
        return r < 0 ? r : sd_bus_message_close_container(reply);
    }
    static int Model(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data, sd_bus_error*)
    {
        return sd_bus_message_append(reply, "s", static_cast<FakeDrive*>(data)->model.c_str());
    }
    static int Removable(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
    {
        return sd_bus_message_append(reply, "b", 0);
    }
    static int AtaTemperature(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data,
                              sd_bus_error*)
    {
        return sd_bus_message_append(reply, "d", static_cast<FakeDrive*>(data)->kelvin);
    }
    static int NvmeTemperature(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data,
                               sd_bus_error*)
    {
        return sd_bus_message_append(reply, "q", static_cast<uint16_t>(static_cast<FakeDrive*>(data)->kelvin));
    }
    static int PowerOnSeconds(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data,
                              sd_bus_error*)
    {
        return sd_bus_message_append(reply, "t", static_cast<FakeDrive*>(data)->powerOnSeconds);
    }
    static int PowerOnHours(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data,
                            sd_bus_error*)
    {
        return sd_bus_message_append(reply, "t", static_cast<FakeDrive*>(data)->powerOnSeconds / 3600);
    }
    static int Updated(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data, sd_bus_error*)
    {
        return sd_bus_message_append(reply, "t", static_cast<FakeDrive*>(data)->smartUpdated);
    }

    static constexpr sd_bus_vtable kBlock[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_PROPERTY("Symlinks", "aay", Symlinks, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("Device", "ay", Device, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("Drive", "o", Drive, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_VTABLE_END,
    };
    static constexpr sd_bus_vtable kDrive[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_PROPERTY("Removable", "b", Removable, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("Model", "s", Model, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_VTABLE_END,
    };
    static constexpr sd_bus_vtable kAta[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_PROPERTY("SmartUpdated", "t", Updated, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("SmartTemperature", "d", AtaTemperature, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("SmartPowerOnSeconds", "t", PowerOnSeconds, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_VTABLE_END,
    };
    static constexpr sd_bus_vtable kNvme[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_PROPERTY("SmartUpdated", "t", Updated, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("SmartTemperature", "q", NvmeTemperature, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("SmartPowerOnHours", "t", PowerOnHours, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_VTABLE_END,
    };

    std::list<FakeDrive> m_drives; // stable addresses for the vtables' data
    std::list<FakeBlock> m_blocks;
    sd_bus* m_bus = nullptr;
    bool m_ready = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

const FakeDrive kHardDisk{"ST2000DM008_ZFL1", "ST2000DM008-2FR102", {"/dev/sda", "/dev/sda1"}, false, 311.15, 36000000,
                          1700000000};
const FakeDrive kNvmeDisk{
    "Samsung_SSD_980", "Samsung SSD 980 1TB", {"/dev/nvme0n1", "/dev/nvme0n1p1"}, true, 313, 1234 * 3600, 1700000000};
const FakeDrive kNeverRead{"WDC_WD40", "WDC WD40EFRX", {"/dev/sdb"}, false, 0, 0, 0};

#define REQUIRE_BUS(bus)                                                                                               \
    if ((bus).Address().empty())                                                                                       \
    GTEST_SKIP() << "dbus-daemon is not installed"

} // namespace

TEST(UDisksClient, DriveFiguresByBlockDevice)
{
    PrivateBus bus;
    REQUIRE_BUS(bus);
    FakeUDisks service(bus.Address(), {kHardDisk, kNvmeDisk, kNeverRead});
    ASSERT_TRUE(service.Ready());
    TUDisksClient client(bus.Address());

    const struct {
        const char* disk;
        std::optional<std::string> model; // nothing: no such drive
        std::optional<int> temperature;
        std::optional<int64_t> seconds;
    } cases[] = {
        {"sda", "ST2000DM008-2FR102", 38, 36000000},
        {"nvme0n1", "Samsung SSD 980 1TB", 40, int64_t(1234) * 3600},
        {"sdb", "WDC WD40EFRX", std::nullopt, std::nullopt}, // S.M.A.R.T. never read
        {"sdc", std::nullopt, std::nullopt, std::nullopt},
        {"loop0", std::nullopt, std::nullopt, std::nullopt}, // no drive behind it
        {"sd", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<TDriveHealth> health = client.Read(c.disk);
        ASSERT_EQ(health.has_value(), c.model.has_value()) << c.disk;
        if (!health)
            continue;
        EXPECT_EQ(health->Model, *c.model) << c.disk;
        EXPECT_EQ(health->Temperature, c.temperature) << c.disk;
        EXPECT_EQ(health->PowerOnSeconds, c.seconds) << c.disk;
    }
}

TEST(UDisksClient, NoServiceNoBusOrAHungServiceGiveNothing)
{
    PrivateBus bus;
    REQUIRE_BUS(bus);
    TUDisksClient noService(bus.Address(), std::chrono::milliseconds(2000));
    EXPECT_EQ(noService.Read("sda"), std::nullopt);

    TUDisksClient noBus(bus.DeadAddress());
    EXPECT_EQ(noBus.Read("sda"), std::nullopt);

    // The service holds its name but never answers: the time-out ends the wait.
    FakeUDisks hung(bus.Address(), {kHardDisk}, false);
    ASSERT_TRUE(hung.Ready());
    TUDisksClient client(bus.Address(), std::chrono::milliseconds(300));
    EXPECT_EQ(client.Read("sda"), std::nullopt);
}

TEST(UDisksClient, ServiceComingLaterIsFound)
{
    PrivateBus bus;
    REQUIRE_BUS(bus);
    TUDisksClient client(bus.Address());
    EXPECT_EQ(client.Read("sda"), std::nullopt);
    FakeUDisks service(bus.Address(), {kHardDisk});
    ASSERT_TRUE(service.Ready());
    const std::optional<TDriveHealth> health = client.Read("sda");
    ASSERT_TRUE(health);
    EXPECT_EQ(health->Temperature, 38);
}

TEST(UDisksClient, DiskReaderAsksTheServiceForASpinningDisk)
{
    PrivateBus bus;
    REQUIRE_BUS(bus);
    FakeUDisks service(bus.Address(), {kHardDisk});
    ASSERT_TRUE(service.Ready());

    // A hard disk without root and without drivetemp, as most desktops have it.
    TempDir dir;
    const auto put = [&dir](const std::string& relative, const std::string& content) {
        std::filesystem::create_directories((dir.path() / relative).parent_path());
        WriteFileBytes(dir.file(relative), content);
    };
    put("sys/block/sda/dev", "8:0\n");
    put("sys/block/sda/queue/rotational", "1\n");
    put("sys/block/sda/device/model", "ST2000DM008-2FR1\n");
    put("proc/self/mountinfo", "29 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
    put("sys/block/sda/sda1/dev", "8:1\n");
    put("sys/block/sda/sda1/partition", "1\n");
    TDiskSources sources;
    sources.Sys = dir.file("sys");
    sources.Dev = dir.file("dev");
    sources.Proc = dir.file("proc");
    sources.Open = OpenPassThrough;
    sources.Service = UDisksReader(bus.Address());
    TDiskReader reader(std::move(sources));
    const std::optional<TDiskInfo> info = reader.Read();
    ASSERT_TRUE(info);
    EXPECT_EQ(reader.DiskName(), "sda");
    EXPECT_EQ(info->Valid, 1);
    EXPECT_EQ(info->Model, "ST2000DM008-2FR1");
    EXPECT_EQ(info->Temperature, 38);
    EXPECT_EQ(info->PowerOnHours, 10000);
}
