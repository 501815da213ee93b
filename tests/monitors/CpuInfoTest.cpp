#include "monitors/CpuInfo.h"
#include "monitors/CpuTemperature.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <vector>

using namespace tramble;

namespace {

uint32_t Text4(const char* text)
{
    uint32_t word = 0;
    std::memcpy(&word, text, 4);
    return word;
}

// A processor described by its answers to each leaf; unknown leaves give 0.
// Records which leaves were asked.
struct FakeProcessor {
    std::map<std::pair<uint32_t, uint32_t>, TCpuidRegs> leaves;
    std::vector<uint32_t> asked;

    void Vendor(const char* id, uint32_t maxStandard)
    {
        leaves[{0, 0}] = {maxStandard, Text4(id), Text4(id + 8), Text4(id + 4)};
    }
    void Brand(const char* text)
    {
        for (uint32_t part = 0; part < 3; ++part) {
            const char* p = text + 16 * part;
            leaves[{0x80000002 + part, 0}] = {Text4(p), Text4(p + 4), Text4(p + 8), Text4(p + 12)};
        }
    }
    TCpuidFunction Function()
    {
        return [this](uint32_t leaf, uint32_t sub) {
            asked.push_back(leaf);
            auto it = leaves.find({leaf, sub});
            return it == leaves.end() ? TCpuidRegs{} : it->second;
        };
    }
    bool Asked(uint32_t leaf) const { return std::find(asked.begin(), asked.end(), leaf) != asked.end(); }
};

const char kBrand[49] = "       Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz\0\0";

FakeProcessor Intel(uint32_t maxStandard, uint32_t maxExtended)
{
    FakeProcessor cpu;
    cpu.Vendor("GenuineIntel", maxStandard);
    cpu.leaves[{0x80000000, 0}] = {maxExtended, 0, 0, 0};
    cpu.leaves[{6, 0}] = {0x77, 2, 9, 0};
    cpu.leaves[{4, 0}] = {(7u << 26) | 0x121, 0, 0, 0};
    cpu.Brand(kBrand);
    return cpu;
}

FakeProcessor Amd(uint32_t maxExtended)
{
    FakeProcessor cpu;
    cpu.Vendor("AuthenticAMD", 0xD);
    cpu.leaves[{0x80000000, 0}] = {maxExtended, 0, 0, 0};
    cpu.leaves[{0x80000007, 0}] = {0, 0, 0, 0x5}; // sensor, no FID, VID
    cpu.leaves[{0x80000008, 0}] = {0, 0, 0x3005, 0};
    cpu.Brand("AMD Ryzen 7 3700X 8-Core Processor              ");
    return cpu;
}

} // namespace

TEST(CpuInfo, IntelReadsSensorCoresAndBrand)
{
    FakeProcessor cpu = Intel(0xD, 0x80000008);
    TCpuInfo info;
    info.Fid = 9;
    FillCpuInfo(info, cpu.Function());
    EXPECT_EQ(info.Vendor, cvIntel);
    EXPECT_EQ(info.VendorText(), "GenuineIntel");
    EXPECT_EQ(info.Sensor, 1);
    EXPECT_EQ(info.Fid, 0); // the record starts cleared
    EXPECT_EQ(info.Cores, 8u);
    EXPECT_EQ(info.BrandText(), "Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz");
    EXPECT_FALSE(cpu.Asked(0x80000007));
}

TEST(CpuInfo, LeavesBeyondTheHighestAreNotRead)
{
    const struct {
        uint32_t maxStandard;
        uint32_t maxExtended;
        bool sensorLeaf;
        uint32_t cores;
        size_t brandLength;
    } cases[] = {
        {5, 0x80000004, false, 8, 39}, {6, 0x80000004, true, 8, 39},  {3, 0x80000004, false, 1, 39},
        {4, 0x80000003, false, 8, 25}, {0xD, 0x80000002, true, 8, 8}, {0xD, 0x80000001, true, 8, 0},
        {0xD, 0, true, 8, 0},
    };
    for (const auto& c : cases) {
        FakeProcessor cpu = Intel(c.maxStandard, c.maxExtended);
        TCpuInfo info;
        FillCpuInfo(info, cpu.Function());
        EXPECT_EQ(cpu.Asked(6), c.sensorLeaf) << c.maxStandard;
        EXPECT_EQ(info.Sensor, c.sensorLeaf ? 1 : 0) << c.maxStandard;
        EXPECT_EQ(info.Cores, c.cores) << c.maxStandard;
        EXPECT_EQ(info.BrandText().size(), c.brandLength) << std::hex << c.maxExtended;
    }
}

TEST(CpuInfo, AmdReadsPowerManagementAndCores)
{
    const struct {
        uint32_t maxExtended;
        uint8_t sensor;
        uint8_t vid;
        uint32_t cores;
    } cases[] = {{0x80000008, 1, 1, 6}, {0x80000007, 1, 1, 1}, {0x80000006, 0, 0, 1}};
    for (const auto& c : cases) {
        FakeProcessor cpu = Amd(c.maxExtended);
        TCpuInfo info;
        FillCpuInfo(info, cpu.Function());
        EXPECT_EQ(info.Vendor, cvAmd);
        EXPECT_EQ(info.Sensor, c.sensor) << std::hex << c.maxExtended;
        EXPECT_EQ(info.Fid, 0);
        EXPECT_EQ(info.Vid, c.vid) << std::hex << c.maxExtended;
        EXPECT_EQ(info.Cores, c.cores) << std::hex << c.maxExtended;
        EXPECT_FALSE(cpu.Asked(6));
    }
    FakeProcessor other;
    other.Vendor("CentaurHauls", 6);
    other.leaves[{6, 0}] = {1, 0, 0, 0};
    TCpuInfo info;
    FillCpuInfo(info, other.Function());
    EXPECT_EQ(info.Vendor, cvOther);
    EXPECT_EQ(info.Sensor, 0);
    EXPECT_EQ(info.Cores, 1u);
}

TEST(CpuInfo, RegisterArithmetic)
{
    EXPECT_EQ(SensorLimitFromMsr(0), 100);
    EXPECT_EQ(SensorLimitFromMsr(1u << 30), 85);
    EXPECT_EQ(SensorLimitFromMsr(~(uint64_t(1) << 30)), 100);
    EXPECT_EQ(SensorLimitFromMsr(uint64_t(1) << 62), 100); // high half is not looked at
    // Readout 0x23 = 35 below the limit; bit 23 and above are not part of it.
    EXPECT_EQ(TemperatureFromMsr(100, 0x88230000), 65);
    EXPECT_EQ(TemperatureFromMsr(85, 0xFF7F0000), 85 - 127);
    EXPECT_EQ(TemperatureFromMsr(0, 0x00100000), -16);
}

namespace {

struct MsrStub {
    std::map<uint32_t, uint64_t> registers;
    std::vector<uint32_t> asked;
    TCpuTemperature::TMsrReader Reader()
    {
        return [this](uint32_t index, uint64_t& value) {
            asked.push_back(index);
            auto it = registers.find(index);
            value = it == registers.end() ? 0 : it->second;
            return it != registers.end();
        };
    }
};

TCpuInfo InfoOf(uint8_t vendor, uint8_t sensor)
{
    TCpuInfo info;
    info.Vendor = vendor;
    info.Sensor = sensor;
    return info;
}

} // namespace

TEST(CpuTemperature, IntelWithSensorUsesTheRegistersWhenNoDriverIsLoaded)
{
    MsrStub msr;
    msr.registers = {{0xEE, 1u << 30}, {0x19C, 0x00140000}};
    TCpuTemperature temperature(
        msr.Reader(), [] { return TReading<int>::None(); }, [] { return TReading<int>(40); });
    temperature.Start(InfoOf(cvIntel, 1));
    EXPECT_TRUE(temperature.UsesMsr());
    EXPECT_EQ(temperature.SensorLimit(), 85);
    EXPECT_EQ(temperature.Read().Value(), 65);
    // When the register cannot be read, the thermal zone answers.
    msr.registers.erase(0x19C);
    EXPECT_EQ(temperature.Read().Value(), 40);
}

TEST(CpuTemperature, FailedLimitReadTestsTheEmptyOutput)
{
    MsrStub msr;
    msr.registers = {{0x19C, 0x00140000}};
    TCpuTemperature temperature(msr.Reader(), {}, [] { return TReading<int>::None(); });
    temperature.Start(InfoOf(cvIntel, 1));
    EXPECT_EQ(temperature.SensorLimit(), 100);
    EXPECT_EQ(temperature.Read().Value(), 80);
}

TEST(CpuTemperature, SourcesInTheirOrder)
{
    const TReading<int> none = TReading<int>::None();
    const struct {
        const char* name;
        TCpuInfo info;
        bool driverLoaded;
        TReading<int> driver;
        TReading<int> zone;
        std::optional<int> expected;
        bool registersRead;
    } cases[] = {
        {"driver before registers", InfoOf(cvIntel, 1), true, TReading<int>(47), TReading<int>(30), 47, false},
        // A loaded driver that gives nothing this time: the zone, not the
        // register rule with its doubtful limit.
        {"loaded driver without a reading", InfoOf(cvIntel, 1), true, none, TReading<int>(30), 30, false},
        {"no driver: registers before zones", InfoOf(cvIntel, 1), false, none, TReading<int>(30), 80, true},
        {"driver on AMD", InfoOf(cvAmd, 1), true, TReading<int>(55), TReading<int>(30), 55, false},
        {"AMD without driver: zone", InfoOf(cvAmd, 1), false, none, TReading<int>(31), 31, false},
        {"Intel without sensor: zone", InfoOf(cvIntel, 0), false, none, TReading<int>(32), 32, false},
        {"other processor, nothing", InfoOf(cvOther, 1), false, none, none, std::nullopt, false},
    };
    for (const auto& c : cases) {
        MsrStub msr;
        msr.registers = {{0xEE, 0}, {0x19C, 0x00140000}};
        TCpuTemperature temperature(
            msr.Reader(), [&] { return c.driver; }, [&] { return c.zone; });
        temperature.Start(c.info, c.driverLoaded);
        const TReading<int> reading = temperature.Read();
        EXPECT_EQ(reading.Ok(), c.expected.has_value()) << c.name;
        EXPECT_EQ(reading.ValueOr(-1000), c.expected.value_or(-1000)) << c.name;
        EXPECT_EQ(!msr.asked.empty(), c.registersRead) << c.name;
        EXPECT_EQ(temperature.SensorLimit(), c.registersRead ? 100 : 0) << c.name;
    }
}
