// The search under the command box on the real bar window, with a desktop
// tree of the test's own and a stand-in program that records its start.
#include "app/frmMain.h"
#include "search/ui/SearchPopup.h"
#include "store/FastIniFile.h"
#include "ui/Prompts.h"

#include "support/ArgvDump.h"
#include "support/NoClockSync.h"
#include "support/QtWait.h"
#include "support/TempDir.h"
#include "support/TestBar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <cstdlib>
#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::WaitFor;
using test::WriteFileBytes;

class AppSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_dir.path() / "work");
        fs::create_directories(m_dir.path() / "none");
        m_dumper = m_dir.file("dumper");
        fs::copy_file(TRAMBLE_ARGV_DUMP, m_dumper);
        ::setenv("XDG_DATA_HOME", m_dir.file("data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", m_dir.file("none").c_str(), 1);
        ::unsetenv("XDG_CURRENT_DESKTOP");
        ::setenv("TRAMBLE_DUMP", m_dir.file("dump").c_str(), 1);
        App("multiplier", "Name=Multiplier\nKeywords=times;2*3;\nExec=" + m_dumper + " --times %U\n");
        App("viewer",
            "Name=Picture Viewer\nExec=\"" + m_dumper + "\" --open %F --name=%c\nPath=" + m_dir.file("work") + "\n");
        App("hidden", "Name=Hidden Thing\nNoDisplay=true\nExec=" + m_dumper + "\n");
        SetMessageHook([this](QMessageBox::Icon, const QString& text, const QString&) {
            m_messages.push_back(text);
            return QMessageBox::Ok;
        });
    }
    void TearDown() override
    {
        SetMessageHook({});
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "TRAMBLE_DUMP"})
            ::unsetenv(name);
    }

    void App(const std::string& id, const std::string& keys) const
    {
        fs::create_directories(m_dir.path() / "data" / "applications");
        WriteFileBytes(m_dir.file("data/applications/" + id + ".desktop"),
                       "[Desktop Entry]\nType=Application\n" + keys);
    }

    std::unique_ptr<TfrmMain> Start(const std::string& ini = "[last]\nrun=2\n")
    {
        WriteFileBytes(Ini(), test::WithoutClockSync(ini));
        TBarEnvironment env = test::BarEnvironment(m_dir);
        env.LanguageFolders = {m_dir.path().string()};
        auto bar = test::ShowBar(std::move(env));
        m_box = bar->findChild<QComboBox*>("cbbCmd");
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* popup = qobject_cast<TSearchPopup*>(window);
                popup && popup->parent() == nullptr && window->objectName() == "lsbSearch")
                m_popup = popup;
        }
        m_box->setFocus();
        return bar;
    }

    // Types into the emptied box, waiting until the index answers the text.
    bool Type(const QString& text, bool expectPopup = true)
    {
        m_box->lineEdit()->clear();
        QTest::keyClicks(m_box, text);
        if (!expectPopup)
            return !m_popup->isVisible();
        // The index is built on a worker after the bar shows: type again until it answers.
        return WaitFor(
            [&] {
                if (!m_popup->isVisible()) {
                    m_box->lineEdit()->clear();
                    QTest::keyClicks(m_box, text);
                }
                return m_popup->isVisible();
            },
            5000);
    }

    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < m_popup->count(); ++i)
            rows << m_popup->item(i)->text();
        return rows;
    }

    QStringList History() const
    {
        QStringList items;
        for (int i = 0; i < m_box->count(); ++i)
            items << m_box->itemText(i);
        return items;
    }

    std::string Ini() const { return m_dir.file("tramble.ini"); }

    test::TempDir m_dir;
    std::string m_dumper;
    QComboBox* m_box = nullptr;
    TSearchPopup* m_popup = nullptr;
    QStringList m_messages;
};

TEST_F(AppSearchTest, TypingShowsThePopupAndEnterWithNothingPickedStillCalculates)
{
    auto bar = Start();
    ASSERT_NE(m_popup, nullptr);
    ASSERT_TRUE(Type("2*3")) << "the keyword match did not show";
    EXPECT_EQ(Rows(), QStringList{"Multiplier"});
    EXPECT_EQ(m_popup->Choice(), -1);
    QTest::keyClick(m_box, Qt::Key_Return);
    EXPECT_EQ(m_box->currentText(), "6");
    EXPECT_EQ(History(), QStringList{"2*3"});
    EXPECT_FALSE(m_popup->isVisible());
    EXPECT_FALSE(fs::exists(m_dir.file("dump"))) << "the application started instead of the formula";
}

TEST_F(AppSearchTest, DownAndEnterStartTheApplicationAndLeaveTheHistory)
{
    auto bar = Start("[last]\nrun=2\n[Command]\nCount=1\ncmd1=1+1\n");
    ASSERT_TRUE(Type("pic"));
    EXPECT_EQ(Rows(), QStringList{"Picture Viewer"});
    QTest::keyClick(m_box, Qt::Key_Down);
    EXPECT_EQ(m_popup->Choice(), 0);
    QTest::keyClick(m_box, Qt::Key_Return);
    const std::optional<test::ArgvDump> started = test::WaitForArgvDump(m_dir.file("dump"));
    ASSERT_TRUE(started) << "the application did not start";
    EXPECT_EQ(started->Argv, (std::vector<std::string>{m_dumper, "--open", "--name=Picture Viewer"}));
    EXPECT_EQ(started->Folder, m_dir.file("work"));
    EXPECT_FALSE(m_popup->isVisible());
    EXPECT_EQ(History(), QStringList{"1+1"});
    EXPECT_EQ(m_box->currentText(), "pic");
    EXPECT_TRUE(m_messages.isEmpty());

    TFastIniFile ini(Ini());
    EXPECT_EQ(ini.ReadText("AppLaunch", "Id1", ""), "viewer.desktop");
    EXPECT_EQ(ini.ReadNumber("AppLaunch", "Runs1", 0), 1);
}

TEST_F(AppSearchTest, ArrowsMoveTheChoiceAndEscapeCloses)
{
    App("viewer2", "Name=Picture Editor\nExec=" + m_dumper + "\n");
    auto bar = Start();
    ASSERT_TRUE(Type("Pic"));
    EXPECT_EQ(Rows(), QStringList({"Picture Editor", "Picture Viewer"}));
    QTest::keyClick(m_box, Qt::Key_Down);
    QTest::keyClick(m_box, Qt::Key_Down);
    QTest::keyClick(m_box, Qt::Key_Down);
    EXPECT_EQ(m_popup->Choice(), 1) << "the choice stops at the last row";
    QTest::keyClick(m_box, Qt::Key_Up);
    QTest::keyClick(m_box, Qt::Key_Up);
    EXPECT_EQ(m_popup->Choice(), -1) << "up from the first row chooses none";
    EXPECT_EQ(m_box->currentText(), "Pic") << "the arrows never walked the history";
    QTest::keyClick(m_box, Qt::Key_Escape);
    EXPECT_FALSE(m_popup->isVisible());
    EXPECT_EQ(m_box->currentText(), "Pic");
    // Typing on opens it again with what fits the longer text.
    QTest::keyClicks(m_box, "ture v");
    EXPECT_TRUE(m_popup->isVisible());
    EXPECT_EQ(Rows(), QStringList{"Picture Viewer"});
}

TEST_F(AppSearchTest, ShortTextsCommandsAndHiddenEntriesShowNothing)
{
    auto bar = Start();
    ASSERT_TRUE(Type("mu"));
    EXPECT_TRUE(Type("m", false));
    EXPECT_TRUE(Type(">mu", false));
    EXPECT_TRUE(Type("hidden", false));
    EXPECT_TRUE(Type("qqqq", false));
}

TEST_F(AppSearchTest, AClickPicksARow)
{
    auto bar = Start();
    ASSERT_TRUE(Type("mult"));
    QListWidgetItem* row = m_popup->item(0);
    QTest::mouseClick(m_popup->viewport(), Qt::LeftButton, {}, m_popup->visualItemRect(row).center());
    const std::optional<test::ArgvDump> started = test::WaitForArgvDump(m_dir.file("dump"));
    ASSERT_TRUE(started);
    EXPECT_EQ(started->Argv, (std::vector<std::string>{m_dumper, "--times"}));
}

TEST_F(AppSearchTest, AtMostEightRowsAndRecentStartsFirst)
{
    for (int i = 1; i <= 12; ++i)
        App("tool" + std::to_string(i), "Name=Tool " + std::to_string(i) + "\nExec=" + m_dumper + "\n");
    auto bar = Start("[last]\nrun=2\n[AppLaunch]\nNum=1\nId1=tool9.desktop\nRuns1=4\n");
    ASSERT_TRUE(Type("tool"));
    ASSERT_EQ(m_popup->count(), 8);
    EXPECT_EQ(m_popup->item(0)->text(), "Tool 9");
}

TEST_F(AppSearchTest, BarEntryPickedStartsAndCounts)
{
    auto bar = Start("[last]\nrun=2\n[Button]\nNum=1\nApp1=" + m_dumper + "\nAppDescript1=Dump Helper\n");
    ASSERT_TRUE(Type("dump h"));
    EXPECT_EQ(Rows(), QStringList{"Dump Helper"});
    QTest::keyClick(m_box, Qt::Key_Down);
    QTest::keyClick(m_box, Qt::Key_Return);
    ASSERT_TRUE(test::WaitForArgvDump(m_dir.file("dump")));
    TFastIniFile ini(Ini());
    EXPECT_EQ(ini.ReadNumber("Button", "AppRunCount1", 0), 1);
}

TEST_F(AppSearchTest, NewDesktopFilesAreFoundWithoutARestart)
{
    auto bar = Start();
    ASSERT_TRUE(Type("mult"));
    EXPECT_TRUE(Type("zebra", false));
    App("zebra", "Name=Zebra Paint\nExec=" + m_dumper + "\n");
    EXPECT_TRUE(Type("zebra")) << "the new file was not indexed";
    EXPECT_EQ(Rows(), QStringList{"Zebra Paint"});
}

} // namespace
} // namespace tramble
