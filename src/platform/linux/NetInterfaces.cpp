#include "platform/NetInterfaces.h"

#include "platform/linux/KernelFiles.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <utility>

namespace tramble::platform {
namespace {

constexpr int64_t kLoopbackType = 772;

} // namespace

TInterfaceTableReader::TInterfaceTableReader(std::string procRoot, std::string sysRoot)
    : m_procRoot(std::move(procRoot)), m_sysRoot(std::move(sysRoot))
{
}

void TInterfaceTableReader::LearnAttributes(const std::vector<TNetDevCounters>& counters)
{
    m_names.clear();
    m_attributes.clear();
    for (const TNetDevCounters& row : counters) {
        const std::string folder = m_sysRoot + "/class/net/" + row.Name;
        Attributes attributes;
        // Interfaces without sysfs entries sort after the others.
        attributes.ifindex = ReadKernelNumber(folder + "/ifindex").value_or(INT64_MAX);
        const bool loopback = ReadKernelNumber(folder + "/type") == kLoopbackType;
        const int64_t length = ReadKernelNumber(folder + "/addr_len").value_or(0);
        attributes.physAddrLength = loopback ? 0 : static_cast<uint32_t>(std::clamp<int64_t>(length, 0, 32));
        m_names.push_back(row.Name);
        m_attributes.push_back(attributes);
    }
    m_order.resize(m_names.size());
    std::iota(m_order.begin(), m_order.end(), size_t(0));
    std::stable_sort(m_order.begin(), m_order.end(),
                     [this](size_t a, size_t b) { return m_attributes[a].ifindex < m_attributes[b].ifindex; });
}

TReading<TIfTable> TInterfaceTableReader::Read()
{
    if (!ReadKernelFile(m_procRoot + "/net/dev", m_text))
        return TReading<TIfTable>::None();
    const std::vector<TNetDevCounters> counters = ParseNetDev(m_text);
    bool sameNames = counters.size() == m_names.size();
    for (size_t i = 0; sameNames && i < counters.size(); ++i)
        sameNames = counters[i].Name == m_names[i];
    if (!sameNames)
        LearnAttributes(counters);

    TIfTable table;
    table.reserve(counters.size());
    for (size_t index : m_order) {
        TIfRow row;
        row.Description = counters[index].Name;
        row.PhysAddrLength = m_attributes[index].physAddrLength;
        row.InOctets = counters[index].ReceivedBytes;
        row.OutOctets = counters[index].SentBytes;
        table.push_back(std::move(row));
    }
    return table;
}

} // namespace tramble::platform
