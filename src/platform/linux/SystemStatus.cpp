#include "platform/SystemStatus.h"

#include "platform/linux/KernelFiles.h"

#include <utility>
#include <vector>

namespace tramble::platform {
namespace {

void ReadBattery(const std::string& folder, bool several, TPowerSupply& battery)
{
    battery.Present = ReadKernelNumber(folder + "/present");
    battery.Status = ReadKernelLine(folder + "/status").value_or("");
    battery.Capacity = ReadKernelNumber(folder + "/capacity");
    const bool discharging = battery.Status == "Discharging";
    if (!several && battery.Capacity && !discharging)
        return;
    battery.EnergyNow = ReadKernelNumber(folder + "/energy_now");
    if (battery.EnergyNow) {
        if (several || !battery.Capacity)
            battery.EnergyFull = ReadKernelNumber(folder + "/energy_full");
        if (discharging)
            battery.PowerNow = ReadKernelNumber(folder + "/power_now");
        return;
    }
    battery.ChargeNow = ReadKernelNumber(folder + "/charge_now");
    if (several || !battery.Capacity)
        battery.ChargeFull = ReadKernelNumber(folder + "/charge_full");
    if (discharging)
        battery.CurrentNow = ReadKernelNumber(folder + "/current_now");
}

} // namespace

TReading<TMemoryStatus> ReadMemoryStatus(const std::string& procRoot)
{
    std::string text;
    if (!ReadKernelFile(procRoot + "/meminfo", text, 1 << 16))
        return TReading<TMemoryStatus>::None();
    return ParseMemInfo(text);
}

TPowerStatusReader::TPowerStatusReader(std::string sysRoot) : m_sysRoot(std::move(sysRoot))
{
}

TPowerStatus TPowerStatusReader::Read()
{
    const std::string root = m_sysRoot + "/class/power_supply";
    std::map<std::string, Kind> kinds;
    std::vector<TPowerSupply> supplies;
    for (const std::string& name : ListFolder(root)) {
        const std::string folder = root + "/" + name;
        auto known = m_kinds.find(name);
        Kind kind = known != m_kinds.end() ? known->second
                                           : Kind{ReadKernelLine(folder + "/type").value_or(""),
                                                  ReadKernelLine(folder + "/scope").value_or("")};
        kinds[name] = kind;
        TPowerSupply supply;
        supply.Name = name;
        supply.Type = kind.type;
        supply.Scope = kind.scope;
        supplies.push_back(std::move(supply));
    }
    m_kinds = std::move(kinds);

    int batteries = 0;
    for (const TPowerSupply& supply : supplies)
        batteries += supply.Type == "Battery" && supply.Scope != "Device";
    for (TPowerSupply& supply : supplies) {
        const std::string folder = root + "/" + supply.Name;
        if (supply.Type == "Battery" && supply.Scope != "Device")
            ReadBattery(folder, batteries > 1, supply);
        else if (supply.Type != "Battery")
            supply.Online = ReadKernelNumber(folder + "/online");
    }
    return PowerStatusFrom(supplies);
}

} // namespace tramble::platform
