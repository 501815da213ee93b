#pragma once

#include "monitors/NetMon.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

class TFastIniFile;

// The network traffic monitor: per-second histories of the selected
// interface and the model of the interface part of the network tray menu
// (one radio item per interface, at most one marked).
class TTrafficMonitor {
public:
    explicit TTrafficMonitor(TNetMon::TSource source);

    // Module start: reads the table and takes the first baseline.
    void Initialise();
    // Window start: clears the histories and builds the interface items;
    // when none is selected, the first with a physical address is.
    void Start();

    // One per-second sample into the histories, while NetMonAvailable.
    void Sample();

    // The click on interface item k (0-based): selects the interface and
    // restarts the histories, even when it was selected already.
    void ItemAction(int k);
    // Rebuilds the items when they no longer match the interface table;
    // the marked interface stays marked when it is still there. Run every
    // eight seconds. True when the items changed.
    bool WatchInterfaces();

    // Selects the interface named by the stored choice, if it is there.
    void RestoreInterfaceChoice(std::string_view description);
    // The description to store at exit; nothing when none is selected.
    std::optional<std::string> InterfaceChoice() const;
    // The choice in the settings store: key "IPNet" in section "last". The
    // caller flushes, and does not save in read-only mode.
    void LoadInterfaceChoice(TFastIniFile& settings);
    void SaveInterfaceChoice(TFastIniFile& settings) const;

    const std::vector<std::string>& MenuItems() const { return m_items; }
    int MarkedItem() const { return m_marked; }
    bool NetMonAvailable() const { return m_available; }

    const std::array<int32_t, 60>& DownloadHistory() const { return m_download; }
    const std::array<int32_t, 60>& UploadHistory() const { return m_upload; }
    // The bytes of the nine newest samples. Nine seconds of a fast link pass
    // 32 bits, so the sums are kept in 64; the 32-bit figures the icon reads
    // stop at the largest 32-bit value.
    int64_t DownloadWindowBytes() const { return m_downloadSum; }
    int64_t UploadWindowBytes() const { return m_uploadSum; }
    int32_t DownloadWindowSum() const { return Saturated(m_downloadSum); }
    int32_t UploadWindowSum() const { return Saturated(m_uploadSum); }
    // Recent rates in KB/s as the tooltip shows them.
    double DownloadRateK() const { return m_downloadSum / 10240.0; }
    double UploadRateK() const { return m_uploadSum / 10240.0; }

    const TNetMon& NetMon() const { return m_netmon; }

private:
    static int32_t Saturated(int64_t sum) { return static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX)); }
    void ClearHistories();
    void BuildInterfaceMenu();
    bool ItemsMatchTable() const;

    TNetMon m_netmon;
    std::array<int32_t, 60> m_download{};
    std::array<int32_t, 60> m_upload{};
    int64_t m_downloadSum = 0; // entries 51..59, the nine newest
    int64_t m_uploadSum = 0;
    bool m_available = false;
    std::vector<std::string> m_items;
    int m_marked = -1;
};

// Menu captions are equal when they differ only in letter case and in the
// ampersands that mark keyboard accelerators.
bool SameCaption(std::string_view a, std::string_view b);

} // namespace tramble
