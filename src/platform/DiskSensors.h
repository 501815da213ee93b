#pragma once

#include "monitors/DiskInfo.h"
#include "platform/AtaDisk.h"

#include <optional>
#include <string>

namespace tramble::platform {

// Reads the first disk (<sysRoot>/block: the first "sd*", else the first
// "nvme*n*"). SATA disks answer IDENTIFY and S.M.A.R.T. through SCSI ATA
// pass-through on <devRoot>/<disk>, which needs root. When that is not
// possible the model comes from sysfs and the temperature from the disk's
// hwmon sensor (drivetemp, nvme); the power-on hours then stay 0.
// The disk is looked for again when it goes away.
class TDiskReader {
public:
    TDiskReader(std::string sysRoot = "/sys", std::string devRoot = "/dev", TAtaOpener open = OpenPassThrough);

    // Clears and fills the record; Valid is 1 when the disk answered or its
    // sensor gave a temperature.
    void ReadDiskInfo(TDiskInfo& info);
    // ReadDiskInfo, then EvaluateSmart.
    TDiskInfo Read();

    // The disk read, "" when there is none.
    const std::string& DiskName() const { return m_disk; }

private:
    bool ReadThroughPassThrough(TDiskInfo& info);
    void ReadFromSysfs(TDiskInfo& info);
    bool ReadSensorTemperature(TDiskInfo& info);
    std::string FindSensorInput() const;
    std::string FindDisk() const;

    std::string m_sysRoot;
    std::string m_devRoot;
    TAtaOpener m_open;
    std::string m_disk;
    // Found once per disk; the sensor is searched again when it stops answering.
    std::optional<std::string> m_model;
    std::string m_sensorInput;
};

} // namespace tramble::platform
