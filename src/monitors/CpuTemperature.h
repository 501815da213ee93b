#pragma once

#include "monitors/CpuInfo.h"
#include "monitors/Reading.h"

#include <cstdint>
#include <functional>

namespace tramble {

// The CPU temperature monitor: the processor's own sensor register where the
// processor has one and the register can be read, else the system's sensors.
class TCpuTemperature {
public:
    // Reads a model-specific register; the value is filled even on failure.
    using TMsrReader = std::function<bool(uint32_t index, uint64_t& value)>;
    // The temperature the system's sensor drivers report, in whole °C.
    using TSensorReader = std::function<TReading<int>()>;

    TCpuTemperature(TMsrReader readMsr, TSensorReader readSensors);

    // Takes the processor's identification and, on an Intel processor with
    // a sensor, sets SensorLimit from register 0xEE.
    void Start(const TCpuInfo& info);
    int32_t SensorLimit() const { return m_sensorLimit; }
    const TCpuInfo& CpuInfo() const { return m_info; }

    // Temperature in °C, or no reading.
    TReading<int> Read() const;

private:
    bool UsesMsr() const { return m_info.Vendor == cvIntel && m_info.Sensor != 0; }

    TCpuInfo m_info;
    TMsrReader m_readMsr;
    TSensorReader m_readSensors;
    int32_t m_sensorLimit = 0;
};

} // namespace tramble
