#pragma once

#include "store/FastIniFile.h"
#include "store/Font.h"

#include <cstdint>
#include <string>

namespace tramble {

// The values of section "cfg" the program runs with. Each group is read by
// its own start-up step, so a step that fails leaves the later groups at
// their defaults.
struct TConfig {
    bool ShowReadonlyAlarm = true;
    TFont Font;

    int32_t RainBowSpeed = 2;
    int32_t RainBowWidth = 150;
    int32_t RainBowHeight = 3;
    int32_t RainbowStyle = 0;
    bool UserColor = false;
    TColor RBCC1 = 0;
    TColor RBCC2 = 16777215;
    int32_t HideSpeed = 5;
    int32_t ResSpeed = 3;
    bool AutoSortByCount = false;
    bool TitleBar = true;

    std::string NTPServer = "pool.ntp.org";
    bool SyncTime = true;

    bool ShowFreeMem = true;
    bool ShowBattery = true;
    bool ShowCPUusage = true;
    bool ShowDiskTemp = true;
    bool ShowNetMon = true;
    bool ShowCPUTemp = true;
    bool ShowWeather = false;
    TColor TrayColor = 0;
    std::string CityName;
    std::string CityCode;
    bool Metric = true;

    bool AlarmUploadSpeed = false;
    bool AlarmDownloadSpeed = false;
    bool AlarmUploadFlow = false;
    bool AlarmDownloadFlow = false;
    bool AlarmOnlineTime = false;
    int32_t UploadSpeed = 1;
    int32_t DownloadSpeed = 1;
    int32_t UploadFlow = 10;
    int32_t DownloadFlow = 100;
    int32_t OnlineTime = 2;

    std::string Language;
};

// The values of section "last" besides the position, which the bar reads itself.
struct TLastState {
    int32_t Run = 0;
    int32_t Elapse = 0;
    std::string SyncTimeTime;
    std::string IPNet;
};

// The default font for the system, then the stored "Font" over it (an
// unknown colour in it raises EConvertError).
void ReadFontSetting(TFastIniFile& ini, bool chineseSystem, TConfig& cfg);
// Rainbow, hide, sort and title-bar settings.
void ReadBarLookSettings(TFastIniFile& ini, TConfig& cfg);
// Clock-sync server and switch, and the time of the last sync.
void ReadSyncSettings(TFastIniFile& ini, TConfig& cfg, TLastState& last);
// Tray, weather and unit settings.
void ReadTraySettings(TFastIniFile& ini, TConfig& cfg);
void ReadAlarmSettings(TFastIniFile& ini, TConfig& cfg);
// The stored language, or the default for the system when none is stored.
std::string ReadLanguageSetting(TFastIniFile& ini, const std::string& systemDefault);

} // namespace tramble
