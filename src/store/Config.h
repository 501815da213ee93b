#pragma once

#include "store/FastIniFile.h"
#include "store/Font.h"

#include <cstdint>
#include <string>

namespace tramble {

// The values of section "cfg" the program runs with. Their names, defaults
// and ranges are in the settings table (SettingsKeys.h); a new TConfig holds
// the table's defaults. Each group is read by its own start-up step, so a
// step that fails leaves the later groups at their defaults.
struct TConfig {
    TConfig();

    bool ShowReadonlyAlarm;
    TFont Font;

    int32_t RainBowSpeed;
    int32_t RainBowWidth;
    int32_t RainBowHeight;
    int32_t RainbowStyle;
    bool UserColor;
    TColor RBCC1;
    TColor RBCC2;
    int32_t HideSpeed;
    int32_t ResSpeed;
    bool AutoSortByCount;
    bool TitleBar;

    std::string NTPServer;
    bool SyncTime;

    bool ShowFreeMem;
    bool ShowBattery;
    bool ShowCPUusage;
    bool ShowDiskTemp;
    bool ShowNetMon;
    bool ShowCPUTemp;
    bool ShowWeather;
    TColor TrayColor;
    std::string CityName;
    std::string CityCode;
    bool Metric;
    std::string WeatherHost;
    std::string WeatherForecastUrl;
    std::string WeatherGeocodingUrl;

    bool AlarmUploadSpeed;
    bool AlarmDownloadSpeed;
    bool AlarmUploadFlow;
    bool AlarmDownloadFlow;
    bool AlarmOnlineTime;
    int32_t UploadSpeed;
    int32_t DownloadSpeed;
    int32_t UploadFlow;
    int32_t DownloadFlow;
    int32_t OnlineTime;

    std::string Language;
};

// The values of section "last" besides the position, which the bar reads itself.
struct TLastState {
    int32_t Run = 0;
    int32_t Elapse = 0;
};

// The default font for the system, then the stored "Font" over it (an
// unknown colour in it raises EConvertError).
void ReadFontSetting(TFastIniFile& ini, bool chineseSystem, TConfig& cfg);
// Rainbow, hide, sort and title-bar settings.
void ReadBarLookSettings(TFastIniFile& ini, TConfig& cfg);
// Clock-sync server and switch.
void ReadSyncSettings(TFastIniFile& ini, TConfig& cfg);
// Tray, weather and unit settings.
void ReadTraySettings(TFastIniFile& ini, TConfig& cfg);
void ReadAlarmSettings(TFastIniFile& ini, TConfig& cfg);
// The stored language, or the default for the system when none is stored.
std::string ReadLanguageSetting(TFastIniFile& ini, const std::string& systemDefault);

} // namespace tramble
