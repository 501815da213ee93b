#pragma once

#include "monitors/DiskInfo.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tramble::platform {

// An open disk that takes ATA commands reading one 512-byte block.
class TAtaDisk {
public:
    virtual ~TAtaDisk() = default;
    // Version number of the pass-through interface, such as 30527 for 3.5.27.
    virtual int Version() const = 0;
    virtual bool Send(const TIdeRegs& regs, std::array<uint8_t, 512>& data) = 0;
    // The power mode CHECK POWER MODE reports (see IsStandbyPowerMode);
    // nothing when the disk does not say.
    virtual std::optional<uint8_t> PowerMode() = 0;
};

// Opens a device node; nullptr when it cannot be opened or takes no commands.
using TAtaOpener = std::function<std::unique_ptr<TAtaDisk>(const std::string& devicePath)>;

// The kernel's SCSI generic interface with ATA PASS-THROUGH(16) commands;
// needs root or CAP_SYS_RAWIO.
std::unique_ptr<TAtaDisk> OpenPassThrough(const std::string& devicePath);

} // namespace tramble::platform
