#include "store/SettingsKeys.h"
#include "store/Config.h"
#include "text/TextConvert.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace tramble {
namespace {

struct ExpectedDefault {
    const char* Section;
    const char* Key;
    const char* Default;
};

// The settings file's keys with the value an empty file gives.
const ExpectedDefault kDefaults[] = {
    {"cfg", "showReadonlyAlarm", "1"},
    {"cfg", "RainBowSpeed", "2"},
    {"cfg", "RainBowWidth", "150"},
    {"cfg", "RainBowHeight", "3"},
    {"cfg", "RainbowStyle", "0"},
    {"cfg", "UserColor", "0"},
    {"cfg", "RBCC1", "0"},
    {"cfg", "RBCC2", "16777215"},
    {"cfg", "HideSpeed", "5"},
    {"cfg", "ResSpeed", "3"},
    {"cfg", "AutoSortByCount", "0"},
    {"cfg", "TitleBar", "1"},
    {"cfg", "NTPServer", "pool.ntp.org"},
    {"cfg", "SyncTime", "1"},
    {"cfg", "showFreeMem", "1"},
    {"cfg", "showBattery", "1"},
    {"cfg", "showCPUusage", "1"},
    {"cfg", "showDiskTemp", "1"},
    {"cfg", "showNetMon", "1"},
    {"cfg", "showCPUTemp", "1"},
    {"cfg", "showWeather", "0"},
    {"cfg", "TrayColor", "0"},
    {"cfg", "CityName", ""},
    {"cfg", "CityCode", ""},
    {"cfg", "metric", "1"},
    {"cfg", "AlarmUploadSpeed", "0"},
    {"cfg", "AlarmDownloadSpeed", "0"},
    {"cfg", "AlarmUploadFlow", "0"},
    {"cfg", "AlarmDownloadFlow", "0"},
    {"cfg", "AlarmOnlineTime", "0"},
    {"cfg", "UploadSpeed", "1"},
    {"cfg", "DownloadSpeed", "1"},
    {"cfg", "UploadFlow", "10"},
    {"cfg", "DownloadFlow", "100"},
    {"cfg", "OnlineTime", "2"},
    {"cfg", "Language", ""},
    {"last", "run", "0"},
    {"last", "elapse", "0"},
    {"last", "Width", "140"},
    {"last", "Height", "32"},
    {"last", "SyncTimeTime", ""},
    {"last", "IPNet", ""},
    {"Button", "Width", "32"},
    {"Button", "Num", "0"},
    {"Command", "Count", "0"},
};

const TSettingKey* FindKey(std::string_view section, std::string_view key)
{
    for (const TSettingKey& k : AllSettingKeys()) {
        if (k.Section == section && k.Key == key)
            return &k;
    }
    return nullptr;
}

TEST(SettingsKeys, EmptyFileGivesEveryDefault)
{
    test::TempDir dir;
    TFastIniFile ini(dir.file("x.ini"));
    for (const ExpectedDefault& row : kDefaults) {
        const TSettingKey* key = FindKey(row.Section, row.Key);
        ASSERT_NE(key, nullptr) << row.Section << "/" << row.Key;
        EXPECT_EQ(ReadSetting(ini, *key), row.Default) << row.Section << "/" << row.Key;
    }
}

TEST(SettingsKeys, TableHoldsNoKeyTwice)
{
    std::set<std::string> seen;
    for (const TSettingKey& k : AllSettingKeys()) {
        std::string name = std::string(k.Section) + "/" + std::string(k.Key);
        for (char& c : name)
            c = UpperAscii(c);
        EXPECT_TRUE(seen.insert(name).second) << name;
    }
    EXPECT_NE(FindKey("last", "Left"), nullptr);
    EXPECT_NE(FindKey("last", "Top"), nullptr);
    EXPECT_NE(FindKey("cfg", "Font"), nullptr);
}

TEST(SettingsKeys, KeysAndSectionsMatchWithoutRegardToCase)
{
    test::TempDir dir;
    test::WriteFileBytes(dir.file("x.ini"), "[CFG]\nRainbowWidth=200\nrbcc2=255\nTITLEBAR=0\n[Last]\nRUN=7\n");
    TFastIniFile ini(dir.file("x.ini"));
    EXPECT_EQ(ReadSettingNumber(ini, keys::RainBowWidth), 200);
    EXPECT_EQ(ReadSettingNumber(ini, keys::RBCC2), 255);
    EXPECT_FALSE(ReadSettingFlag(ini, keys::TitleBar));
    EXPECT_EQ(ReadSettingNumber(ini, keys::Run), 7);
}

TEST(SettingsKeys, DefaultFontFollowsTheSystemLanguage)
{
    const TFont western = DefaultFont(false);
    EXPECT_EQ(western.Name, "MS Sans Serif");
    EXPECT_EQ(western.Size, 8);
    const TFont chinese = DefaultFont(true);
    EXPECT_EQ(chinese.Name, "宋体");
    EXPECT_EQ(chinese.Size, 9);
    for (const TFont& font : {western, chinese}) {
        EXPECT_EQ(font.Charset, 1);
        EXPECT_EQ(font.Color, clBlack);
        EXPECT_EQ(font.Style, 0);
    }
}

TEST(Config, EachGroupReadsItsKeys)
{
    test::TempDir dir;
    test::WriteFileBytes(dir.file("x.ini"), "[cfg]\n"
                                            "Font=Sans,11,[fsBold],clRed,0,1\n"
                                            "RainBowSpeed=-4\nRainbowStyle=3\nUserColor=1\nHideSpeed=9\n"
                                            "NTPServer=time.example\nSyncTime=0\n"
                                            "showWeather=1\nCityName=Wuhan\nmetric=0\nTrayColor=255\n"
                                            "AlarmOnlineTime=1\nOnlineTime=30\n");
    TFastIniFile ini(dir.file("x.ini"));
    TConfig cfg;
    ReadFontSetting(ini, false, cfg);
    ReadBarLookSettings(ini, cfg);
    ReadSyncSettings(ini, cfg);
    ReadTraySettings(ini, cfg);
    ReadAlarmSettings(ini, cfg);

    EXPECT_EQ(cfg.Font.Name, "Sans");
    EXPECT_EQ(cfg.Font.Size, 11);
    EXPECT_EQ(cfg.Font.Style, fsBold);
    EXPECT_EQ(cfg.Font.Color, clRed);
    EXPECT_EQ(cfg.RainBowSpeed, -4);
    EXPECT_EQ(cfg.RainbowStyle, 3);
    EXPECT_TRUE(cfg.UserColor);
    EXPECT_EQ(cfg.HideSpeed, 9);
    EXPECT_EQ(cfg.ResSpeed, 3);
    EXPECT_EQ(cfg.NTPServer, "time.example");
    EXPECT_FALSE(cfg.SyncTime);
    EXPECT_TRUE(cfg.ShowWeather);
    EXPECT_EQ(cfg.CityName, "Wuhan");
    EXPECT_FALSE(cfg.Metric);
    EXPECT_EQ(cfg.TrayColor, 255);
    EXPECT_TRUE(cfg.AlarmOnlineTime);
    EXPECT_EQ(cfg.OnlineTime, 30);
    EXPECT_EQ(cfg.UploadFlow, 10);
}

TEST(Config, AnUnknownFontColourRaisesAfterTheDefaultWasSet)
{
    test::TempDir dir;
    test::WriteFileBytes(dir.file("x.ini"), "[cfg]\nFont=Sans,11,[],clNoSuchColour,0,1\n");
    TFastIniFile ini(dir.file("x.ini"));
    TConfig cfg;
    EXPECT_THROW(ReadFontSetting(ini, true, cfg), EConvertError);
    EXPECT_EQ(cfg.Font.Name, "Sans");
}

TEST(Config, LanguageFallsBackToTheSystemDefault)
{
    test::TempDir dir;
    TFastIniFile ini(dir.file("x.ini"));
    EXPECT_EQ(ReadLanguageSetting(ini, "English"), "English");
    ini.WriteText("cfg", "Language", "Deutsch");
    EXPECT_EQ(ReadLanguageSetting(ini, "English"), "Deutsch");
}

} // namespace
} // namespace tramble
