#include "store/Config.h"

#include "store/SettingsKeys.h"

namespace tramble {

TConfig::TConfig()
{
    for (const TSettingKey& key : AllSettingKeys())
        SetDefaultValue(key, *this);
}

void ReadFontSetting(TFastIniFile& ini, bool chineseSystem, TConfig& cfg)
{
    cfg.Font = DefaultFont(chineseSystem);
    ReadSettingGroup(ini, TSettingGroup::Font, cfg);
}

void ReadBarLookSettings(TFastIniFile& ini, TConfig& cfg)
{
    ReadSettingGroup(ini, TSettingGroup::BarLook, cfg);
}

void ReadSyncSettings(TFastIniFile& ini, TConfig& cfg)
{
    ReadSettingGroup(ini, TSettingGroup::Sync, cfg);
}

void ReadTraySettings(TFastIniFile& ini, TConfig& cfg)
{
    ReadSettingGroup(ini, TSettingGroup::Tray, cfg);
}

void ReadAlarmSettings(TFastIniFile& ini, TConfig& cfg)
{
    ReadSettingGroup(ini, TSettingGroup::Alarm, cfg);
}

std::string ReadLanguageSetting(TFastIniFile& ini, const std::string& systemDefault)
{
    std::string name = ReadSetting(ini, keys::Language);
    return name.empty() ? systemDefault : name;
}

} // namespace tramble
