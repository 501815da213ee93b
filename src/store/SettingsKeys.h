#pragma once

#include "store/FastIniFile.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tramble {

enum class TKeyType : uint8_t { Text, Integer, Flag, Font, Colour };

// One key of the settings file with its type and default. Keys whose default
// depends on the system (font, language, position) carry an empty text and
// get their default from the functions below.
struct TSettingKey {
    std::string_view Section;
    std::string_view Key;
    TKeyType Type;
    int32_t Number = 0;
    std::string_view Text = {};
};

namespace keys {

inline constexpr TSettingKey ShowReadonlyAlarm{"cfg", "showReadonlyAlarm", TKeyType::Flag, 1};
inline constexpr TSettingKey Font{"cfg", "Font", TKeyType::Font};
inline constexpr TSettingKey RainBowSpeed{"cfg", "RainBowSpeed", TKeyType::Integer, 2};
inline constexpr TSettingKey RainBowWidth{"cfg", "RainBowWidth", TKeyType::Integer, 150};
inline constexpr TSettingKey RainBowHeight{"cfg", "RainBowHeight", TKeyType::Integer, 3};
inline constexpr TSettingKey RainbowStyle{"cfg", "RainbowStyle", TKeyType::Integer, 0};
inline constexpr TSettingKey UserColor{"cfg", "UserColor", TKeyType::Flag, 0};
inline constexpr TSettingKey RBCC1{"cfg", "RBCC1", TKeyType::Colour, 0};
inline constexpr TSettingKey RBCC2{"cfg", "RBCC2", TKeyType::Colour, 16777215};
inline constexpr TSettingKey HideSpeed{"cfg", "HideSpeed", TKeyType::Integer, 5};
inline constexpr TSettingKey ResSpeed{"cfg", "ResSpeed", TKeyType::Integer, 3};
inline constexpr TSettingKey AutoSortByCount{"cfg", "AutoSortByCount", TKeyType::Flag, 0};
inline constexpr TSettingKey TitleBar{"cfg", "TitleBar", TKeyType::Flag, 1};
inline constexpr TSettingKey NTPServer{"cfg", "NTPServer", TKeyType::Text, 0, "pool.ntp.org"};
inline constexpr TSettingKey SyncTime{"cfg", "SyncTime", TKeyType::Flag, 1};
inline constexpr TSettingKey ShowFreeMem{"cfg", "showFreeMem", TKeyType::Flag, 1};
inline constexpr TSettingKey ShowBattery{"cfg", "showBattery", TKeyType::Flag, 1};
inline constexpr TSettingKey ShowCPUusage{"cfg", "showCPUusage", TKeyType::Flag, 1};
inline constexpr TSettingKey ShowDiskTemp{"cfg", "showDiskTemp", TKeyType::Flag, 1};
inline constexpr TSettingKey ShowNetMon{"cfg", "showNetMon", TKeyType::Flag, 1};
inline constexpr TSettingKey ShowCPUTemp{"cfg", "showCPUTemp", TKeyType::Flag, 1};
inline constexpr TSettingKey ShowWeather{"cfg", "showWeather", TKeyType::Flag, 0};
inline constexpr TSettingKey TrayColor{"cfg", "TrayColor", TKeyType::Colour, 0};
inline constexpr TSettingKey CityName{"cfg", "CityName", TKeyType::Text};
inline constexpr TSettingKey CityCode{"cfg", "CityCode", TKeyType::Text};
inline constexpr TSettingKey Metric{"cfg", "metric", TKeyType::Flag, 1};
// host[:port] of the weather service; empty: the built-in gateway on loopback.
inline constexpr TSettingKey WeatherHost{"cfg", "WeatherHost", TKeyType::Text};
// Where the built-in gateway takes its data from.
inline constexpr TSettingKey WeatherForecastUrl{"cfg", "WeatherForecastUrl", TKeyType::Text, 0,
                                                "https://api.open-meteo.com"};
inline constexpr TSettingKey WeatherGeocodingUrl{"cfg", "WeatherGeocodingUrl", TKeyType::Text, 0,
                                                 "https://geocoding-api.open-meteo.com"};
inline constexpr TSettingKey AlarmUploadSpeed{"cfg", "AlarmUploadSpeed", TKeyType::Flag, 0};
inline constexpr TSettingKey AlarmDownloadSpeed{"cfg", "AlarmDownloadSpeed", TKeyType::Flag, 0};
inline constexpr TSettingKey AlarmUploadFlow{"cfg", "AlarmUploadFlow", TKeyType::Flag, 0};
inline constexpr TSettingKey AlarmDownloadFlow{"cfg", "AlarmDownloadFlow", TKeyType::Flag, 0};
inline constexpr TSettingKey AlarmOnlineTime{"cfg", "AlarmOnlineTime", TKeyType::Flag, 0};
inline constexpr TSettingKey UploadSpeed{"cfg", "UploadSpeed", TKeyType::Integer, 1};
inline constexpr TSettingKey DownloadSpeed{"cfg", "DownloadSpeed", TKeyType::Integer, 1};
inline constexpr TSettingKey UploadFlow{"cfg", "UploadFlow", TKeyType::Integer, 10};
inline constexpr TSettingKey DownloadFlow{"cfg", "DownloadFlow", TKeyType::Integer, 100};
inline constexpr TSettingKey OnlineTime{"cfg", "OnlineTime", TKeyType::Integer, 2};
inline constexpr TSettingKey Language{"cfg", "Language", TKeyType::Text};

inline constexpr TSettingKey Run{"last", "run", TKeyType::Integer, 0};
inline constexpr TSettingKey Elapse{"last", "elapse", TKeyType::Integer, 0};
inline constexpr TSettingKey Left{"last", "Left", TKeyType::Integer};
inline constexpr TSettingKey Top{"last", "Top", TKeyType::Integer};
inline constexpr TSettingKey Width{"last", "Width", TKeyType::Integer, 140};
inline constexpr TSettingKey Height{"last", "Height", TKeyType::Integer, 32};
inline constexpr TSettingKey SyncTimeTime{"last", "SyncTimeTime", TKeyType::Text};
inline constexpr TSettingKey IPNet{"last", "IPNet", TKeyType::Text};

inline constexpr TSettingKey IconSize{"Button", "Width", TKeyType::Integer, 32};
inline constexpr TSettingKey EntryCount{"Button", "Num", TKeyType::Integer, 0};
inline constexpr TSettingKey CommandCount{"Command", "Count", TKeyType::Integer, 0};

inline constexpr std::string_view kTempSection = "temp";
inline constexpr std::string_view kCommandSection = "Command";

} // namespace keys

// Every key above, in the order of the table of the settings file.
std::span<const TSettingKey> AllSettingKeys();

std::string ReadSetting(TFastIniFile& ini, const TSettingKey& key);
int32_t ReadSettingNumber(TFastIniFile& ini, const TSettingKey& key);
bool ReadSettingFlag(TFastIniFile& ini, const TSettingKey& key);
void WriteSetting(TFastIniFile& ini, const TSettingKey& key, std::string_view value);
void WriteSettingNumber(TFastIniFile& ini, const TSettingKey& key, int32_t value);
void WriteSettingFlag(TFastIniFile& ini, const TSettingKey& key, bool value);

// The bar's font before the stored one is applied.
TFont DefaultFont(bool chineseSystem);

} // namespace tramble
