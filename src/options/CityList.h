#pragma once

#include "store/FastIniFile.h"

#include <string>
#include <vector>

namespace tramble {

struct TCity {
    std::string Name; // "city / state" as the finder makes it
    std::string Code; // the weather service's location code
    bool operator==(const TCity&) const = default;
};

// The remembered cities of the weather page: names and codes kept in step,
// one of them chosen. A working copy; it reaches the settings file only when
// the options are confirmed.
class TCityList {
public:
    static constexpr int kMaxRead = 50;

    // Section "citylist": entries with an empty name or code are skipped,
    // each name goes into its sorted place (letter case ignored), and reading
    // stops once more than 50 are held. The city whose code is cityCode
    // (letter case ignored) is chosen, else the first.
    void Load(TFastIniFile& ini, const std::string& cityCode);
    // Section "citylist" rewritten whole from the list in its current order.
    void Store(TFastIniFile& ini) const;

    // A city from the finder: when its code is listed, that entry is chosen
    // unchanged; otherwise it is appended at the end. Its index.
    int Add(const std::string& city, const std::string& state, const std::string& code);
    // Removes the chosen city (the last when none is chosen); the same index,
    // or the new last one, is chosen afterwards.
    void DeleteChosen();

    void Choose(int index);
    int Chosen() const { return m_chosen; }
    // The chosen name and code; empty when nothing is chosen.
    std::string ChosenName() const;
    std::string ChosenCode() const;

    const std::vector<TCity>& Cities() const { return m_cities; }
    int Count() const { return static_cast<int>(m_cities.size()); }
    int FindCode(const std::string& code) const;

private:
    std::vector<TCity> m_cities;
    int m_chosen = -1;
};

} // namespace tramble
