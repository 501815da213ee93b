#include "platform/SystemMonitors.h"

#include "platform/CpuCounters.h"
#include "platform/Cpuid.h"
#include "platform/NetInterfaces.h"

#include <memory>
#include <utility>

namespace tramble::platform {
namespace {

TCpuUsage MakeCpuUsage(const TMonitorRoots& roots)
{
    TPerfDataSampler perfData([proc = roots.Proc] { return ReadCpuTimes(proc); });
    TSystemInfoSampler systemInfo([proc = roots.Proc] { return ReadUptime(proc); },
                                  [sys = roots.Sys] { return ReadOnlineCpuCount(sys); });
    return TCpuUsage(std::move(perfData), std::move(systemInfo));
}

TNetMon::TSource MakeInterfaceSource(const TMonitorRoots& roots)
{
    auto reader = std::make_shared<TInterfaceTableReader>(roots.Proc, roots.Sys);
    return [reader] { return reader->Read(); };
}

} // namespace

TSystemMonitors::TSystemMonitors(TMonitorRoots roots, TCpuidFunction cpuid)
    : m_roots(std::move(roots)), m_cpuid(cpuid ? std::move(cpuid) : TCpuidFunction(Cpuid)), m_msr(m_roots.Dev),
      m_sensors(m_roots.Sys), m_power(m_roots.Sys), m_disk(m_roots.Sys, m_roots.Dev), m_cpu(MakeCpuUsage(m_roots)),
      m_temperature([this](uint32_t index, uint64_t& value) { return m_msr.ReadMsr(index, value); },
                    [this] { return m_sensors.CpuTemperature(); }),
      m_traffic(MakeInterfaceSource(m_roots))
{
    m_traffic.Initialise();
}

void TSystemMonitors::Start()
{
    m_msr.InstallDriver();
    TCpuInfo info;
    FillCpuInfo(info, m_cpuid);
    m_temperature.Start(info);
    ReadDisk();
    m_cpu.SelectMethod();
    m_traffic.Start();
}

TReading<TMemoryStatus> TSystemMonitors::MemoryStatus() const
{
    return ReadMemoryStatus(m_roots.Proc);
}

const TDiskInfo& TSystemMonitors::ReadDisk()
{
    m_diskInfo = m_disk.Read();
    return m_diskInfo;
}

} // namespace tramble::platform
