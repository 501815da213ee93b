#pragma once

#include "monitors/Reading.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// One network interface as the traffic monitor sees it.
struct TIfRow {
    std::string Description;     // the interface name
    uint32_t PhysAddrLength = 0; // 0 for loopback and tunnels
    uint64_t InOctets = 0;       // received bytes
    uint64_t OutOctets = 0;      // sent bytes
};
using TIfTable = std::vector<TIfRow>;

// A byte-counter line of the kernel's interface statistics.
struct TNetDevCounters {
    std::string Name;
    uint64_t ReceivedBytes = 0;
    uint64_t SentBytes = 0;
};

// The interface lines of /proc/net/dev in their order; header lines and
// malformed lines are skipped.
std::vector<TNetDevCounters> ParseNetDev(std::string_view text);

// The interface sampler: reads the interface table and turns the counters
// of the selected interface into per-second byte deltas. Rows are numbered
// from 1; counters are taken modulo 2^32.
class TNetMon {
public:
    using TSource = std::function<TReading<TIfTable>()>;

    explicit TNetMon(TSource source);

    // Reads the table, selects the first row with a physical address and
    // takes the baseline.
    void Initialise();

    // The bytes received and sent since the previous sample. Writes nothing
    // when no row is selected or the table cannot be read.
    void SampleTraffic(int32_t& download, int32_t& upload);

    int InterfaceCount() const { return static_cast<int>(m_table.size()); }
    // Selects row n when n <= InterfaceCount and takes a new baseline.
    void SelectInterface(int n);
    // Row n's description; empty outside 1..InterfaceCount.
    std::string InterfaceDescription(int n) const;
    // False for loopback and tunnels, and outside 1..InterfaceCount.
    bool HasPhysicalAddress(int n) const;

    int SelectedInterface() const { return m_selected; }
    // The selected row as last read, or nullptr.
    const TIfRow* SelectedRow() const;
    bool LastResult() const { return m_lastResult; }

private:
    bool ReadTable();
    void FollowSelection();

    TSource m_source;
    TIfTable m_table;
    int m_selected = -1;
    std::string m_selectedName;
    bool m_lastResult = false;
    bool m_haveBaseline = false;
    uint32_t m_lastIn = 0;
    uint32_t m_lastOut = 0;
};

} // namespace tramble
