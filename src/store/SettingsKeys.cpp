#include "store/SettingsKeys.h"

#include <array>

namespace tramble {
namespace {

constexpr std::array kAllKeys{
    keys::ShowReadonlyAlarm,
    keys::Font,
    keys::RainBowSpeed,
    keys::RainBowWidth,
    keys::RainBowHeight,
    keys::RainbowStyle,
    keys::UserColor,
    keys::RBCC1,
    keys::RBCC2,
    keys::HideSpeed,
    keys::ResSpeed,
    keys::AutoSortByCount,
    keys::TitleBar,
    keys::NTPServer,
    keys::SyncTime,
    keys::ShowFreeMem,
    keys::ShowBattery,
    keys::ShowCPUusage,
    keys::ShowDiskTemp,
    keys::ShowNetMon,
    keys::ShowCPUTemp,
    keys::ShowWeather,
    keys::TrayColor,
    keys::CityName,
    keys::CityCode,
    keys::Metric,
    keys::WeatherHost,
    keys::WeatherForecastUrl,
    keys::WeatherGeocodingUrl,
    keys::AlarmUploadSpeed,
    keys::AlarmDownloadSpeed,
    keys::AlarmUploadFlow,
    keys::AlarmDownloadFlow,
    keys::AlarmOnlineTime,
    keys::UploadSpeed,
    keys::DownloadSpeed,
    keys::UploadFlow,
    keys::DownloadFlow,
    keys::OnlineTime,
    keys::Language,
    keys::Run,
    keys::Elapse,
    keys::Left,
    keys::Top,
    keys::Width,
    keys::Height,
    keys::SyncTimeTime,
    keys::IPNet,
    keys::IconSize,
    keys::EntryCount,
    keys::CommandCount,
};

} // namespace

std::span<const TSettingKey> AllSettingKeys()
{
    return kAllKeys;
}

std::string ReadSetting(TFastIniFile& ini, const TSettingKey& key)
{
    switch (key.Type) {
    case TKeyType::Integer:
    case TKeyType::Colour: return std::to_string(ReadSettingNumber(ini, key));
    case TKeyType::Flag: return ReadSettingFlag(ini, key) ? "1" : "0";
    case TKeyType::Text:
    case TKeyType::Font: break;
    }
    return ini.ReadText(key.Section, key.Key, key.Text);
}

int32_t ReadSettingNumber(TFastIniFile& ini, const TSettingKey& key)
{
    return ini.ReadNumber(key.Section, key.Key, key.Number);
}

bool ReadSettingFlag(TFastIniFile& ini, const TSettingKey& key)
{
    return ini.ReadFlag(key.Section, key.Key, key.Number != 0);
}

void WriteSetting(TFastIniFile& ini, const TSettingKey& key, std::string_view value)
{
    ini.WriteText(key.Section, key.Key, value);
}

void WriteSettingNumber(TFastIniFile& ini, const TSettingKey& key, int32_t value)
{
    ini.WriteNumber(key.Section, key.Key, value);
}

void WriteSettingFlag(TFastIniFile& ini, const TSettingKey& key, bool value)
{
    ini.WriteFlag(key.Section, key.Key, value);
}

TFont DefaultFont(bool chineseSystem)
{
    TFont font;
    font.Name = chineseSystem ? "宋体" : "MS Sans Serif";
    font.Size = chineseSystem ? 9 : 8;
    font.Style = 0;
    font.Color = clBlack;
    font.Pitch = fpDefault;
    font.Charset = 1;
    return font;
}

} // namespace tramble
