#include "monitors/NetMon.h"

#include "text/TextConvert.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace tramble {
namespace {

bool NextCounter(std::string_view& line, uint64_t& value)
{
    line = TrimLeft(line);
    auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc())
        return false;
    line.remove_prefix(static_cast<size_t>(end - line.data()));
    return true;
}

} // namespace

std::vector<TNetDevCounters> ParseNetDev(std::string_view text)
{
    std::vector<TNetDevCounters> rows;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || line.find('|') != std::string_view::npos)
            continue;
        TNetDevCounters row;
        row.Name = std::string(Trim(line.substr(0, colon)));
        line.remove_prefix(colon + 1);
        // Received: bytes packets errs drop fifo frame compressed multicast;
        // then the sent bytes.
        uint64_t field[9] = {};
        int count = 0;
        while (count < 9 && NextCounter(line, field[count]))
            ++count;
        if (count < 9 || row.Name.empty())
            continue;
        row.ReceivedBytes = field[0];
        row.SentBytes = field[8];
        rows.push_back(std::move(row));
    }
    return rows;
}

TNetMon::TNetMon(TSource source) : m_source(std::move(source))
{
}

bool TNetMon::ReadTable()
{
    m_table.clear();
    TReading<TIfTable> table = m_source();
    m_lastResult = table.Ok();
    if (m_lastResult)
        m_table = std::move(table.Value());
    return m_lastResult;
}

void TNetMon::Initialise()
{
    m_selected = -1;
    m_selectedName.clear();
    m_haveBaseline = false;
    ReadTable();
    for (size_t i = 0; i < m_table.size(); ++i) {
        if (m_table[i].PhysAddrLength > 0) {
            m_selected = static_cast<int>(i) + 1;
            m_selectedName = m_table[i].Description;
            m_lastIn = static_cast<uint32_t>(m_table[i].InOctets);
            m_lastOut = static_cast<uint32_t>(m_table[i].OutOctets);
            m_haveBaseline = true;
            break;
        }
    }
}

// Rows are numbered by interface order, which shifts when an interface
// before the selected one comes or goes; the selection follows its name.
void TNetMon::FollowSelection()
{
    const size_t index = static_cast<size_t>(m_selected - 1);
    if (index < m_table.size() && m_table[index].Description == m_selectedName)
        return;
    for (size_t i = 0; i < m_table.size(); ++i) {
        if (m_table[i].Description == m_selectedName) {
            m_selected = static_cast<int>(i) + 1;
            return;
        }
    }
    m_selected = -1;
    m_haveBaseline = false;
}

void TNetMon::SampleTraffic(int32_t& download, int32_t& upload)
{
    if (m_selected <= 0 || !ReadTable())
        return;
    FollowSelection();
    if (m_selected <= 0)
        return;
    const TIfRow& row = m_table[static_cast<size_t>(m_selected - 1)];
    const uint32_t in = static_cast<uint32_t>(row.InOctets);
    const uint32_t out = static_cast<uint32_t>(row.OutOctets);
    if (m_haveBaseline) {
        // A counter that went backwards (an interface reset) gives 0.
        download = std::max(static_cast<int32_t>(in - m_lastIn), 0);
        upload = std::max(static_cast<int32_t>(out - m_lastOut), 0);
    }
    m_lastIn = in;
    m_lastOut = out;
    m_haveBaseline = true;
}

void TNetMon::SelectInterface(int n)
{
    if (n > InterfaceCount())
        return;
    m_selected = n;
    m_selectedName = InterfaceDescription(n);
    m_haveBaseline = false;
    int32_t ignored = 0;
    SampleTraffic(ignored, ignored);
}

std::string TNetMon::InterfaceDescription(int n) const
{
    if (n < 1 || n > InterfaceCount())
        return {};
    return m_table[static_cast<size_t>(n - 1)].Description;
}

bool TNetMon::HasPhysicalAddress(int n) const
{
    return n >= 1 && n <= InterfaceCount() && m_table[static_cast<size_t>(n - 1)].PhysAddrLength > 0;
}

const TIfRow* TNetMon::SelectedRow() const
{
    if (m_selected < 1 || m_selected > InterfaceCount())
        return nullptr;
    return &m_table[static_cast<size_t>(m_selected - 1)];
}

} // namespace tramble
