#include "store/SettingsKeys.h"

#include <algorithm>
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
    keys::Hotkey,
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

// A key's field holds the type its key stores.
constexpr bool FieldFitsType(const TSettingKey& key)
{
    switch (key.Type) {
    case TKeyType::Flag: return std::holds_alternative<bool TConfig::*>(key.Field);
    case TKeyType::Integer:
    case TKeyType::Colour: return std::holds_alternative<int32_t TConfig::*>(key.Field);
    case TKeyType::Text: return std::holds_alternative<std::string TConfig::*>(key.Field);
    case TKeyType::Font: return std::holds_alternative<TFont TConfig::*>(key.Field);
    }
    return false;
}

constexpr bool TableIsConsistent()
{
    for (const TSettingKey& key : kAllKeys) {
        const bool hasField = !std::holds_alternative<std::monostate>(key.Field);
        if (hasField && !FieldFitsType(key))
            return false;
        if (key.Group != TSettingGroup::None && !hasField)
            return false;
        if (key.Range.Min > key.Range.Max || key.Number < key.Range.Min || key.Number > key.Range.Max)
            return false;
        if (key.OnDefault && (*key.OnDefault < key.Range.Min || *key.OnDefault > key.Range.Max))
            return false;
    }
    return true;
}
static_assert(TableIsConsistent(), "a key's field, type, range or defaults disagree");

template <class T> T& FieldOf(TConfig& cfg, const TSettingKey& key)
{
    return cfg.*std::get<T TConfig::*>(key.Field);
}

template <class T> const T& FieldOf(const TConfig& cfg, const TSettingKey& key)
{
    return cfg.*std::get<T TConfig::*>(key.Field);
}

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

void SetDefaultValue(const TSettingKey& key, TConfig& cfg)
{
    if (std::holds_alternative<std::monostate>(key.Field))
        return;
    switch (key.Type) {
    case TKeyType::Flag: FieldOf<bool>(cfg, key) = key.Number != 0; break;
    case TKeyType::Integer:
    case TKeyType::Colour: FieldOf<int32_t>(cfg, key) = key.Number; break;
    case TKeyType::Text: FieldOf<std::string>(cfg, key) = key.Text; break;
    case TKeyType::Font: break; // depends on the system: DefaultFont
    }
}

void ReadConfigValue(TFastIniFile& ini, const TSettingKey& key, TConfig& cfg)
{
    if (std::holds_alternative<std::monostate>(key.Field))
        return;
    switch (key.Type) {
    case TKeyType::Flag: FieldOf<bool>(cfg, key) = ReadSettingFlag(ini, key); break;
    case TKeyType::Integer:
    case TKeyType::Colour: FieldOf<int32_t>(cfg, key) = ReadSettingNumber(ini, key); break;
    case TKeyType::Text: FieldOf<std::string>(cfg, key) = ReadSetting(ini, key); break;
    case TKeyType::Font: ini.ReadFont(key.Section, key.Key, FieldOf<TFont>(cfg, key)); break;
    }
}

void WriteConfigValue(TFastIniFile& ini, const TSettingKey& key, const TConfig& cfg)
{
    if (std::holds_alternative<std::monostate>(key.Field))
        return;
    const std::string_view name = key.WrittenAs.empty() ? key.Key : key.WrittenAs;
    switch (key.Type) {
    case TKeyType::Flag: ini.WriteFlag(key.Section, name, FieldOf<bool>(cfg, key)); break;
    case TKeyType::Integer:
    case TKeyType::Colour: ini.WriteNumber(key.Section, name, FieldOf<int32_t>(cfg, key)); break;
    case TKeyType::Text: ini.WriteText(key.Section, name, FieldOf<std::string>(cfg, key)); break;
    case TKeyType::Font: ini.WriteFont(key.Section, name, FieldOf<TFont>(cfg, key)); break;
    }
}

void ReadSettingGroup(TFastIniFile& ini, TSettingGroup group, TConfig& cfg)
{
    for (const TSettingKey& key : kAllKeys) {
        if (key.Group == group)
            ReadConfigValue(ini, key, cfg);
    }
}

int32_t ForceIntoRange(const TSettingKey& key, int32_t value)
{
    return std::clamp(value, key.Range.Min, key.Range.Max);
}

bool InRange(const TSettingKey& key, int32_t value)
{
    return value >= key.Range.Min && value <= key.Range.Max;
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
