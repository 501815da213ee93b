#pragma once

#include "store/FastIniFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tramble {

inline constexpr std::string_view kLaunchSection = "AppLaunch";

// How often each application was started through the search, most recently
// started first; the longest unused one drops out beyond kMax. Stored in our
// own settings section as a list ("Num", then "Id" n and "Runs" n).
class TLaunchCounts {
public:
    static constexpr size_t kMax = 32;

    int32_t Count(std::string_view id) const;
    void Note(std::string_view id);
    const std::vector<std::pair<std::string, int32_t>>& Items() const { return m_items; }

    void Read(TFastIniFile& ini);
    // Rewrites the section whole; the caller flushes.
    void Write(TFastIniFile& ini) const;

private:
    std::vector<std::pair<std::string, int32_t>> m_items;
};

} // namespace tramble
