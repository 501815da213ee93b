#include "store/Config.h"

#include "store/SettingsKeys.h"

namespace tramble {

void ReadFontSetting(TFastIniFile& ini, bool chineseSystem, TConfig& cfg)
{
    cfg.Font = DefaultFont(chineseSystem);
    ini.ReadFont(keys::Font.Section, keys::Font.Key, cfg.Font);
}

void ReadBarLookSettings(TFastIniFile& ini, TConfig& cfg)
{
    cfg.RainBowSpeed = ReadSettingNumber(ini, keys::RainBowSpeed);
    cfg.RainBowWidth = ReadSettingNumber(ini, keys::RainBowWidth);
    cfg.RainBowHeight = ReadSettingNumber(ini, keys::RainBowHeight);
    cfg.RainbowStyle = ReadSettingNumber(ini, keys::RainbowStyle);
    cfg.UserColor = ReadSettingFlag(ini, keys::UserColor);
    cfg.RBCC1 = ReadSettingNumber(ini, keys::RBCC1);
    cfg.RBCC2 = ReadSettingNumber(ini, keys::RBCC2);
    cfg.HideSpeed = ReadSettingNumber(ini, keys::HideSpeed);
    cfg.ResSpeed = ReadSettingNumber(ini, keys::ResSpeed);
    cfg.AutoSortByCount = ReadSettingFlag(ini, keys::AutoSortByCount);
    cfg.TitleBar = ReadSettingFlag(ini, keys::TitleBar);
}

void ReadSyncSettings(TFastIniFile& ini, TConfig& cfg, TLastState& last)
{
    cfg.NTPServer = ReadSetting(ini, keys::NTPServer);
    last.SyncTimeTime = ReadSetting(ini, keys::SyncTimeTime);
    cfg.SyncTime = ReadSettingFlag(ini, keys::SyncTime);
}

void ReadTraySettings(TFastIniFile& ini, TConfig& cfg)
{
    cfg.ShowFreeMem = ReadSettingFlag(ini, keys::ShowFreeMem);
    cfg.ShowBattery = ReadSettingFlag(ini, keys::ShowBattery);
    cfg.ShowCPUusage = ReadSettingFlag(ini, keys::ShowCPUusage);
    cfg.ShowDiskTemp = ReadSettingFlag(ini, keys::ShowDiskTemp);
    cfg.ShowNetMon = ReadSettingFlag(ini, keys::ShowNetMon);
    cfg.ShowCPUTemp = ReadSettingFlag(ini, keys::ShowCPUTemp);
    cfg.ShowWeather = ReadSettingFlag(ini, keys::ShowWeather);
    cfg.TrayColor = ReadSettingNumber(ini, keys::TrayColor);
    cfg.CityName = ReadSetting(ini, keys::CityName);
    cfg.CityCode = ReadSetting(ini, keys::CityCode);
    cfg.Metric = ReadSettingFlag(ini, keys::Metric);
    cfg.WeatherHost = ReadSetting(ini, keys::WeatherHost);
    cfg.WeatherForecastUrl = ReadSetting(ini, keys::WeatherForecastUrl);
    cfg.WeatherGeocodingUrl = ReadSetting(ini, keys::WeatherGeocodingUrl);
}

void ReadAlarmSettings(TFastIniFile& ini, TConfig& cfg)
{
    cfg.AlarmUploadSpeed = ReadSettingFlag(ini, keys::AlarmUploadSpeed);
    cfg.AlarmDownloadSpeed = ReadSettingFlag(ini, keys::AlarmDownloadSpeed);
    cfg.AlarmUploadFlow = ReadSettingFlag(ini, keys::AlarmUploadFlow);
    cfg.AlarmDownloadFlow = ReadSettingFlag(ini, keys::AlarmDownloadFlow);
    cfg.AlarmOnlineTime = ReadSettingFlag(ini, keys::AlarmOnlineTime);
    cfg.UploadSpeed = ReadSettingNumber(ini, keys::UploadSpeed);
    cfg.DownloadSpeed = ReadSettingNumber(ini, keys::DownloadSpeed);
    cfg.UploadFlow = ReadSettingNumber(ini, keys::UploadFlow);
    cfg.DownloadFlow = ReadSettingNumber(ini, keys::DownloadFlow);
    cfg.OnlineTime = ReadSettingNumber(ini, keys::OnlineTime);
}

std::string ReadLanguageSetting(TFastIniFile& ini, const std::string& systemDefault)
{
    std::string name = ReadSetting(ini, keys::Language);
    return name.empty() ? systemDefault : name;
}

} // namespace tramble
