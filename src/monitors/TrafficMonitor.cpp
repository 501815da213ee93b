#include "monitors/TrafficMonitor.h"

#include "store/FastIniFile.h"
#include "text/TextConvert.h"

#include <algorithm>
#include <utility>

namespace tramble {
namespace {

std::string WithoutAmpersands(std::string_view text)
{
    std::string result;
    for (char c : text) {
        if (c != '&')
            result += c;
    }
    return result;
}

void Shift(std::array<int32_t, 60>& history)
{
    std::copy(history.begin() + 1, history.end(), history.begin());
}

} // namespace

bool SameCaption(std::string_view a, std::string_view b)
{
    return SameTextAscii(WithoutAmpersands(a), WithoutAmpersands(b));
}

TTrafficMonitor::TTrafficMonitor(TNetMon::TSource source) : m_netmon(std::move(source))
{
}

void TTrafficMonitor::Initialise()
{
    m_netmon.Initialise();
}

void TTrafficMonitor::Start()
{
    ClearHistories();
    BuildInterfaceMenu();
    m_available = m_netmon.InterfaceCount() != 0;
}

void TTrafficMonitor::ClearHistories()
{
    m_download.fill(0);
    m_upload.fill(0);
    m_downloadSum = 0;
    m_uploadSum = 0;
}

void TTrafficMonitor::BuildInterfaceMenu()
{
    m_items.clear();
    m_marked = -1;
    for (int i = 1; i <= m_netmon.InterfaceCount(); ++i) {
        m_items.push_back(m_netmon.InterfaceDescription(i));
        if (i == m_netmon.SelectedInterface())
            m_marked = i - 1;
    }
    // Loopback is never picked by default: its traffic never leaves the machine.
    for (int i = 1; m_marked < 0 && i <= m_netmon.InterfaceCount(); ++i) {
        if (m_netmon.HasPhysicalAddress(i))
            ItemAction(i - 1);
    }
}

void TTrafficMonitor::ItemAction(int k)
{
    if (k < 0 || k >= static_cast<int>(m_items.size()))
        return;
    m_marked = k;
    m_netmon.SelectInterface(k + 1);
    ClearHistories();
}

void TTrafficMonitor::Sample()
{
    if (!m_available)
        return;
    Shift(m_download);
    Shift(m_upload);
    // When nothing is written the newest entry repeats.
    m_netmon.SampleTraffic(m_download[59], m_upload[59]);
    m_downloadSum += int64_t{m_download[59]} - m_download[50];
    m_uploadSum += int64_t{m_upload[59]} - m_upload[50];
}

bool TTrafficMonitor::ItemsMatchTable() const
{
    if (static_cast<int>(m_items.size()) != m_netmon.InterfaceCount())
        return false;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] != m_netmon.InterfaceDescription(static_cast<int>(i) + 1))
            return false;
    }
    return true;
}

bool TTrafficMonitor::WatchInterfaces()
{
    if (ItemsMatchTable())
        return false;
    m_available = m_netmon.InterfaceCount() != 0;
    const std::string marked = m_marked >= 0 ? m_items[static_cast<size_t>(m_marked)] : std::string();
    BuildInterfaceMenu();
    if (!marked.empty())
        RestoreInterfaceChoice(marked);
    return true;
}

void TTrafficMonitor::RestoreInterfaceChoice(std::string_view description)
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (SameCaption(m_items[i], description)) {
            ItemAction(static_cast<int>(i));
            return;
        }
    }
}

std::optional<std::string> TTrafficMonitor::InterfaceChoice() const
{
    const int n = m_netmon.SelectedInterface();
    if (n < 1 || n > m_netmon.InterfaceCount())
        return std::nullopt;
    return m_netmon.InterfaceDescription(n);
}

void TTrafficMonitor::LoadInterfaceChoice(TFastIniFile& settings)
{
    RestoreInterfaceChoice(settings.ReadText("last", "IPNet", ""));
}

void TTrafficMonitor::SaveInterfaceChoice(TFastIniFile& settings) const
{
    if (std::optional<std::string> choice = InterfaceChoice())
        settings.WriteText("last", "IPNet", *choice);
}

} // namespace tramble
