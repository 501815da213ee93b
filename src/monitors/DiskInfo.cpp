#include "monitors/DiskInfo.h"

#include "text/TextConvert.h"

namespace tramble {
namespace {

constexpr size_t kAttributeTable = 2;
constexpr size_t kAttributeSlots = 30;
constexpr size_t kAttributeSize = 12;
constexpr size_t kRawOffset = 5;

uint16_t Word(const std::array<uint8_t, 512>& data, size_t index)
{
    return static_cast<uint16_t>(data[2 * index] | (data[2 * index + 1] << 8));
}

// Identify text: each word holds two characters, the first in its high byte.
std::string IdentifyText(const std::array<uint8_t, 512>& data, size_t firstWord, size_t lastWord)
{
    std::string text;
    for (size_t w = firstWord; w <= lastWord; ++w) {
        text += static_cast<char>(data[2 * w + 1]);
        text += static_cast<char>(data[2 * w]);
    }
    return std::string(Trim(text));
}

uint8_t DriveHead(uint8_t drive)
{
    return (drive & 1) ? 0xB0 : 0xA0;
}

} // namespace

TIdeRegs IdentifyCommand(uint8_t deviceMap, uint8_t drive)
{
    TIdeRegs regs;
    regs.SectorCount = 1;
    regs.SectorNumber = 1;
    regs.DriveHead = DriveHead(drive);
    regs.Command = (deviceMap & kDeviceMapAtapi) ? 0xA1 : 0xEC;
    return regs;
}

TIdeRegs SmartCommand(uint8_t feature, uint8_t drive)
{
    TIdeRegs regs;
    regs.Features = feature;
    regs.SectorCount = 1;
    regs.SectorNumber = 1;
    regs.CylLow = 0x4F;
    regs.CylHigh = 0xC2;
    regs.DriveHead = DriveHead(drive);
    regs.Command = 0xB0;
    return regs;
}

std::array<uint8_t, 16> AtaPassThrough16(const TIdeRegs& regs)
{
    constexpr uint8_t kPioDataIn = 4;
    // Transfer from the device, length in blocks, taken from the sector count.
    constexpr uint8_t kDataInBlocks = 0x08 | 0x04 | 0x02;
    std::array<uint8_t, 16> cdb{};
    cdb[0] = 0x85;
    cdb[1] = kPioDataIn << 1;
    cdb[2] = kDataInBlocks;
    cdb[4] = regs.Features;
    cdb[6] = regs.SectorCount;
    cdb[8] = regs.SectorNumber;
    cdb[10] = regs.CylLow;
    cdb[12] = regs.CylHigh;
    cdb[13] = regs.DriveHead;
    cdb[14] = regs.Command;
    return cdb;
}

std::array<uint8_t, 16> AtaCheckPowerMode16()
{
    constexpr uint8_t kNonData = 3;
    constexpr uint8_t kCheckCondition = 0x20;
    std::array<uint8_t, 16> cdb{};
    cdb[0] = 0x85;
    cdb[1] = kNonData << 1;
    cdb[2] = kCheckCondition;
    cdb[13] = DriveHead(0);
    cdb[14] = 0xE5;
    return cdb;
}

std::optional<uint8_t> AtaCountFromSense(const uint8_t* sense, size_t length)
{
    constexpr uint8_t kStatusError = 0x01;
    if (length < 8)
        return std::nullopt;
    const uint8_t format = sense[0] & 0x7F;
    if (format == 0x70 || format == 0x71) {
        // Fixed format: error, status, device and count in the information
        // field, valid only with "ATA pass through information available".
        if (length < 14 || sense[12] != 0x00 || sense[13] != 0x1D || (sense[4] & kStatusError))
            return std::nullopt;
        return sense[6];
    }
    if (format != 0x72 && format != 0x73)
        return std::nullopt;
    const size_t end = std::min(length, size_t(8) + sense[7]);
    for (size_t at = 8; at + 2 <= end; at += size_t(2) + sense[at + 1]) {
        // The ATA status return descriptor: type 9, count in byte 5, status in 13.
        if (sense[at] != 0x09 || at + 14 > end)
            continue;
        if (sense[at + 13] & kStatusError)
            return std::nullopt;
        return sense[at + 5];
    }
    return std::nullopt;
}

bool IsStandbyPowerMode(uint8_t count)
{
    return count == 0x00 || count == 0x01 || count == 0x40 || count == 0x41;
}

void ApplyIdentify(TDiskInfo& info)
{
    const auto& data = info.IdentifyBuffer;
    info.Cylinders = Word(data, 1);
    info.Heads = Word(data, 3);
    info.Serial = IdentifyText(data, 10, 19);
    info.Firmware = IdentifyText(data, 23, 26);
    info.Model = IdentifyText(data, 27, 46);
}

void EvaluateSmart(TDiskInfo& info)
{
    for (size_t slot = 0; slot < kAttributeSlots; ++slot) {
        const uint8_t* attribute = &info.SmartData[kAttributeTable + slot * kAttributeSize];
        const uint8_t id = attribute[0];
        const uint8_t* raw = attribute + kRawOffset;
        if (id == 0)
            break;
        if (id == 194 || id == 231)
            info.Temperature = raw[0];
        if (id == 9) {
            const uint32_t low = raw[0] | (raw[1] << 8) | (raw[2] << 16) | (uint32_t(raw[3]) << 24);
            const uint32_t high = raw[4] | (raw[5] << 8);
            info.PowerOnHours = static_cast<int32_t>(low | high);
        }
    }
}

} // namespace tramble
