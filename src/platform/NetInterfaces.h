#pragma once

#include "monitors/NetMon.h"
#include "monitors/Reading.h"

#include <string>
#include <vector>

namespace tramble::platform {

// The interface table: byte counters from <procRoot>/net/dev, rows in
// interface-index order (<sysRoot>/class/net/<name>/ifindex), the physical
// address length from addr_len (0 for loopback), the name as description.
// The sysfs attributes are read again only when the names or the indexes
// change (an interface deleted and created again keeps its name only).
// The interface the traffic monitor shows unless the user picked one: the
// interface of the default route with the lowest metric (<procRoot>/net/route),
// else the first interface in index order that is up and has a physical
// address. Bridges, virtual Ethernet pairs, tunnels and container or
// virtual-machine networks count only when nothing else qualifies; loopback
// never does. "" when there is none.
std::string DefaultInterface(const std::string& procRoot = "/proc", const std::string& sysRoot = "/sys");

class TInterfaceTableReader {
public:
    TInterfaceTableReader(std::string procRoot = "/proc", std::string sysRoot = "/sys");

    // No reading when the counters cannot be read.
    TReading<TIfTable> Read();

private:
    struct Attributes {
        int64_t ifindex = 0;
        uint32_t physAddrLength = 0;
    };
    void LearnAttributes(const std::vector<TNetDevCounters>& counters);
    bool SameInterfaces(const std::vector<TNetDevCounters>& counters) const;

    std::string m_procRoot;
    std::string m_sysRoot;
    std::string m_text;
    std::vector<std::string> m_names;
    std::vector<Attributes> m_attributes;
    std::vector<size_t> m_order;
};

} // namespace tramble::platform
