#include "monitors/CpuInfo.h"

#include "text/TextConvert.h"

#include <cstring>
#include <string_view>

namespace tramble {
namespace {

void PutWord(char* target, uint32_t word)
{
    for (int i = 0; i < 4; ++i)
        target[i] = static_cast<char>((word >> (8 * i)) & 0xFF);
}

void FillIntel(TCpuInfo& info, const TCpuidFunction& cpuid, uint32_t maxStandard)
{
    if (maxStandard > 5)
        info.Sensor = cpuid(6, 0).Eax & 1;
    if (maxStandard > 3)
        info.Cores = (cpuid(4, 0).Eax >> 26) + 1;
}

void FillAmd(TCpuInfo& info, const TCpuidFunction& cpuid, uint32_t maxExtended)
{
    if (maxExtended >= 0x80000007) {
        const uint32_t edx = cpuid(0x80000007, 0).Edx;
        info.Sensor = edx & 1;
        info.Fid = (edx >> 1) & 1;
        info.Vid = (edx >> 2) & 1;
    }
    if (maxExtended > 0x80000007)
        info.Cores = (cpuid(0x80000008, 0).Ecx & 0xF) + 1;
}

} // namespace

std::string TCpuInfo::VendorText() const
{
    return std::string(VendorId.data(), strnlen(VendorId.data(), VendorId.size()));
}

std::string TCpuInfo::BrandText() const
{
    return std::string(Trim(std::string_view(Brand.data(), strnlen(Brand.data(), Brand.size()))));
}

void FillCpuInfo(TCpuInfo& info, const TCpuidFunction& cpuid)
{
    info = TCpuInfo();
    const TCpuidRegs leaf0 = cpuid(0, 0);
    PutWord(&info.VendorId[0], leaf0.Ebx);
    PutWord(&info.VendorId[4], leaf0.Edx);
    PutWord(&info.VendorId[8], leaf0.Ecx);
    const std::string_view vendor(info.VendorId.data(), info.VendorId.size());

    const uint32_t maxExtended = cpuid(0x80000000, 0).Eax;
    for (uint32_t part = 0; part < 3; ++part) {
        const uint32_t leaf = 0x80000002 + part;
        if (maxExtended <= leaf - 1)
            break;
        const TCpuidRegs regs = cpuid(leaf, 0);
        char* target = &info.Brand[part * 16];
        PutWord(target, regs.Eax);
        PutWord(target + 4, regs.Ebx);
        PutWord(target + 8, regs.Ecx);
        PutWord(target + 12, regs.Edx);
    }

    if (vendor == "GenuineIntel") {
        info.Vendor = cvIntel;
        FillIntel(info, cpuid, leaf0.Eax);
    } else if (vendor == "AuthenticAMD") {
        info.Vendor = cvAmd;
        FillAmd(info, cpuid, maxExtended);
    }
}

int32_t SensorLimitFromMsr(uint64_t value)
{
    return (value & (uint64_t(1) << 30)) ? 85 : 100;
}

int32_t TemperatureFromMsr(int32_t sensorLimit, uint64_t value)
{
    const uint32_t low = static_cast<uint32_t>(value);
    return sensorLimit - static_cast<int32_t>((low >> 16) & 0x7F);
}

} // namespace tramble
