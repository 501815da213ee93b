#pragma once

#include "store/Config.h"

#include <array>

namespace tramble {

// The tray icons' identifiers.
enum TTrayIconId : int {
    tiPlain = 0, // only when no monitor icon was added
    tiFreeMem = 1,
    tiCpuUsage = 2,
    tiCpuTemp = 3,
    tiDiskTemp = 4,
    tiBattery = 5,
    tiNetMon = 6,
    tiWeather = 7,
};

struct TTrayIconInfo {
    TTrayIconId Id;
    bool TConfig::*Shown; // the setting that shows it
    const char* LockName; // held while this copy shows it; none for the weather
    int FirstPicture;     // the menu picture it shows until its first drawing
};

// The monitor icons in the order they are created (and added or removed when
// the options change).
inline constexpr std::array<TTrayIconInfo, 7> kTrayIcons{{
    {tiFreeMem, &TConfig::ShowFreeMem, "KUV_TRAYFLAG_FREEMEM", 21},
    {tiBattery, &TConfig::ShowBattery, "KUV_TRAYFLAG_BATTERY", 15},
    {tiDiskTemp, &TConfig::ShowDiskTemp, "KUV_TRAYFLAG_DISKTEMP", 22},
    {tiCpuTemp, &TConfig::ShowCPUTemp, "KUV_TRAYFLAG_CPUTEMP", 23},
    {tiWeather, &TConfig::ShowWeather, nullptr, 28},
    {tiCpuUsage, &TConfig::ShowCPUusage, "KUV_TRAYFLAG_CPUUSAGE", 17},
    {tiNetMon, &TConfig::ShowNetMon, "KUV_TRAYFLAG_NETMON", 20},
}};

// The order in which a tray tick redraws them.
inline constexpr std::array<TTrayIconId, 7> kTrayDrawOrder{tiFreeMem, tiBattery, tiCpuUsage, tiDiskTemp,
                                                           tiNetMon,  tiCpuTemp, tiWeather};

inline constexpr int kPlainIconPicture = 30;

const TTrayIconInfo* TrayIconInfo(TTrayIconId id);

} // namespace tramble
