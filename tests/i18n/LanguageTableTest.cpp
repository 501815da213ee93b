#include "i18n/LanguageTable.h"
#include "i18n/Language.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tramble {
namespace {

TEST(LanguageTable, SectionsComeInLoadingOrderWithTheirEntryCounts)
{
    // The classic sections first, then the texts of the bookmark import and
    // of the options' newer controls, appended so language files keep their order.
    const std::vector<std::pair<std::string, size_t>> expected{
        {"msg", 2},      {"main", 33},     {"About", 16},  {"EditApp", 14}, {"Option", 40}, {"Weather", 31},
        {"Message", 38}, {"Bookmark", 10}, {"Option", 20}, {"Weather", 1},  {"About", 1}};
    std::vector<std::pair<std::string, size_t>> actual;
    for (const TLanguageEntry& entry : LanguageEntries()) {
        if (actual.empty() || actual.back().first != entry.Section)
            actual.emplace_back(entry.Section, 0);
        ++actual.back().second;
    }
    EXPECT_EQ(actual, expected);
}

TEST(LanguageTable, KeysAreUniqueWithinASectionExceptTheSharedHour)
{
    std::multiset<std::string> seen;
    for (const TLanguageEntry& entry : LanguageEntries()) {
        std::string name = std::string(entry.Section) + "/" + std::string(entry.Key);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        seen.insert(name);
    }
    for (const std::string& name : seen)
        EXPECT_EQ(seen.count(name), name == "about/hour" ? 2u : 1u) << name;
}

TEST(LanguageTable, EveryEntryHasBothBuiltInTextsWhereRequired)
{
    const std::set<std::string> withoutText{"Weather/precip", "Weather/precipamount", "Weather/tstormprob"};
    const std::set<std::string> withoutChinese{"About/Translator", "About/Translatorname"};
    const std::set<std::string> sameInBoth{"About/KuvName"};
    for (const TLanguageEntry& entry : LanguageEntries()) {
        std::string name = std::string(entry.Section) + "/" + std::string(entry.Key);
        if (withoutText.contains(name)) {
            EXPECT_EQ(entry.English, "") << name;
            EXPECT_EQ(entry.Chinese, "") << name;
            continue;
        }
        EXPECT_NE(entry.English, "") << name;
        if (withoutChinese.contains(name)) {
            EXPECT_EQ(entry.Chinese, "") << name;
        } else if (sameInBoth.contains(name)) {
            EXPECT_EQ(entry.Chinese, entry.English) << name;
        } else {
            EXPECT_NE(entry.Chinese, entry.English) << name << " has no Chinese text of its own";
        }
    }
}

TEST(LanguageTable, BuiltInTextsOfNotableEntries)
{
    struct Row {
        const char* section;
        const char* key;
        const char* english;
        const char* chinese;
    };
    const Row rows[] = {
        {"msg", "Readonly", "Readonly", "只读"},
        {"main", "Add", "Add", "添加"},
        {"main", "Option", "Option", "选项"},
        {"main", "Exit", "Exit", "退出"},
        {"main", "Ok", "Ok", "确定"},
        {"main", "Cancel", "Cancel", "取消"},
        {"main", "Taskmanager", "Task Manager", "任务管理器"},
        {"main", "NTPServer", "NTP Server", "NTP 服务器"},
        {"About", "LanguageName", "English", "简体中文"},
        {"About", "Translator", "Translator:", ""},
        {"About", "Translatorname", " ", ""},
        {"Weather", "FindCityTip", "Please enter city name (i.e. \"Wuhan\" or \"NewYork\")",
         "请输入城市名(用英文或拼音, 例如:NewYork, Wuhan)"},
        {"Weather", "windgust", "wind gust", "灰尘"},
        {"Weather", "nonmetric", "non-metric", "英制"},
        {"Message", "Error", "Error", "错误"},
        {"Message", "RunError", "Run error", "运行失败"},
        {"Message", "Warning", "Warning", "警告"},
        {"Message", "In", "In", "下载"},
        {"Message", "Out", "Out", "上传"},
    };
    TLanguage english;
    TLanguage chinese;
    chinese.LoadLanguage(kLangSimplifiedChinese, {});
    for (const Row& row : rows) {
        EXPECT_EQ(english.Text(row.section, row.key), row.english) << row.section << "/" << row.key;
        EXPECT_EQ(chinese.Text(row.section, row.key), row.chinese) << row.section << "/" << row.key;
    }
}

} // namespace
} // namespace tramble
