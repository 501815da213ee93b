#pragma once

#include <cstdint>
#include <string>

namespace tramble::platform {

// Reads the model-specific registers of processor 0 through the kernel's
// msr device (<devRoot>/cpu/0/msr), which needs root or CAP_SYS_RAWIO.
class TMsrDevice {
public:
    explicit TMsrDevice(std::string devRoot = "/dev");
    ~TMsrDevice();
    TMsrDevice(const TMsrDevice&) = delete;
    TMsrDevice& operator=(const TMsrDevice&) = delete;

    // Opens the device, loading the kernel module first when it is missing
    // and this process runs as root on the real /dev. Failure is silent.
    bool InstallDriver();
    void RemoveDriver();
    bool Installed() const { return m_fd >= 0; }

    // Reads the register; value is 0 when the read fails.
    bool ReadMsr(uint32_t index, uint64_t& value) const;

private:
    std::string m_devRoot;
    int m_fd = -1;
};

} // namespace tramble::platform
