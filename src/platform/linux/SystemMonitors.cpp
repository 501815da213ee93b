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

TDiskSources DiskSourcesOf(const TMonitorRoots& roots)
{
    TDiskSources sources;
    sources.Sys = roots.Sys;
    sources.Dev = roots.Dev;
    sources.Proc = roots.Proc;
    sources.Service = UDisksReader(roots.SystemBus);
    return sources;
}

} // namespace

TSystemMonitors::TSystemMonitors(TMonitorRoots roots, TCpuidFunction cpuid)
    : m_roots(std::move(roots)), m_cpuid(cpuid ? std::move(cpuid) : TCpuidFunction(Cpuid)), m_msr(m_roots.Dev),
      m_sensors(m_roots.Sys), m_power(m_roots.Sys), m_disk(DiskSourcesOf(m_roots)), m_cpu(MakeCpuUsage(m_roots)),
      m_temperature([this](uint32_t index, uint64_t& value) { return m_msr.ReadMsr(index, value); },
                    [this] { return m_sensors.DriverTemperature(); }, [this] { return m_sensors.ZoneTemperature(); }),
      m_traffic(MakeInterfaceSource(m_roots))
{
    m_traffic.Initialise();
}

void TSystemMonitors::Start()
{
    m_msr.InstallDriver();
    TCpuInfo info;
    FillCpuInfo(info, m_cpuid);
    m_temperature.Start(info, m_sensors.DriverLoaded());
    m_cpu.SelectMethod();
    m_traffic.Start();
    const std::string chosen = DefaultInterface();
    if (!chosen.empty())
        m_traffic.RestoreInterfaceChoice(chosen);
}

std::string TSystemMonitors::DefaultInterface() const
{
    return platform::DefaultInterface(m_roots.Proc, m_roots.Sys);
}

TReading<TMemoryStatus> TSystemMonitors::MemoryStatus() const
{
    return ReadMemoryStatus(m_roots.Proc);
}

const TDiskInfo& TSystemMonitors::ReadDisk()
{
    if (std::optional<TDiskInfo> info = m_disk.Read())
        m_diskInfo = std::move(*info);
    return m_diskInfo;
}

TDiskWorker::TReader TSystemMonitors::DiskReadFunction() const
{
    auto reader = std::make_shared<TDiskReader>(DiskSourcesOf(m_roots));
    return [reader] { return reader->Read(); };
}

} // namespace tramble::platform
