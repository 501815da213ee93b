#include "monitors/DiskInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace tramble;

namespace {

struct Attribute {
    uint8_t id;
    std::array<uint8_t, 6> raw;
};

// A READ DATA answer: revision word, then 12-byte slots from byte 2.
std::array<uint8_t, 512> SmartDataOf(const std::vector<Attribute>& attributes)
{
    std::array<uint8_t, 512> data{};
    data[0] = 0x10;
    for (size_t i = 0; i < attributes.size(); ++i) {
        uint8_t* slot = &data[2 + 12 * i];
        slot[0] = attributes[i].id;
        slot[1] = 0x32; // flags, current and worst must not be taken as raw
        slot[3] = 100;
        slot[4] = 99;
        std::memcpy(slot + 5, attributes[i].raw.data(), 6);
        slot[11] = 0xEE;
    }
    return data;
}

// Identify text is stored two characters per word, the first in the high byte.
void PutIdentifyText(std::array<uint8_t, 512>& data, size_t firstWord, size_t words, const std::string& text)
{
    std::string padded = text;
    padded.resize(words * 2, ' ');
    for (size_t w = 0; w < words; ++w) {
        data[2 * (firstWord + w)] = static_cast<uint8_t>(padded[2 * w + 1]);
        data[2 * (firstWord + w) + 1] = static_cast<uint8_t>(padded[2 * w]);
    }
}

} // namespace

TEST(EvaluateSmart, AttributeTables)
{
    const struct {
        const char* name;
        std::vector<Attribute> attributes;
        int32_t temperature;
        int32_t hours;
    } cases[] = {
        {"stops at id 0",
         {{9, {1, 0, 0, 0, 0, 0}}, {194, {38, 0, 0, 0, 0, 0}}, {0, {}}, {231, {70, 0, 0, 0, 0, 0}}},
         38,
         1},
        {"later slot overrides", {{194, {38, 0, 20, 0, 50, 0}}, {231, {41, 0, 0, 0, 0, 0}}}, 41, 0},
        {"hours from bytes 0-3", {{9, {0x10, 0x27, 0, 0, 0, 0}}}, 0, 10000},
        {"bytes 4-5 are or-ed in", {{9, {0x10, 0x27, 0, 0, 0x01, 0}}}, 0, 10001},
        {"all four low bytes", {{9, {0x78, 0x56, 0x34, 0x12, 0, 0}}}, 0, 0x12345678},
        {"empty table", {}, 0, 0},
        {"raw byte 0 only, unsigned", {{194, {200, 1, 1, 1, 1, 1}}}, 200, 0},
    };
    for (const auto& c : cases) {
        TDiskInfo info;
        info.SmartData = SmartDataOf(c.attributes);
        EvaluateSmart(info);
        EXPECT_EQ(info.Temperature, c.temperature) << c.name;
        EXPECT_EQ(info.PowerOnHours, c.hours) << c.name;
    }
}

TEST(EvaluateSmart, ThirtySlotsAtMost)
{
    std::vector<Attribute> attributes(30, Attribute{5, {}});
    attributes[29] = {194, {33, 0, 0, 0, 0, 0}};
    TDiskInfo info;
    info.SmartData = SmartDataOf(attributes);
    // A 31st slot would start at byte 362: it is never looked at.
    info.SmartData[2 + 12 * 30] = 194;
    info.SmartData[2 + 12 * 30 + 5] = 99;
    EvaluateSmart(info);
    EXPECT_EQ(info.Temperature, 33);
}

TEST(ApplyIdentify, GeometryAndSwappedTrimmedTexts)
{
    TDiskInfo info;
    auto& data = info.IdentifyBuffer;
    data[2] = 0x3F;
    data[3] = 0x33; // word 1 = 0x333F
    data[6] = 16;   // word 3
    PutIdentifyText(data, 10, 10, "   WD-WCC4N1234567");
    PutIdentifyText(data, 23, 4, "82.00A82");
    PutIdentifyText(data, 27, 20, "WDC WD10EFRX-68FYTN0");
    ApplyIdentify(info);
    EXPECT_EQ(info.Cylinders, 0x333F);
    EXPECT_EQ(info.Heads, 16);
    EXPECT_EQ(info.Serial, "WD-WCC4N1234567");
    EXPECT_EQ(info.Firmware, "82.00A82");
    EXPECT_EQ(info.Model, "WDC WD10EFRX-68FYTN0");
}

TEST(ApplyIdentify, OddLengthAndEmptyTexts)
{
    TDiskInfo info;
    PutIdentifyText(info.IdentifyBuffer, 27, 20, "Samsung SSD 860 EVO 500GB");
    ApplyIdentify(info);
    EXPECT_EQ(info.Model, "Samsung SSD 860 EVO 500GB");
    // Zero words (a failed identify) give empty texts, not NUL characters.
    EXPECT_EQ(info.Serial, "");
    EXPECT_EQ(info.Firmware, "");
}

TEST(AtaCommands, RegistersOfTheThreeCommands)
{
    const struct {
        const char* name;
        TIdeRegs regs;
        std::array<uint8_t, 7> expected; // features, count, number, cyl low, cyl high, drive/head, command
    } cases[] = {
        {"identify", IdentifyCommand(0x01, 0), {0, 1, 1, 0, 0, 0xA0, 0xEC}},
        {"identify packet", IdentifyCommand(0x10, 0), {0, 1, 1, 0, 0, 0xA0, 0xA1}},
        {"identify odd drive", IdentifyCommand(0x01, 1), {0, 1, 1, 0, 0, 0xB0, 0xEC}},
        {"read data", SmartCommand(kSmartReadData, 0), {0xD0, 1, 1, 0x4F, 0xC2, 0xA0, 0xB0}},
        {"read thresholds", SmartCommand(kSmartReadThresholds, 0), {0xD1, 1, 1, 0x4F, 0xC2, 0xA0, 0xB0}},
    };
    for (const auto& c : cases) {
        const TIdeRegs& r = c.regs;
        const std::array<uint8_t, 7> got = {r.Features, r.SectorCount, r.SectorNumber, r.CylLow,
                                            r.CylHigh,  r.DriveHead,   r.Command};
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(AtaCommands, PassThroughSixteenLayout)
{
    const std::array<uint8_t, 16> cdb = AtaPassThrough16(SmartCommand(kSmartReadData, 0));
    // ATA PASS-THROUGH(16): PIO data-in, one 512-byte block from the device,
    // each taskfile register in the low byte of its field.
    const std::array<uint8_t, 16> expected = {0x85, 0x08, 0x0E, 0, 0xD0, 0, 1, 0, 1, 0, 0x4F, 0, 0xC2, 0xA0, 0xB0, 0};
    EXPECT_EQ(cdb, expected);
}
