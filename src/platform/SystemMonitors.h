#pragma once

#include "monitors/CpuInfo.h"
#include "monitors/CpuTemperature.h"
#include "monitors/CpuUsage.h"
#include "monitors/DiskInfo.h"
#include "monitors/DiskWorker.h"
#include "monitors/Reading.h"
#include "monitors/SystemStatus.h"
#include "monitors/TrafficMonitor.h"
#include "platform/DiskSensors.h"
#include "platform/MsrDevice.h"
#include "platform/SystemStatus.h"
#include "platform/ThermalSensors.h"

#include <string>

namespace tramble::platform {

// Where the kernel's files are; tests point these at fixture trees.
struct TMonitorRoots {
    std::string Proc = "/proc";
    std::string Sys = "/sys";
    std::string Dev = "/dev";
    // The D-Bus address of the system's disk service; "" for the system bus.
    std::string SystemBus;
};

// Every system monitor the tray shows, on the kernel's sources. Built at
// program start, which reads the interface table and takes the traffic
// baseline. No call raises; a source that cannot be read gives no reading.
class TSystemMonitors {
public:
    explicit TSystemMonitors(TMonitorRoots roots = {}, TCpuidFunction cpuid = TCpuidFunction());
    TSystemMonitors(const TSystemMonitors&) = delete;
    TSystemMonitors& operator=(const TSystemMonitors&) = delete;

    // The start-up probes of the main window: the MSR device, processor
    // identification and sensor limit, the CPU load method, and the
    // interface items of the traffic monitor with DefaultInterface selected.
    // The disk is read by a TDiskWorker over DiskReadFunction.
    void Start();

    // The interface the traffic monitor selects unless the user picked one;
    // "" when there is none.
    std::string DefaultInterface() const;

    // The per-second samples: CPU first, then traffic.
    TReading<int> SampleCpu() { return m_cpu.Sample(); }
    void SampleTraffic() { m_traffic.Sample(); }

    TReading<TMemoryStatus> MemoryStatus() const;
    TPowerStatus PowerStatus() { return m_power.Read(); }
    TReading<int> CpuTemperature() const { return m_temperature.Read(); }
    // Reads the system disk here and now and evaluates its attributes; a
    // sleeping disk keeps the last reading.
    const TDiskInfo& ReadDisk();
    // A reader of the system disk with its own state, for a TDiskWorker.
    TDiskWorker::TReader DiskReadFunction() const;
    const TDiskInfo& DiskInfo() const { return m_diskInfo; }

    TCpuUsage& Cpu() { return m_cpu; }
    TTrafficMonitor& Traffic() { return m_traffic; }
    const TCpuTemperature& Temperature() const { return m_temperature; }

private:
    TMonitorRoots m_roots;
    TCpuidFunction m_cpuid;
    TMsrDevice m_msr;
    TThermalSensors m_sensors;
    TPowerStatusReader m_power;
    TDiskReader m_disk;
    TDiskInfo m_diskInfo;
    TCpuUsage m_cpu;
    TCpuTemperature m_temperature;
    TTrafficMonitor m_traffic;
};

} // namespace tramble::platform
