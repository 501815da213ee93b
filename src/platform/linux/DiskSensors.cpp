#include "platform/DiskSensors.h"

#include "monitors/SystemStatus.h"
#include "platform/linux/KernelFiles.h"
#include "text/TextConvert.h"

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

} // namespace

TDiskReader::TDiskReader(std::string sysRoot, std::string devRoot, TAtaOpener open)
    : m_sysRoot(std::move(sysRoot)), m_devRoot(std::move(devRoot)), m_open(std::move(open))
{
}

std::string TDiskReader::FindDisk() const
{
    std::string sata;
    std::string nvme;
    for (const std::string& name : ListFolder(m_sysRoot + "/block")) {
        if (IsSataName(name) && (sata.empty() || DiskOrder(name, sata)))
            sata = name;
        else if (IsNvmeName(name) && nvme.empty())
            nvme = name;
    }
    return sata.empty() ? nvme : sata;
}

bool TDiskReader::ReadThroughPassThrough(TDiskInfo& info)
{
    const std::unique_ptr<TAtaDisk> disk = m_open ? m_open(m_devRoot + "/" + m_disk) : nullptr;
    if (!disk)
        return false;
    const int version = disk->Version();
    info.Version = static_cast<uint8_t>(version / 10000);
    info.Revision = static_cast<uint8_t>(version / 100 % 100);
    // A SCSI device of type 5 is an optical drive, which answers the packet
    // form of IDENTIFY.
    const bool packet = ReadKernelNumber(m_sysRoot + "/block/" + m_disk + "/device/type") == 5;
    const uint8_t deviceMap = packet ? kDeviceMapAtapi : 0x01;
    info.SupportBits = (packet ? kCapAtapiIdCmd : kCapAtaIdCmd) | kCapSmartCmd;

    if (!disk->Send(IdentifyCommand(deviceMap, 0), info.IdentifyBuffer)) {
        info.IdentifyBuffer.fill(0);
        return false;
    }
    info.Valid = 1;
    ApplyIdentify(info);
    if (!disk->Send(SmartCommand(kSmartReadData, 0), info.SmartData)) {
        info.SmartData.fill(0);
        ReadSensorTemperature(info);
    }
    if (!disk->Send(SmartCommand(kSmartReadThresholds, 0), info.SmartThresholds))
        info.SmartThresholds.fill(0);
    return true;
}

std::string TDiskReader::FindSensorInput() const
{
    // drivetemp hangs under device/hwmon/, the NVMe controller's sensor
    // directly under device/.
    const std::string device = m_sysRoot + "/block/" + m_disk + "/device";
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

void TDiskReader::ReadFromSysfs(TDiskInfo& info)
{
    if (!m_model)
        m_model = std::string(Trim(ReadKernelLine(m_sysRoot + "/block/" + m_disk + "/device/model").value_or("")));
    info.Model = *m_model;
    if (ReadSensorTemperature(info))
        info.Valid = 1;
}

void TDiskReader::ReadDiskInfo(TDiskInfo& info)
{
    info = TDiskInfo();
    if (m_disk.empty() || !PathExists(m_sysRoot + "/block/" + m_disk)) {
        m_disk = FindDisk();
        m_model.reset();
        m_sensorInput.clear();
    }
    if (m_disk.empty())
        return;
    if (!ReadThroughPassThrough(info))
        ReadFromSysfs(info);
}

TDiskInfo TDiskReader::Read()
{
    TDiskInfo info;
    ReadDiskInfo(info);
    EvaluateSmart(info);
    return info;
}

} // namespace tramble::platform
