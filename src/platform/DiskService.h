#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tramble::platform {

// What the system's disk service knows of a drive's S.M.A.R.T. data. The
// service reads it as root and leaves sleeping disks asleep, so asking it
// never touches the disk.
struct TDriveHealth {
    std::string Model;
    std::optional<int> Temperature; // °C
    std::optional<int64_t> PowerOnSeconds;
};

// Asks about the drive of the block device <devRoot>/<disk>, such as "sda".
using TDriveHealthReader = std::function<std::optional<TDriveHealth>(const std::string& disk)>;

// The UDisks2 service (org.freedesktop.UDisks2): the drive whose block
// device is /dev/<disk>, its Drive.Ata (or NVMe.Controller) S.M.A.R.T.
// figures and its model. Every call waits at most the time-out. Not for use
// from two threads at once.
class TUDisksClient {
public:
    // An empty address means the system bus.
    explicit TUDisksClient(std::string busAddress = {},
                           std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));
    ~TUDisksClient();
    TUDisksClient(const TUDisksClient&) = delete;
    TUDisksClient& operator=(const TUDisksClient&) = delete;

    // Nothing when the bus or the service cannot be reached or knows no such
    // disk.
    std::optional<TDriveHealth> Read(const std::string& disk);

private:
    struct Connection;
    std::string m_address;
    std::chrono::milliseconds m_timeout;
    std::unique_ptr<Connection> m_connection;
};

// A reader over a shared client, for TDiskReader.
TDriveHealthReader UDisksReader(std::string busAddress = {});

} // namespace tramble::platform
