#include "search/LaunchCounts.h"

#include <algorithm>

namespace tramble {

int32_t TLaunchCounts::Count(std::string_view id) const
{
    for (const auto& [name, count] : m_items) {
        if (name == id)
            return count;
    }
    return 0;
}

void TLaunchCounts::Note(std::string_view id)
{
    const auto it = std::find_if(m_items.begin(), m_items.end(), [id](const auto& item) { return item.first == id; });
    int32_t count = 1;
    if (it != m_items.end()) {
        count = it->second < INT32_MAX ? it->second + 1 : INT32_MAX;
        m_items.erase(it);
    }
    m_items.insert(m_items.begin(), {std::string(id), count});
    if (m_items.size() > kMax)
        m_items.resize(kMax);
}

void TLaunchCounts::Read(TFastIniFile& ini)
{
    m_items.clear();
    const int32_t stored = ini.ReadNumber(kLaunchSection, "Num", 0);
    for (int32_t n = 1; n <= stored && m_items.size() < kMax; ++n) {
        std::string id = ini.ReadText(kLaunchSection, "Id" + std::to_string(n), "");
        const int32_t count = ini.ReadNumber(kLaunchSection, "Runs" + std::to_string(n), 0);
        if (id.empty() || count <= 0 || Count(id) > 0)
            continue;
        m_items.emplace_back(std::move(id), count);
    }
}

void TLaunchCounts::Write(TFastIniFile& ini) const
{
    ini.RemoveSection(kLaunchSection);
    ini.WriteNumber(kLaunchSection, "Num", static_cast<int32_t>(m_items.size()));
    for (size_t i = 0; i < m_items.size(); ++i) {
        ini.WriteText(kLaunchSection, "Id" + std::to_string(i + 1), m_items[i].first);
        ini.WriteNumber(kLaunchSection, "Runs" + std::to_string(i + 1), m_items[i].second);
    }
}

} // namespace tramble
