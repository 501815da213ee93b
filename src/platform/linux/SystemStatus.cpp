#include "platform/SystemStatus.h"

#include "platform/linux/KernelFiles.h"

#include <vector>

namespace tramble::platform {
namespace {

TPowerSupply ReadSupply(const std::string& folder, const std::string& name)
{
    TPowerSupply supply;
    supply.Name = name;
    supply.Type = ReadKernelLine(folder + "/type").value_or("");
    supply.Online = ReadKernelNumber(folder + "/online");
    if (supply.Type != "Battery")
        return supply;
    supply.Scope = ReadKernelLine(folder + "/scope").value_or("");
    supply.Present = ReadKernelNumber(folder + "/present");
    supply.Status = ReadKernelLine(folder + "/status").value_or("");
    supply.Capacity = ReadKernelNumber(folder + "/capacity");
    supply.EnergyNow = ReadKernelNumber(folder + "/energy_now");
    if (supply.EnergyNow) {
        supply.EnergyFull = ReadKernelNumber(folder + "/energy_full");
        supply.PowerNow = ReadKernelNumber(folder + "/power_now");
    } else {
        supply.ChargeNow = ReadKernelNumber(folder + "/charge_now");
        supply.ChargeFull = ReadKernelNumber(folder + "/charge_full");
        supply.CurrentNow = ReadKernelNumber(folder + "/current_now");
    }
    return supply;
}

} // namespace

TReading<TMemoryStatus> ReadMemoryStatus(const std::string& procRoot)
{
    std::string text;
    if (!ReadKernelFile(procRoot + "/meminfo", text, 1 << 16))
        return TReading<TMemoryStatus>::None();
    return ParseMemInfo(text);
}

TPowerStatus ReadPowerStatus(const std::string& sysRoot)
{
    const std::string root = sysRoot + "/class/power_supply";
    std::vector<TPowerSupply> supplies;
    for (const std::string& name : ListFolder(root))
        supplies.push_back(ReadSupply(root + "/" + name, name));
    return PowerStatusFrom(supplies);
}

} // namespace tramble::platform
