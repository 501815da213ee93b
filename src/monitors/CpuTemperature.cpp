#include "monitors/CpuTemperature.h"

#include <utility>

namespace tramble {

TCpuTemperature::TCpuTemperature(TMsrReader readMsr, TSensorReader readSensors)
    : m_readMsr(std::move(readMsr)), m_readSensors(std::move(readSensors))
{
}

void TCpuTemperature::Start(const TCpuInfo& info)
{
    m_info = info;
    m_sensorLimit = 0;
    if (!UsesMsr() || !m_readMsr)
        return;
    uint64_t value = 0;
    m_readMsr(0xEE, value);
    m_sensorLimit = SensorLimitFromMsr(value);
}

TReading<int> TCpuTemperature::Read() const
{
    if (UsesMsr() && m_readMsr) {
        uint64_t value = 0;
        if (m_readMsr(0x19C, value))
            return TemperatureFromMsr(m_sensorLimit, value);
    }
    return m_readSensors ? m_readSensors() : TReading<int>::None();
}

} // namespace tramble
