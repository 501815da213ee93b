#pragma once

#include "monitors/CpuInfo.h"
#include "monitors/Reading.h"

#include <cstdint>
#include <functional>

namespace tramble {

// The CPU temperature monitor. The kernel's processor sensor drivers come
// first, since they know each processor's real limit; the processor's own
// sensor register only where no such driver is loaded (its limit rule is
// wrong on many newer processors); the system's thermal zones last.
class TCpuTemperature {
public:
    // Reads a model-specific register; the value is filled even on failure.
    using TMsrReader = std::function<bool(uint32_t index, uint64_t& value)>;
    // A temperature in whole °C from the system's sensors.
    using TSensorReader = std::function<TReading<int>()>;

    TCpuTemperature(TMsrReader readMsr, TSensorReader readDrivers, TSensorReader readZones);

    // Takes the processor's identification. An Intel processor with a
    // sensor on a system without a processor sensor driver reads its
    // registers: SensorLimit comes from register 0xEE.
    void Start(const TCpuInfo& info, bool driverLoaded = false);
    int32_t SensorLimit() const { return m_sensorLimit; }
    const TCpuInfo& CpuInfo() const { return m_info; }
    bool UsesMsr() const { return m_usesMsr; }

    // Temperature in °C, or no reading.
    TReading<int> Read() const;

private:
    TCpuInfo m_info;
    TMsrReader m_readMsr;
    TSensorReader m_readDrivers;
    TSensorReader m_readZones;
    int32_t m_sensorLimit = 0;
    bool m_usesMsr = false;
};

} // namespace tramble
