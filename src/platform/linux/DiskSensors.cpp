#include "platform/DiskSensors.h"

#include "monitors/SystemStatus.h"
#include "platform/linux/KernelFiles.h"
#include "text/TextConvert.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <utility>
#include <vector>

namespace tramble::platform {
namespace {

bool IsAllDigits(const std::string& text, size_t from, size_t to)
{
    if (from >= to)
        return false;
    for (size_t i = from; i < to; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

bool IsSataName(const std::string& name)
{
    if (name.size() < 3 || name.rfind("sd", 0) != 0)
        return false;
    for (size_t i = 2; i < name.size(); ++i) {
        if (name[i] < 'a' || name[i] > 'z')
            return false;
    }
    return true;
}

// "nvme0n1", not a hidden path device such as "nvme0c0n1".
bool IsNvmeName(const std::string& name)
{
    if (name.rfind("nvme", 0) != 0)
        return false;
    const size_t n = name.find('n', 4);
    return n != std::string::npos && IsAllDigits(name, 4, n) && IsAllDigits(name, n + 1, name.size());
}

// "sdb" before "sdaa", the order the kernel names the disks in.
bool DiskOrder(const std::string& a, const std::string& b)
{
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

bool IsReadableDiskName(const std::string& name)
{
    return IsSataName(name) || IsNvmeName(name);
}

// Mount information escapes blanks and the like as \ooo.
std::string Unescape(const std::string& field)
{
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsAllDigits(field, i + 1, i + 4)) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

struct RootMount {
    std::string device; // "MAJ:MIN"
    std::string source; // such as "/dev/nvme0n1p2"
};

// The last mount on "/" of <proc>/self/mountinfo: later mounts hide earlier ones.
std::optional<RootMount> FindRootMount(const std::string& procRoot)
{
    std::string text;
    if (!ReadKernelFile(procRoot + "/self/mountinfo", text, 1 << 20))
        return std::nullopt;
    std::optional<RootMount> found;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::vector<std::string> fields;
        for (size_t at = start; at < end;) {
            const size_t blank = std::min(text.find(' ', at), end);
            if (blank > at)
                fields.push_back(text.substr(at, blank - at));
            at = blank + 1;
        }
        start = end + 1;
        if (fields.size() < 5 || Unescape(fields[4]) != "/")
            continue;
        RootMount mount{fields[2], {}};
        for (size_t i = 6; i + 2 < fields.size(); ++i) {
            if (fields[i] == "-") {
                mount.source = Unescape(fields[i + 2]);
                break;
            }
        }
        found = std::move(mount);
    }
    return found;
}

// A block device of <sys>/block: a whole disk, or one of its partitions.
struct BlockDevice {
    std::string disk;
    std::string name;
    std::string device; // "MAJ:MIN"
};

std::vector<BlockDevice> ListBlockDevices(const std::string& sysRoot)
{
    std::vector<BlockDevice> devices;
    const std::string block = sysRoot + "/block";
    for (const std::string& disk : ListFolder(block)) {
        devices.push_back({disk, disk, ReadKernelLine(block + "/" + disk + "/dev").value_or("")});
        for (const std::string& child : ListFolder(block + "/" + disk)) {
            const std::string folder = block + "/" + disk + "/" + child;
            if (child.rfind(disk, 0) == 0 && PathExists(folder + "/partition"))
                devices.push_back({disk, child, ReadKernelLine(folder + "/dev").value_or("")});
        }
    }
    return devices;
}

// The whole disk holding a block device named like "sda2" or "dm-0".
std::string DiskOf(const std::vector<BlockDevice>& devices, const std::string& name)
{
    for (const BlockDevice& device : devices) {
        if (device.name == name)
            return device.disk;
    }
    return {};
}

// The disk of the root file system, through the members of a device-mapper
// or RAID device (the first member where there are several).
std::string RootDisk(const std::string& procRoot, const std::string& sysRoot)
{
    const std::optional<RootMount> mount = FindRootMount(procRoot);
    if (!mount)
        return {};
    const std::vector<BlockDevice> devices = ListBlockDevices(sysRoot);
    std::string disk;
    for (const BlockDevice& device : devices) {
        if (!mount->device.empty() && device.device == mount->device)
            disk = device.disk;
    }
    // Btrfs and the like report a device number of their own: go by the source.
    if (disk.empty() && mount->source.rfind("/dev/", 0) == 0) {
        const std::string name = mount->source.substr(mount->source.rfind('/') + 1);
        disk = DiskOf(devices, name);
        for (const BlockDevice& device : devices) {
            if (disk.empty() && device.name == device.disk &&
                ReadKernelLine(sysRoot + "/block/" + device.disk + "/dm/name") == name)
                disk = device.disk;
        }
    }
    // Stacked devices are a few levels deep at most; a loop ends here too.
    for (int depth = 0; depth < 8 && !disk.empty(); ++depth) {
        const std::vector<std::string> members = ListFolder(sysRoot + "/block/" + disk + "/slaves");
        if (members.empty())
            break;
        disk = DiskOf(devices, members.front());
    }
    return disk;
}

} // namespace

bool IsFixedDisk(const std::string& sysRoot, const std::string& disk)
{
    const std::string folder = sysRoot + "/block/" + disk;
    if (ReadKernelNumber(folder + "/removable") == 1)
        return false;
    std::error_code ec;
    std::filesystem::path path = std::filesystem::canonical(folder, ec);
    if (ec)
        path = folder;
    for (const std::filesystem::path& part : path) {
        const std::string name = part.string();
        if (name.rfind("usb", 0) == 0 || name.rfind("mmc", 0) == 0)
            return false;
    }
    return true;
}

std::string FindSystemDisk(const std::string& procRoot, const std::string& sysRoot)
{
    const std::string root = RootDisk(procRoot, sysRoot);
    if (IsReadableDiskName(root) && IsFixedDisk(sysRoot, root))
        return root;
    std::string sata;
    std::string nvme;
    for (const std::string& name : ListFolder(sysRoot + "/block")) {
        if (!IsFixedDisk(sysRoot, name))
            continue;
        if (IsSataName(name) && (sata.empty() || DiskOrder(name, sata)))
            sata = name;
        else if (IsNvmeName(name) && nvme.empty())
            nvme = name;
    }
    return sata.empty() ? nvme : sata;
}

TDiskReader::TDiskReader(TDiskSources sources) : m_sources(std::move(sources))
{
}

TDiskReader::TPassThrough TDiskReader::ReadThroughPassThrough(TDiskInfo& info)
{
    const std::unique_ptr<TAtaDisk> disk = m_sources.Open ? m_sources.Open(m_sources.Dev + "/" + m_disk) : nullptr;
    if (!disk)
        return TPassThrough::Unavailable;
    // Asking for the power mode leaves a disk in standby; any other command
    // would spin it up.
    const std::optional<uint8_t> mode = disk->PowerMode();
    if (mode && IsStandbyPowerMode(*mode))
        return TPassThrough::Asleep;
    const int version = disk->Version();
    info.Version = static_cast<uint8_t>(version / 10000);
    info.Revision = static_cast<uint8_t>(version / 100 % 100);
    // A SCSI device of type 5 is an optical drive, which answers the packet
    // form of IDENTIFY.
    const bool packet = ReadKernelNumber(m_sources.Sys + "/block/" + m_disk + "/device/type") == 5;
    const uint8_t deviceMap = packet ? kDeviceMapAtapi : 0x01;
    info.SupportBits = (packet ? kCapAtapiIdCmd : kCapAtaIdCmd) | kCapSmartCmd;

    if (!disk->Send(IdentifyCommand(deviceMap, 0), info.IdentifyBuffer)) {
        info.IdentifyBuffer.fill(0);
        return TPassThrough::Awake;
    }
    info.Valid = 1;
    ApplyIdentify(info);
    if (!disk->Send(SmartCommand(kSmartReadData, 0), info.SmartData)) {
        info.SmartData.fill(0);
        ReadSensorTemperature(info);
    }
    if (!disk->Send(SmartCommand(kSmartReadThresholds, 0), info.SmartThresholds))
        info.SmartThresholds.fill(0);
    return TPassThrough::Read;
}

std::string TDiskReader::FindSensorInput() const
{
    // drivetemp hangs under device/hwmon/, the NVMe controller's sensor
    // directly under device/.
    const std::string device = m_sources.Sys + "/block/" + m_disk + "/device";
    std::vector<std::string> candidates;
    for (const std::string& name : ListFolder(device + "/hwmon"))
        candidates.push_back(device + "/hwmon/" + name);
    for (const std::string& name : ListFolder(device)) {
        if (name.rfind("hwmon", 0) == 0 && name.size() > 5)
            candidates.push_back(device + "/" + name);
    }
    for (const std::string& folder : candidates) {
        if (ReadKernelNumber(folder + "/temp1_input"))
            return folder + "/temp1_input";
    }
    return {};
}

bool TDiskReader::ReadSensorTemperature(TDiskInfo& info)
{
    std::optional<int64_t> value;
    if (!m_sensorInput.empty())
        value = ReadKernelNumber(m_sensorInput);
    if (!value) {
        m_sensorInput = FindSensorInput();
        if (m_sensorInput.empty() || !(value = ReadKernelNumber(m_sensorInput)))
            return false;
    }
    info.Temperature = MillidegreesToCelsius(*value);
    return true;
}

// The kernel has powered the disk down; touching its sensor would wake it.
bool TDiskReader::RuntimeSuspended() const
{
    return ReadKernelLine(m_sources.Sys + "/block/" + m_disk + "/device/power/runtime_status") == "suspended";
}

bool TDiskReader::Rotational() const
{
    return ReadKernelNumber(m_sources.Sys + "/block/" + m_disk + "/queue/rotational") == 1;
}

bool TDiskReader::ReadDiskInfo(TDiskInfo& info)
{
    if (m_disk.empty() || !PathExists(m_sources.Sys + "/block/" + m_disk)) {
        m_disk = FindSystemDisk(m_sources.Proc, m_sources.Sys);
        m_model.reset();
        m_sensorInput.clear();
    }
    TDiskInfo fresh;
    if (m_disk.empty()) {
        info = std::move(fresh);
        return true;
    }
    const TPassThrough passThrough = ReadThroughPassThrough(fresh);
    if (passThrough == TPassThrough::Read) {
        info = std::move(fresh);
        return true;
    }

    const bool awake =
        passThrough == TPassThrough::Awake || (passThrough == TPassThrough::Unavailable && !RuntimeSuspended());
    // Without its power mode a spinning disk's sensor might wake it.
    const bool sensorFirst = passThrough == TPassThrough::Awake || (awake && !Rotational());
    if (!m_model)
        m_model = std::string(Trim(ReadKernelLine(m_sources.Sys + "/block/" + m_disk + "/device/model").value_or("")));
    fresh.Model = *m_model;
    bool temperature = sensorFirst && ReadSensorTemperature(fresh);
    if (m_sources.Service) {
        if (const std::optional<TDriveHealth> health = m_sources.Service(m_disk)) {
            if (fresh.Model.empty())
                fresh.Model = health->Model;
            if (!temperature && health->Temperature) {
                fresh.Temperature = *health->Temperature;
                temperature = true;
            }
            if (health->PowerOnSeconds)
                fresh.PowerOnHours =
                    static_cast<int32_t>(std::clamp<int64_t>(*health->PowerOnSeconds / 3600, 0, INT32_MAX));
        }
    }
    if (!temperature && awake && !sensorFirst)
        temperature = ReadSensorTemperature(fresh);
    if (!temperature && !awake)
        return false;
    fresh.Valid = temperature ? 1 : 0;
    info = std::move(fresh);
    return true;
}

std::optional<TDiskInfo> TDiskReader::Read()
{
    TDiskInfo info;
    if (!ReadDiskInfo(info))
        return std::nullopt;
    EvaluateSmart(info);
    return info;
}

} // namespace tramble::platform
