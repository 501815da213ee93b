#pragma once

#include "store/Config.h"
#include "store/FastIniFile.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace tramble {

enum class TKeyType : uint8_t { Text, Integer, Flag, Font, Colour };

// The start-up step that reads a key into TConfig.
enum class TSettingGroup : uint8_t { None, Font, BarLook, Sync, Tray, Alarm, Language };

// Where a key's value lives while the program runs.
using TConfigField =
    std::variant<std::monostate, bool TConfig::*, int32_t TConfig::*, std::string TConfig::*, TFont TConfig::*>;

// The values the options let a number take.
struct TRange {
    int32_t Min = INT32_MIN;
    int32_t Max = INT32_MAX;
};

// One key of the settings file: its name, type, default, range and field.
// Keys whose default depends on the system (font, language, position) carry
// an empty text and get their default from the functions below.
struct TSettingKey {
    std::string_view Section;
    std::string_view Key;
    TKeyType Type;
    int32_t Number = 0;         // default of integer, flag and colour keys
    std::string_view Text = {}; // default of text keys
    TConfigField Field = {};
    TSettingGroup Group = TSettingGroup::None;
    TRange Range = {};
    // What the options' Default button sets; nothing: it leaves the key.
    std::optional<int32_t> OnDefault = {};
    // The spelling the options write the key in, when it is another.
    std::string_view WrittenAs = {};
};

namespace keys {

using K = TKeyType;
using G = TSettingGroup;

// clang-format off
inline constexpr TSettingKey ShowReadonlyAlarm{.Section = "cfg", .Key = "showReadonlyAlarm", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::ShowReadonlyAlarm};
inline constexpr TSettingKey Font{.Section = "cfg", .Key = "Font", .Type = K::Font,
    .Field = &TConfig::Font, .Group = G::Font};

inline constexpr TSettingKey RainBowSpeed{.Section = "cfg", .Key = "RainBowSpeed", .Type = K::Integer, .Number = 2,
    .Field = &TConfig::RainBowSpeed, .Group = G::BarLook, .Range = {-10, 10}, .OnDefault = 2};
inline constexpr TSettingKey RainBowWidth{.Section = "cfg", .Key = "RainBowWidth", .Type = K::Integer, .Number = 150,
    .Field = &TConfig::RainBowWidth, .Group = G::BarLook, .Range = {36, 280}, .OnDefault = 150,
    .WrittenAs = "RainbowWidth"};
inline constexpr TSettingKey RainBowHeight{.Section = "cfg", .Key = "RainBowHeight", .Type = K::Integer, .Number = 3,
    .Field = &TConfig::RainBowHeight, .Group = G::BarLook, .Range = {1, 12}, .OnDefault = 3};
inline constexpr TSettingKey RainbowStyle{.Section = "cfg", .Key = "RainbowStyle", .Type = K::Integer, .Number = 0,
    .Field = &TConfig::RainbowStyle, .Group = G::BarLook, .Range = {0, 4}, .OnDefault = 0};
inline constexpr TSettingKey UserColor{.Section = "cfg", .Key = "UserColor", .Type = K::Flag, .Number = 0,
    .Field = &TConfig::UserColor, .Group = G::BarLook};
inline constexpr TSettingKey RBCC1{.Section = "cfg", .Key = "RBCC1", .Type = K::Colour, .Number = 0,
    .Field = &TConfig::RBCC1, .Group = G::BarLook};
inline constexpr TSettingKey RBCC2{.Section = "cfg", .Key = "RBCC2", .Type = K::Colour, .Number = 16777215,
    .Field = &TConfig::RBCC2, .Group = G::BarLook};
inline constexpr TSettingKey HideSpeed{.Section = "cfg", .Key = "HideSpeed", .Type = K::Integer, .Number = 5,
    .Field = &TConfig::HideSpeed, .Group = G::BarLook, .Range = {1, 18}, .OnDefault = 5};
inline constexpr TSettingKey ResSpeed{.Section = "cfg", .Key = "ResSpeed", .Type = K::Integer, .Number = 3,
    .Field = &TConfig::ResSpeed, .Group = G::BarLook, .Range = {1, 18}, .OnDefault = 3};
inline constexpr TSettingKey AutoSortByCount{.Section = "cfg", .Key = "AutoSortByCount", .Type = K::Flag, .Number = 0,
    .Field = &TConfig::AutoSortByCount, .Group = G::BarLook, .OnDefault = 1};
inline constexpr TSettingKey TitleBar{.Section = "cfg", .Key = "TitleBar", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::TitleBar, .Group = G::BarLook, .OnDefault = 1};

inline constexpr TSettingKey NTPServer{.Section = "cfg", .Key = "NTPServer", .Type = K::Text, .Text = "pool.ntp.org",
    .Field = &TConfig::NTPServer, .Group = G::Sync};
inline constexpr TSettingKey SyncTime{.Section = "cfg", .Key = "SyncTime", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::SyncTime, .Group = G::Sync};

inline constexpr TSettingKey ShowFreeMem{.Section = "cfg", .Key = "showFreeMem", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::ShowFreeMem, .Group = G::Tray, .OnDefault = 1};
inline constexpr TSettingKey ShowBattery{.Section = "cfg", .Key = "showBattery", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::ShowBattery, .Group = G::Tray};
inline constexpr TSettingKey ShowCPUusage{.Section = "cfg", .Key = "showCPUusage", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::ShowCPUusage, .Group = G::Tray, .OnDefault = 1};
inline constexpr TSettingKey ShowDiskTemp{.Section = "cfg", .Key = "showDiskTemp", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::ShowDiskTemp, .Group = G::Tray, .OnDefault = 1};
inline constexpr TSettingKey ShowNetMon{.Section = "cfg", .Key = "showNetMon", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::ShowNetMon, .Group = G::Tray, .OnDefault = 1};
inline constexpr TSettingKey ShowCPUTemp{.Section = "cfg", .Key = "showCPUTemp", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::ShowCPUTemp, .Group = G::Tray, .OnDefault = 1};
inline constexpr TSettingKey ShowWeather{.Section = "cfg", .Key = "showWeather", .Type = K::Flag, .Number = 0,
    .Field = &TConfig::ShowWeather, .Group = G::Tray, .OnDefault = 1};
inline constexpr TSettingKey TrayColor{.Section = "cfg", .Key = "TrayColor", .Type = K::Colour, .Number = 0,
    .Field = &TConfig::TrayColor, .Group = G::Tray, .OnDefault = 0};
inline constexpr TSettingKey CityName{.Section = "cfg", .Key = "CityName", .Type = K::Text,
    .Field = &TConfig::CityName, .Group = G::Tray};
inline constexpr TSettingKey CityCode{.Section = "cfg", .Key = "CityCode", .Type = K::Text,
    .Field = &TConfig::CityCode, .Group = G::Tray};
inline constexpr TSettingKey Metric{.Section = "cfg", .Key = "metric", .Type = K::Flag, .Number = 1,
    .Field = &TConfig::Metric, .Group = G::Tray};
// host[:port] of the weather service; empty: the built-in gateway on loopback.
inline constexpr TSettingKey WeatherHost{.Section = "cfg", .Key = "WeatherHost", .Type = K::Text,
    .Field = &TConfig::WeatherHost, .Group = G::Tray};
// Where the built-in gateway takes its data from.
inline constexpr TSettingKey WeatherForecastUrl{.Section = "cfg", .Key = "WeatherForecastUrl", .Type = K::Text,
    .Text = "https://api.open-meteo.com", .Field = &TConfig::WeatherForecastUrl, .Group = G::Tray};
inline constexpr TSettingKey WeatherGeocodingUrl{.Section = "cfg", .Key = "WeatherGeocodingUrl", .Type = K::Text,
    .Text = "https://geocoding-api.open-meteo.com", .Field = &TConfig::WeatherGeocodingUrl, .Group = G::Tray};

inline constexpr TSettingKey AlarmUploadSpeed{.Section = "cfg", .Key = "AlarmUploadSpeed", .Type = K::Flag,
    .Field = &TConfig::AlarmUploadSpeed, .Group = G::Alarm};
inline constexpr TSettingKey AlarmDownloadSpeed{.Section = "cfg", .Key = "AlarmDownloadSpeed", .Type = K::Flag,
    .Field = &TConfig::AlarmDownloadSpeed, .Group = G::Alarm};
inline constexpr TSettingKey AlarmUploadFlow{.Section = "cfg", .Key = "AlarmUploadFlow", .Type = K::Flag,
    .Field = &TConfig::AlarmUploadFlow, .Group = G::Alarm};
inline constexpr TSettingKey AlarmDownloadFlow{.Section = "cfg", .Key = "AlarmDownloadFlow", .Type = K::Flag,
    .Field = &TConfig::AlarmDownloadFlow, .Group = G::Alarm};
inline constexpr TSettingKey AlarmOnlineTime{.Section = "cfg", .Key = "AlarmOnlineTime", .Type = K::Flag,
    .Field = &TConfig::AlarmOnlineTime, .Group = G::Alarm};
inline constexpr TSettingKey UploadSpeed{.Section = "cfg", .Key = "UploadSpeed", .Type = K::Integer, .Number = 1,
    .Field = &TConfig::UploadSpeed, .Group = G::Alarm};
inline constexpr TSettingKey DownloadSpeed{.Section = "cfg", .Key = "DownloadSpeed", .Type = K::Integer, .Number = 1,
    .Field = &TConfig::DownloadSpeed, .Group = G::Alarm};
inline constexpr TSettingKey UploadFlow{.Section = "cfg", .Key = "UploadFlow", .Type = K::Integer, .Number = 10,
    .Field = &TConfig::UploadFlow, .Group = G::Alarm};
inline constexpr TSettingKey DownloadFlow{.Section = "cfg", .Key = "DownloadFlow", .Type = K::Integer, .Number = 100,
    .Field = &TConfig::DownloadFlow, .Group = G::Alarm};
inline constexpr TSettingKey OnlineTime{.Section = "cfg", .Key = "OnlineTime", .Type = K::Integer, .Number = 2,
    .Field = &TConfig::OnlineTime, .Group = G::Alarm};
inline constexpr TSettingKey Language{.Section = "cfg", .Key = "Language", .Type = K::Text,
    .Field = &TConfig::Language, .Group = G::Language};
// The global shortcut that calls the bar; empty turns it off.
inline constexpr TSettingKey Hotkey{.Section = "cfg", .Key = "Hotkey", .Type = K::Text, .Text = "Ctrl+Alt+Space"};

inline constexpr TSettingKey Run{.Section = "last", .Key = "run", .Type = K::Integer, .Number = 0};
inline constexpr TSettingKey Elapse{.Section = "last", .Key = "elapse", .Type = K::Integer, .Number = 0};
inline constexpr TSettingKey Left{.Section = "last", .Key = "Left", .Type = K::Integer};
inline constexpr TSettingKey Top{.Section = "last", .Key = "Top", .Type = K::Integer};
inline constexpr TSettingKey Width{.Section = "last", .Key = "Width", .Type = K::Integer, .Number = 140};
inline constexpr TSettingKey Height{.Section = "last", .Key = "Height", .Type = K::Integer, .Number = 32};
inline constexpr TSettingKey SyncTimeTime{.Section = "last", .Key = "SyncTimeTime", .Type = K::Text};
inline constexpr TSettingKey IPNet{.Section = "last", .Key = "IPNet", .Type = K::Text};

// The icon size; the options hand a button size over, never writing it.
inline constexpr TSettingKey IconSize{.Section = "Button", .Key = "Width", .Type = K::Integer, .Number = 32,
    .Range = {16, 96}, .OnDefault = 32};
inline constexpr TSettingKey EntryCount{.Section = "Button", .Key = "Num", .Type = K::Integer, .Number = 0};
inline constexpr TSettingKey CommandCount{.Section = "Command", .Key = "Count", .Type = K::Integer, .Number = 0};
// clang-format on

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

// The key's value in the running configuration: its default, read from the
// file (over the current value for a font), written to the file.
void SetDefaultValue(const TSettingKey& key, TConfig& cfg);
void ReadConfigValue(TFastIniFile& ini, const TSettingKey& key, TConfig& cfg);
void WriteConfigValue(TFastIniFile& ini, const TSettingKey& key, const TConfig& cfg);
// Reads every key of the group in table order.
void ReadSettingGroup(TFastIniFile& ini, TSettingGroup group, TConfig& cfg);

// The number forced into the key's range.
int32_t ForceIntoRange(const TSettingKey& key, int32_t value);
bool InRange(const TSettingKey& key, int32_t value);

// The bar's font before the stored one is applied.
TFont DefaultFont(bool chineseSystem);

} // namespace tramble
