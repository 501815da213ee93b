#pragma once

#include "monitors/DiskInfo.h"
#include "platform/AtaDisk.h"
#include "platform/DiskService.h"

#include <optional>
#include <string>

namespace tramble::platform {

// Where the disk reader looks; tests point these at fixture trees and fakes.
struct TDiskSources {
    std::string Sys = "/sys";
    std::string Dev = "/dev";
    std::string Proc = "/proc";
    TAtaOpener Open = OpenPassThrough;
    // The system's disk service; none when empty.
    TDriveHealthReader Service;
};

// The disk that holds the root file system (<procRoot>/self/mountinfo),
// followed through device-mapper and RAID members to the first disk
// beneath; else the first "sd*", else the first "nvme*n*". Removable, USB
// and card-reader disks are never chosen. "" when there is none.
std::string FindSystemDisk(const std::string& procRoot, const std::string& sysRoot);

// True for a disk that is neither removable nor attached through USB or an
// MMC host.
bool IsFixedDisk(const std::string& sysRoot, const std::string& disk);

// Reads the system disk without waking it. As root, SATA disks are asked
// for their power mode, then IDENTIFY and S.M.A.R.T. through SCSI ATA
// pass-through on <Dev>/<disk>. Otherwise the model comes from sysfs, the
// temperature from the disk's hwmon sensor (drivetemp, nvme) and the
// power-on time from the disk service, which also stands in for a missing
// sensor. A spinning disk whose power mode cannot be asked is read through
// the service first, since its sensor would wake it. The disk is looked for
// again when it goes away.
class TDiskReader {
public:
    explicit TDiskReader(TDiskSources sources = {});

    // Clears and fills the record; Valid is 1 when the disk or its sensor
    // or the service answered. False, with the record left alone, when the
    // disk sleeps and nothing could be read without waking it.
    bool ReadDiskInfo(TDiskInfo& info);
    // ReadDiskInfo, then EvaluateSmart; nothing while the disk sleeps.
    std::optional<TDiskInfo> Read();

    // The disk read, "" when there is none.
    const std::string& DiskName() const { return m_disk; }

private:
    enum class TPassThrough { Unavailable, Asleep, Awake, Read };
    TPassThrough ReadThroughPassThrough(TDiskInfo& info);
    bool ReadSensorTemperature(TDiskInfo& info);
    bool RuntimeSuspended() const;
    bool Rotational() const;
    std::string FindSensorInput() const;

    TDiskSources m_sources;
    std::string m_disk;
    // Found once per disk; the sensor is searched again when it stops answering.
    std::optional<std::string> m_model;
    std::string m_sensorInput;
};

} // namespace tramble::platform
