#include "options/CityList.h"

#include "text/TextConvert.h"

#include <algorithm>

namespace tramble {
namespace {

constexpr std::string_view kSection = "citylist";

bool NameBefore(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return UpperAscii(x) < UpperAscii(y); });
}

} // namespace

void TCityList::Load(TFastIniFile& ini, const std::string& cityCode)
{
    m_cities.clear();
    const int32_t count = ini.ReadNumber(kSection, "count", 0);
    for (int32_t i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        TCity city{ini.ReadText(kSection, "cityname" + n, ""), ini.ReadText(kSection, "citycode" + n, "")};
        if (!city.Name.empty() && !city.Code.empty()) {
            const auto at =
                std::lower_bound(m_cities.begin(), m_cities.end(), city.Name,
                                 [](const TCity& c, const std::string& name) { return NameBefore(c.Name, name); });
            m_cities.insert(at, std::move(city));
        }
        if (Count() > kMaxRead)
            break;
    }
    const int found = FindCode(cityCode);
    m_chosen = found >= 0 ? found : (m_cities.empty() ? -1 : 0);
}

void TCityList::Store(TFastIniFile& ini) const
{
    ini.RemoveSection(kSection);
    ini.WriteNumber(kSection, "count", Count());
    for (int i = 0; i < Count(); ++i) {
        const std::string n = std::to_string(i + 1);
        ini.WriteText(kSection, "cityname" + n, m_cities[i].Name);
        ini.WriteText(kSection, "citycode" + n, m_cities[i].Code);
    }
}

int TCityList::Add(const std::string& city, const std::string& state, const std::string& code)
{
    int at = FindCode(code);
    if (at < 0) {
        m_cities.push_back({city + " / " + state, code});
        at = Count() - 1;
    }
    m_chosen = at;
    return at;
}

void TCityList::DeleteChosen()
{
    if (m_cities.empty())
        return;
    int at = m_chosen >= 0 && m_chosen < Count() ? m_chosen : Count() - 1;
    m_cities.erase(m_cities.begin() + at);
    if (at >= Count())
        at = Count() - 1;
    m_chosen = at;
}

void TCityList::Choose(int index)
{
    m_chosen = index >= 0 && index < Count() ? index : -1;
}

std::string TCityList::ChosenName() const
{
    return m_chosen >= 0 ? m_cities[m_chosen].Name : std::string();
}

std::string TCityList::ChosenCode() const
{
    return m_chosen >= 0 ? m_cities[m_chosen].Code : std::string();
}

int TCityList::FindCode(const std::string& code) const
{
    for (int i = 0; i < Count(); ++i) {
        if (SameTextAscii(m_cities[i].Code, code))
            return i;
    }
    return -1;
}

} // namespace tramble
