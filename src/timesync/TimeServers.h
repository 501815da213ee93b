#pragma once

#include <array>
#include <string_view>

namespace tramble {

// The server used when none is set (an empty server box gives it too).
inline constexpr std::string_view kDefaultTimeServer = "pool.ntp.org";

// The servers the options dialog offers: the pool's global and regional
// hosts, then national time services.
inline constexpr std::array<std::string_view, 18> kPresetTimeServers = {
    "pool.ntp.org",               // NTP pool, nearest servers worldwide
    "asia.pool.ntp.org",          // NTP pool, Asia
    "europe.pool.ntp.org",        // NTP pool, Europe
    "north-america.pool.ntp.org", // NTP pool, North America
    "south-america.pool.ntp.org", // NTP pool, South America
    "oceania.pool.ntp.org",       // NTP pool, Oceania
    "africa.pool.ntp.org",        // NTP pool, Africa
    "cn.pool.ntp.org",            // NTP pool, China
    "ntp.ntsc.ac.cn",             // National Time Service Center, China
    "time.nist.gov",              // NIST, United States
    "time.nrc.ca",                // National Research Council, Canada
    "ptbtime1.ptb.de",            // PTB, Germany
    "ntp1.npl.co.uk",             // National Physical Laboratory, United Kingdom
    "ntp.metas.ch",               // METAS, Switzerland
    "ntp1.inrim.it",              // INRIM, Italy
    "ntp.se",                     // Netnod, Sweden
    "ntp.nict.jp",                // NICT, Japan
    "time.kriss.re.kr",           // KRISS, Korea
};

} // namespace tramble
