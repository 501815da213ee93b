#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tramble {

// What the first disk tells about itself: identity, temperature, hours.
// Cleared at the start of every read.
struct TDiskInfo {
    uint8_t Valid = 0;   // 1 when the disk answered
    uint8_t Version = 0; // of the pass-through interface
    uint8_t Revision = 0;
    uint32_t SupportBits = 0;
    uint16_t Cylinders = 0;
    uint16_t Heads = 0;
    std::string Model;
    std::string Firmware;
    std::string Serial;
    int32_t Temperature = 0; // °C
    int32_t PowerOnHours = 0;
    // The 512 data bytes of IDENTIFY, SMART READ DATA and READ THRESHOLDS.
    std::array<uint8_t, 512> IdentifyBuffer{};
    std::array<uint8_t, 512> SmartData{};
    std::array<uint8_t, 512> SmartThresholds{};
};

// Taskfile registers of one ATA command.
struct TIdeRegs {
    uint8_t Features = 0;
    uint8_t SectorCount = 0;
    uint8_t SectorNumber = 0;
    uint8_t CylLow = 0;
    uint8_t CylHigh = 0;
    uint8_t DriveHead = 0;
    uint8_t Command = 0;
};

// Capability bits of SupportBits.
constexpr uint32_t kCapAtaIdCmd = 1;
constexpr uint32_t kCapAtapiIdCmd = 2;
constexpr uint32_t kCapSmartCmd = 4;
// Device-map bit of a packet (ATAPI) device at drive 0.
constexpr uint8_t kDeviceMapAtapi = 0x10;

// IDENTIFY PACKET DEVICE (0xA1) when the device map marks a packet device,
// else IDENTIFY DEVICE (0xEC).
TIdeRegs IdentifyCommand(uint8_t deviceMap, uint8_t drive);
// SMART with the given feature: 0xD0 READ DATA, 0xD1 READ THRESHOLDS.
TIdeRegs SmartCommand(uint8_t feature, uint8_t drive);
constexpr uint8_t kSmartReadData = 0xD0;
constexpr uint8_t kSmartReadThresholds = 0xD1;

// The SCSI ATA PASS-THROUGH(16) command block that sends the registers as a
// PIO data-in command reading one 512-byte block.
std::array<uint8_t, 16> AtaPassThrough16(const TIdeRegs& regs);

// ATA CHECK POWER MODE as a non-data PASS-THROUGH(16) that asks for the
// registers back (CK_COND): the drive answers without leaving standby.
std::array<uint8_t, 16> AtaCheckPowerMode16();

// The sector count register of the ATA status that a pass-through command
// with CK_COND returns in its sense data, in descriptor (0x72/0x73) or fixed
// (0x70/0x71) format; nothing when the sense data holds no such status.
std::optional<uint8_t> AtaCountFromSense(const uint8_t* sense, size_t length);

// The power modes CHECK POWER MODE reports in the sector count: 0x00 and
// 0x01 standby, 0x40 and 0x41 spun down; 0x80..0x83 idle, 0xFF active.
bool IsStandbyPowerMode(uint8_t count);

// Cylinders, heads, model, firmware and serial from IdentifyBuffer.
void ApplyIdentify(TDiskInfo& info);

// Temperature (attribute 194 or 231) and power-on hours (attribute 9) from
// the attribute table in SmartData.
void EvaluateSmart(TDiskInfo& info);

} // namespace tramble
