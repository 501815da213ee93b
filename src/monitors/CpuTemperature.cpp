#include "monitors/CpuTemperature.h"

#include <utility>

namespace tramble {

TCpuTemperature::TCpuTemperature(TMsrReader readMsr, TSensorReader readDrivers, TSensorReader readZones)
    : m_readMsr(std::move(readMsr)), m_readDrivers(std::move(readDrivers)), m_readZones(std::move(readZones))
{
}

void TCpuTemperature::Start(const TCpuInfo& info, bool driverLoaded)
{
    m_info = info;
    m_sensorLimit = 0;
    m_usesMsr = info.Vendor == cvIntel && info.Sensor != 0 && !driverLoaded && m_readMsr;
    if (!m_usesMsr)
        return;
    uint64_t value = 0;
    m_readMsr(0xEE, value);
    m_sensorLimit = SensorLimitFromMsr(value);
}

TReading<int> TCpuTemperature::Read() const
{
    if (m_readDrivers) {
        TReading<int> reading = m_readDrivers();
        if (reading)
            return reading;
    }
    if (m_usesMsr) {
        uint64_t value = 0;
        if (m_readMsr(0x19C, value))
            return TemperatureFromMsr(m_sensorLimit, value);
    }
    return m_readZones ? m_readZones() : TReading<int>::None();
}

} // namespace tramble
