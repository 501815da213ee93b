#include "store/Config.h"
#include "store/SettingsKeys.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace tramble {
namespace {

std::vector<const TSettingKey*> KeysWithField()
{
    std::vector<const TSettingKey*> result;
    for (const TSettingKey& key : AllSettingKeys()) {
        if (!std::holds_alternative<std::monostate>(key.Field))
            result.push_back(&key);
    }
    return result;
}

// A value unlike the default and unlike every other key's, so that two keys
// sharing a field or a name show up as a wrong value.
void SetDistinctValue(const TSettingKey& key, int index, TConfig& cfg)
{
    if (auto flag = std::get_if<bool TConfig::*>(&key.Field))
        cfg.** flag = key.Number == 0;
    else if (auto number = std::get_if<int32_t TConfig::*>(&key.Field))
        cfg.** number = key.Range.Min == INT32_MIN ? 1000 + index : key.Range.Min + (index % 2);
    else if (auto text = std::get_if<std::string TConfig::*>(&key.Field))
        cfg.** text = "value " + std::to_string(index);
    else if (auto font = std::get_if<TFont TConfig::*>(&key.Field))
        cfg.** font = TFont{"Noto Sans", 13, fsItalic, 255, fpFixed, 0};
}

TEST(SettingsTable, EveryFieldIsWrittenAndReadBackUnderItsOwnKey)
{
    test::TempDir dir;
    TConfig written;
    const std::vector<const TSettingKey*> table = KeysWithField();
    for (size_t i = 0; i < table.size(); ++i)
        SetDistinctValue(*table[i], static_cast<int>(i), written);
    {
        TFastIniFile ini(dir.file("x.ini"));
        for (const TSettingKey* key : table)
            WriteConfigValue(ini, *key, written);
        ini.Flush();
    }
    TFastIniFile ini(dir.file("x.ini"));
    TConfig read;
    for (const TSettingKey* key : table)
        ReadConfigValue(ini, *key, read);
    for (size_t i = 0; i < table.size(); ++i) {
        TConfig expected;
        SetDistinctValue(*table[i], static_cast<int>(i), expected);
        std::visit(
            [&](auto field) {
                if constexpr (!std::is_same_v<decltype(field), std::monostate>) {
                    EXPECT_EQ(read.*field, expected.*field) << table[i]->Key;
                }
            },
            table[i]->Field);
    }
}

TEST(SettingsTable, NoTwoKeysShareAField)
{
    const std::vector<const TSettingKey*> table = KeysWithField();
    for (size_t i = 0; i < table.size(); ++i) {
        for (size_t j = i + 1; j < table.size(); ++j)
            EXPECT_FALSE(table[i]->Field == table[j]->Field) << table[i]->Key << " and " << table[j]->Key;
    }
}

TEST(SettingsTable, ANewConfigHoldsWhatAnEmptyFileGives)
{
    test::TempDir dir;
    TFastIniFile ini(dir.file("x.ini"));
    TConfig fromFile;
    // Spoil every field first, so that a key the groups do not read stays spoilt.
    const std::vector<const TSettingKey*> table = KeysWithField();
    for (size_t i = 0; i < table.size(); ++i)
        SetDistinctValue(*table[i], static_cast<int>(i), fromFile);
    ReadFontSetting(ini, false, fromFile);
    ReadBarLookSettings(ini, fromFile);
    ReadSyncSettings(ini, fromFile);
    ReadTraySettings(ini, fromFile);
    ReadAlarmSettings(ini, fromFile);
    ReadSettingGroup(ini, TSettingGroup::Language, fromFile);
    const TConfig fresh;
    for (const TSettingKey* key : table) {
        if (key->Type == TKeyType::Font || key->Group == TSettingGroup::None)
            continue;
        std::visit(
            [&](auto field) {
                if constexpr (!std::is_same_v<decltype(field), std::monostate>) {
                    EXPECT_EQ(fromFile.*field, fresh.*field) << key->Key;
                }
            },
            key->Field);
    }
    EXPECT_EQ(fromFile.Font, DefaultFont(false));
}

TEST(SettingsTable, TheStripWidthIsWrittenInItsSecondSpellingAsTheSameEntry)
{
    test::TempDir dir;
    test::WriteFileBytes(dir.file("x.ini"), "[cfg]\nRainBowWidth=100\n");
    TFastIniFile ini(dir.file("x.ini"));
    TConfig cfg;
    cfg.RainBowWidth = 200;
    WriteConfigValue(ini, keys::RainBowWidth, cfg);
    ini.Flush();
    const std::string text = test::ReadFileBytes(dir.file("x.ini"));
    EXPECT_EQ(text.find("=100"), std::string::npos) << text;
    EXPECT_EQ(ReadSettingNumber(ini, keys::RainBowWidth), 200);
}

struct RangeRow {
    const TSettingKey* Key;
    int32_t Value;
    int32_t Forced;
};

TEST(SettingsTable, NumbersAreForcedIntoTheirKeysRanges)
{
    const RangeRow rows[] = {
        {&keys::RainBowWidth, 20, 36},  {&keys::RainBowWidth, 500, 280},
        {&keys::RainBowWidth, 36, 36},  {&keys::RainBowWidth, 280, 280},
        {&keys::RainBowHeight, 0, 1},   {&keys::RainBowHeight, 15, 12},
        {&keys::RainBowHeight, 12, 12}, {&keys::RainBowSpeed, -11, -10},
        {&keys::RainBowSpeed, 11, 10},  {&keys::RainbowStyle, 5, 4},
        {&keys::HideSpeed, 0, 1},       {&keys::ResSpeed, 19, 18},
        {&keys::UploadFlow, -7, -7},    {&keys::TrayColor, 0xFFFFFF, 0xFFFFFF},
    };
    for (const RangeRow& row : rows) {
        EXPECT_EQ(ForceIntoRange(*row.Key, row.Value), row.Forced) << row.Key->Key << " " << row.Value;
        EXPECT_EQ(InRange(*row.Key, row.Value), row.Value == row.Forced) << row.Key->Key << " " << row.Value;
    }
}

// The Default button sets these and leaves every other key alone.
TEST(SettingsTable, TheDefaultButtonSetsItsOwnSet)
{
    struct Row {
        const char* Key;
        int32_t Value;
    };
    const Row expected[] = {
        {"RainBowSpeed", 2}, {"RainBowWidth", 150}, {"RainBowHeight", 3},   {"RainbowStyle", 0},
        {"HideSpeed", 5},    {"ResSpeed", 3},       {"AutoSortByCount", 1}, {"TitleBar", 1},
        {"showFreeMem", 1},  {"showCPUusage", 1},   {"showDiskTemp", 1},    {"showNetMon", 1},
        {"showCPUTemp", 1},  {"showWeather", 1},    {"TrayColor", 0},       {"Width", 32},
    };
    size_t found = 0;
    for (const TSettingKey& key : AllSettingKeys()) {
        if (!key.OnDefault)
            continue;
        ++found;
        bool listed = false;
        for (const Row& row : expected) {
            if (key.Key == row.Key) {
                listed = true;
                EXPECT_EQ(*key.OnDefault, row.Value) << key.Key;
            }
        }
        EXPECT_TRUE(listed) << key.Section << "/" << key.Key;
    }
    EXPECT_EQ(found, std::size(expected));
}

} // namespace
} // namespace tramble
