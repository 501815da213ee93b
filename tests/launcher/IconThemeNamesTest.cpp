#include "launcher/IconThemeNames.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;

class IconThemeNamesTest : public ::testing::Test {
protected:
    // An empty file at icons/<relative>, its folders made.
    void Icon(const std::string& relative, const std::string& folder = "icons")
    {
        const fs::path file = m_dir.path() / folder / relative;
        fs::create_directories(file.parent_path());
        test::WriteFileBytes(file.string(), "");
    }
    void Theme(const std::string& name, const std::string& inherits, const std::string& folder = "icons")
    {
        fs::create_directories(m_dir.path() / folder / name);
        test::WriteFileBytes((m_dir.path() / folder / name / "index.theme").string(),
                             "[Icon Theme]\nName=" + name + "\nInherits=" + inherits + "\n");
    }
    std::vector<std::string> Names(const std::vector<std::string>& themes)
    {
        return IconThemeNames({m_dir.file("icons"), m_dir.file("more")}, themes);
    }

    test::TempDir m_dir;
};

TEST_F(IconThemeNamesTest, NamesOfTheThemeItsParentsAndHicolor)
{
    Theme("Base", "Parent , hicolor");
    Theme("Parent", "Base"); // a loop ends at the first repeat
    Icon("Base/16x16/apps/editor.png");
    Icon("Base/scalable/apps/editor.svg");
    Icon("Base/scalable/apps/editor-symbolic.svg");
    Icon("Base/16x16/apps/editor-symbolic.symbolic.png");
    Icon("Base/16x16/apps/notes.txt");
    Icon("Base/32x32/places/Folder.XPM");
    Icon("Parent/48x48/apps/terminal.png");
    Icon("Parent/a/b/c/deep.png"); // theme/size/context/file and one more level
    Icon("Parent/a/b/c/d/tooDeep.png");
    Icon("hicolor/48x48/apps/calculator.png", "more");
    Icon("Unrelated/48x48/apps/other.png");

    EXPECT_EQ(Names({"Base"}), (std::vector<std::string>{"Folder", "calculator", "deep", "editor", "terminal"}));
    // Each theme of the loop once, from either end.
    EXPECT_EQ(Names({"Parent"}), (std::vector<std::string>{"Folder", "calculator", "deep", "editor", "terminal"}));
    // A theme without an index still has the hicolor icons.
    EXPECT_EQ(Names({"Unrelated"}), (std::vector<std::string>{"calculator", "other"}));
    EXPECT_EQ(Names({"Missing", ""}), (std::vector<std::string>{"calculator"}));
}

TEST_F(IconThemeNamesTest, InheritedNamesStayInsideTheIconFolders)
{
    Theme("Base", "../outside, /tmp");
    Icon("outside/16x16/apps/escaped.png", "");
    Icon("Base/16x16/apps/kept.png");
    EXPECT_EQ(Names({"Base"}), (std::vector<std::string>{"kept"}));
}

TEST_F(IconThemeNamesTest, NoFoldersGiveNoNames)
{
    EXPECT_TRUE(IconThemeNames({}, {"Adwaita"}).empty());
    EXPECT_TRUE(IconThemeNames({m_dir.file("none")}, {"Adwaita"}).empty());
}

} // namespace
} // namespace tramble
