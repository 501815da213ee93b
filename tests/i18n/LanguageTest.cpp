#include "i18n/Language.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tramble {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

class LanguageFiles : public ::testing::Test {
protected:
    std::vector<std::string> Folders() const { return {settings.path().string(), current.path().string()}; }

    TempDir settings;
    TempDir current;
    TLanguage language;
};

TEST_F(LanguageFiles, WithoutFilesTheBuiltInTextsOfTheChosenLanguageShow)
{
    EXPECT_EQ(language.Name(), "English");
    EXPECT_EQ(language.Text("Message", "RunError"), "Run error");

    language.LoadLanguage("simplified chinese(简体中文)", Folders());
    EXPECT_EQ(language.Name(), "simplified chinese(简体中文)");
    EXPECT_EQ(language.Text("Message", "RunError"), "运行失败");
    EXPECT_EQ(language.Text("About", "LanguageName"), "简体中文");

    language.LoadLanguage(kLangEnglish, Folders());
    EXPECT_EQ(language.Text("Message", "RunError"), "Run error");
    EXPECT_EQ(language.Text("About", "LanguageName"), "English");
}

TEST_F(LanguageFiles, BuiltInLanguageFilesOverrideSomeEntriesAndAreNotListed)
{
    WriteFileBytes(current.file("English.lng"), "[Message]\nRunError=Failed\n");
    WriteFileBytes(settings.file("Simplified Chinese(简体中文).lng"), "[Message]\nRunError=执行出错\n");
    EXPECT_TRUE(ListLanguageFiles(Folders()).empty());

    language.LoadLanguage(kLangEnglish, Folders());
    EXPECT_EQ(language.Text("Message", "RunError"), "Failed");
    EXPECT_EQ(language.Text("Message", "Error"), "Error");

    language.LoadLanguage(kLangSimplifiedChinese, Folders());
    EXPECT_EQ(language.Text("Message", "RunError"), "执行出错");
    EXPECT_EQ(language.Text("Message", "Error"), "错误");
}

TEST_F(LanguageFiles, FurtherLanguageIsListedAndFallsBackToEnglish)
{
    WriteFileBytes(current.file("Deutsch.lng"), "[main]\nExit=Beenden\n[About]\nTranslatorname=\n");
    EXPECT_EQ(ListLanguageFiles(Folders()), std::vector<std::string>{"Deutsch"});

    language.LoadLanguage(kLangSimplifiedChinese, Folders());
    language.LoadLanguage("Deutsch", Folders());
    EXPECT_EQ(language.Name(), "Deutsch");
    EXPECT_EQ(language.Text("main", "Exit"), "Beenden");
    EXPECT_EQ(language.Text("main", "Add"), "Add");
    EXPECT_EQ(language.Text("About", "Translatorname"), "") << "an empty value in the file is still its value";
}

TEST_F(LanguageFiles, SectionAndKeyNamesIgnoreCase)
{
    WriteFileBytes(current.file("Deutsch.lng"), "[MAIN]\nurl=Adresse\n[message]\nRUNERROR=Fehler\n");
    language.LoadLanguage("Deutsch", Folders());
    EXPECT_EQ(language.Text("main", "Url"), "Adresse");
    EXPECT_EQ(language.Text("Main", "URL"), "Adresse");
    EXPECT_EQ(language.Text("Message", "RunError"), "Fehler");
    EXPECT_EQ(language.Text("Message", "NoSuchKey"), "");
    EXPECT_EQ(language.Text("NoSuchSection", "Url"), "");
}

TEST_F(LanguageFiles, OneHourValueSetsSingularAndPlural)
{
    EXPECT_EQ(language.Text("About", "Hour"), "Hour");
    EXPECT_EQ(language.Text("About", "Hour", 1), "Hours");
    EXPECT_EQ(language.Text("About", "Hour", 2), "");

    WriteFileBytes(current.file("Deutsch.lng"), "[About]\nhour=Stunde\n");
    language.LoadLanguage("Deutsch", Folders());
    EXPECT_EQ(language.Text("About", "Hour", 0), "Stunde");
    EXPECT_EQ(language.Text("About", "Hour", 1), "Stunde");
}

TEST_F(LanguageFiles, FirstFolderHoldingTheFileWins)
{
    WriteFileBytes(settings.file("Deutsch.lng"), "[main]\nExit=Beenden\n");
    WriteFileBytes(current.file("Deutsch.lng"), "[main]\nExit=Schliessen\nAdd=Neu\n");
    WriteFileBytes(current.file("Francais.lng"), "[main]\nExit=Quitter\n");

    language.LoadLanguage("Deutsch", Folders());
    EXPECT_EQ(language.Text("main", "Exit"), "Beenden");
    EXPECT_EQ(language.Text("main", "Add"), "Add") << "files of later folders are not merged in";
    language.LoadLanguage("Francais", Folders());
    EXPECT_EQ(language.Text("main", "Exit"), "Quitter");
}

TEST_F(LanguageFiles, LoaderNeverWritesTheFile)
{
    const std::string content = "[main]\r\nExit=Beenden ; comment\r\n\r\n[Unknown]\r\nx=1";
    WriteFileBytes(current.file("Deutsch.lng"), content);
    language.LoadLanguage("Deutsch", Folders());
    EXPECT_EQ(language.Text("main", "Exit"), "Beenden");
    EXPECT_EQ(ReadFileBytes(current.file("Deutsch.lng")), content);
}

TEST_F(LanguageFiles, NamesThatAreNoPlainFileLeaveTheBuiltIns)
{
    std::filesystem::create_directory(current.path() / "sub");
    WriteFileBytes(current.file("sub/Deutsch.lng"), "[main]\nExit=Beenden\n");
    std::filesystem::create_directory(current.path() / "Folder.lng");

    for (const char* name : {"sub/Deutsch", "../sub/Deutsch", "Folder", ""}) {
        language.LoadLanguage(name, Folders());
        EXPECT_EQ(language.Text("main", "Exit"), "Exit") << name;
        EXPECT_EQ(language.Name(), name);
    }
}

TEST_F(LanguageFiles, ListingIsSortedWithoutDuplicatesBuiltInsOrOtherFiles)
{
    for (const char* name : {"Deutsch.lng", "english.lng", "x.lng.bak", ".lng", "Readme.txt", "deutsch.lng"})
        WriteFileBytes(settings.file(name), "");
    for (const char* name : {"Deutsch.lng", "Francais.lng", "SIMPLIFIED CHINESE(简体中文).lng", "arabic.lng"})
        WriteFileBytes(current.file(name), "");
    std::filesystem::create_directory(current.path() / "Folder.lng");

    EXPECT_EQ(ListLanguageFiles(Folders()), (std::vector<std::string>{"arabic", "Deutsch", "Francais"}));
    EXPECT_TRUE(ListLanguageFiles({(current.path() / "missing").string()}).empty());
}

TEST(DefaultLanguage, FirstSetLocaleVariableDecides)
{
    struct Row {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        std::string_view expected;
    };
    const Row rows[] = {
        {nullptr, nullptr, nullptr, kLangEnglish},
        {nullptr, nullptr, "zh_CN.UTF-8", kLangSimplifiedChinese},
        {"", "", "zh_CN", kLangSimplifiedChinese},
        {nullptr, "zh_CN.GB2312", "en_US.UTF-8", kLangSimplifiedChinese},
        {"C", nullptr, "zh_CN.UTF-8", kLangEnglish},
        {"zh_CN@pinyin", "en_US", "en_US", kLangSimplifiedChinese},
        {nullptr, nullptr, "zh_TW.UTF-8", kLangEnglish},
        {nullptr, nullptr, "zh_CNX", kLangEnglish},
        {nullptr, nullptr, "zh", kLangEnglish},
    };
    for (const Row& row : rows)
        EXPECT_EQ(LanguageNameForLocale(row.lcAll, row.lcMessages, row.lang), row.expected)
            << (row.lcAll ? row.lcAll : "-") << " " << (row.lcMessages ? row.lcMessages : "-") << " "
            << (row.lang ? row.lang : "-");
}

} // namespace
} // namespace tramble
