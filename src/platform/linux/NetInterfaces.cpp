#include "platform/NetInterfaces.h"

#include "platform/linux/KernelFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <numeric>
#include <optional>
#include <sstream>
#include <tuple>
#include <utility>

namespace tramble::platform {
namespace {

constexpr int64_t kLoopbackType = 772;
constexpr int64_t kInterfaceUp = 0x1;

// The lowest metric of each interface's default routes (destination and
// mask 0, route up).
std::map<std::string, int64_t> DefaultRoutes(const std::string& procRoot)
{
    std::map<std::string, int64_t> routes;
    std::string text;
    if (!ReadKernelFile(procRoot + "/net/route", text, 1 << 20))
        return routes;
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line); // the header
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name, destination, gateway, flags, references, use, mask;
        int64_t metric = 0;
        if (!(fields >> name >> destination >> gateway >> flags >> references >> use >> metric >> mask))
            continue;
        if (destination != "00000000" || mask != "00000000" ||
            !(std::strtoll(flags.c_str(), nullptr, 16) & kInterfaceUp))
            continue;
        auto [at, added] = routes.emplace(name, metric);
        if (!added)
            at->second = std::min(at->second, metric);
    }
    return routes;
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// Bridges, virtual Ethernet pairs, tunnels and the networks of containers
// and virtual machines: they carry traffic that also crosses a real interface.
bool IsVirtualInterface(const std::string& folder, const std::string& name)
{
    for (const char* prefix : {"veth", "docker", "virbr", "br-", "vnet", "tun", "tap"}) {
        if (StartsWith(name, prefix))
            return true;
    }
    return PathExists(folder + "/bridge") || PathExists(folder + "/tun_flags");
}

// Up: the kernel says so, or, for drivers that report no operational
// state, the interface is switched on.
bool IsUp(const std::string& folder)
{
    const std::optional<std::string> state = ReadKernelLine(folder + "/operstate");
    if (state == "up")
        return true;
    if (state && *state != "unknown")
        return false;
    const std::optional<std::string> flags = ReadKernelLine(folder + "/flags");
    return flags && (std::strtoll(flags->c_str(), nullptr, 16) & kInterfaceUp);
}

} // namespace

std::string DefaultInterface(const std::string& procRoot, const std::string& sysRoot)
{
    const std::map<std::string, int64_t> routes = DefaultRoutes(procRoot);
    struct Candidate {
        bool isVirtual;
        bool withoutRoute;
        int64_t metric;
        int64_t ifindex;
        std::string name;
        bool operator<(const Candidate& other) const
        {
            return std::tie(isVirtual, withoutRoute, metric, ifindex, name) <
                   std::tie(other.isVirtual, other.withoutRoute, other.metric, other.ifindex, other.name);
        }
    };
    std::optional<Candidate> best;
    const auto consider = [&best](Candidate candidate) {
        if (!best || candidate < *best)
            best = std::move(candidate);
    };
    const std::string net = sysRoot + "/class/net";
    for (const std::string& name : ListFolder(net)) {
        const std::string folder = net + "/" + name;
        if (ReadKernelNumber(folder + "/type") == kLoopbackType || name == "lo")
            continue;
        const int64_t ifindex = ReadKernelNumber(folder + "/ifindex").value_or(INT64_MAX);
        const bool isVirtual = IsVirtualInterface(folder, name);
        const auto route = routes.find(name);
        if (route != routes.end())
            consider({isVirtual, false, route->second, ifindex, name});
        else if (ReadKernelNumber(folder + "/addr_len").value_or(0) > 0 && IsUp(folder))
            consider({isVirtual, true, 0, ifindex, name});
    }
    // A route through an interface sysfs does not list.
    for (const auto& [name, metric] : routes) {
        if (name != "lo" && !PathExists(net + "/" + name))
            consider({false, false, metric, INT64_MAX, name});
    }
    return best ? best->name : std::string();
}

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

bool TInterfaceTableReader::SameInterfaces(const std::vector<TNetDevCounters>& counters) const
{
    if (counters.size() != m_names.size())
        return false;
    for (size_t i = 0; i < counters.size(); ++i) {
        if (counters[i].Name != m_names[i])
            return false;
    }
    for (size_t i = 0; i < counters.size(); ++i) {
        const std::string index = m_sysRoot + "/class/net/" + m_names[i] + "/ifindex";
        if (ReadKernelNumber(index).value_or(INT64_MAX) != m_attributes[i].ifindex)
            return false;
    }
    return true;
}

TReading<TIfTable> TInterfaceTableReader::Read()
{
    if (!ReadKernelFile(m_procRoot + "/net/dev", m_text))
        return TReading<TIfTable>::None();
    const std::vector<TNetDevCounters> counters = ParseNetDev(m_text);
    if (!SameInterfaces(counters))
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
