#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace tramble {

struct TCpuidRegs {
    uint32_t Eax = 0;
    uint32_t Ebx = 0;
    uint32_t Ecx = 0;
    uint32_t Edx = 0;
};

// Runs the processor identification for a leaf and sub-leaf.
using TCpuidFunction = std::function<TCpuidRegs(uint32_t leaf, uint32_t subLeaf)>;

enum TCpuVendor : uint8_t { cvOther = 0, cvIntel = 1, cvAmd = 2 };

// What the temperature monitor needs to know about the processor.
struct TCpuInfo {
    uint8_t Vendor = cvOther;
    uint8_t Sensor = 0; // Intel: digital thermal sensor; AMD: temperature sensor
    uint8_t Fid = 0;    // AMD only
    uint8_t Vid = 0;    // AMD only
    std::array<char, 12> VendorId{};
    std::array<char, 48> Brand{};
    uint32_t Cores = 1;

    std::string VendorText() const;
    // The brand string without its padding blanks.
    std::string BrandText() const;
};

// Fills the record from the identification leaves; called once at start-up.
void FillCpuInfo(TCpuInfo& info, const TCpuidFunction& cpuid);

// The temperature limit from the thermal-target register (0xEE): 85 °C when
// bit 30 is set, else 100 °C.
int32_t SensorLimitFromMsr(uint64_t value);

// The core temperature from the thermal-status register (0x19C): the
// limit less the readout in bits 16..22.
int32_t TemperatureFromMsr(int32_t sensorLimit, uint64_t value);

} // namespace tramble
