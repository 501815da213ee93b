// The command box on the real bar window, driven by key presses.
#include "app/BarMenus.h"
#include "app/frmMain.h"
#include "formula/Interpreter.h"
#include "store/FastIniFile.h"
#include "ui/Prompts.h"

#include "support/ArgvDump.h"
#include "support/TempDir.h"
#include "support/TestBar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <cstdlib>
#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

struct Message {
    QMessageBox::Icon Icon;
    QString Text;
    QString Caption;
};

class CommandBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageHook([this](QMessageBox::Icon icon, const QString& text, const QString& caption) {
            m_messages.push_back({icon, text, caption});
            return QMessageBox::Ok;
        });
    }
    void TearDown() override { SetMessageHook({}); }

    std::unique_ptr<TfrmMain> Start()
    {
        TBarEnvironment env = test::BarEnvironment(m_dir);
        env.LanguageFolders = {m_dir.path().string()};
        auto bar = test::ShowBar(std::move(env));
        m_box = bar->findChild<QComboBox*>("cbbCmd");
        return bar;
    }

    // Types the line into the emptied box and presses Enter. Keys go to the
    // box, which hands them to its edit part, as with a real keyboard.
    void Run(const QString& line)
    {
        m_box->lineEdit()->clear();
        QTest::keyClicks(m_box, line);
        QTest::keyClick(m_box, Qt::Key_Return);
    }

    QStringList History() const
    {
        QStringList items;
        for (int i = 0; i < m_box->count(); ++i)
            items << m_box->itemText(i);
        return items;
    }

    std::string Ini() const { return m_dir.file("tramble.ini"); }

    void WriteHistory(const QStringList& lines) const
    {
        std::string text = "[last]\nrun=2\n[Command]\nCount=" + std::to_string(lines.size()) + "\n";
        for (int i = 0; i < lines.size(); ++i)
            text += "cmd" + std::to_string(i + 1) + "=" + lines[i].toStdString() + "\n";
        WriteFileBytes(Ini(), text);
    }

    test::TempDir m_dir;
    QComboBox* m_box = nullptr;
    std::vector<Message> m_messages;
};

TEST_F(CommandBoxTest, FormulaResultIsSelectedAndTheLineFirstInHistory)
{
    auto bar = Start();
    EXPECT_TRUE(History().isEmpty()); // no "Command" section: no built-in list either
    EXPECT_EQ(m_box->currentText(), "");
    Run("2*3");
    EXPECT_EQ(m_box->currentText(), "6");
    EXPECT_EQ(m_box->lineEdit()->selectedText(), "6");
    EXPECT_EQ(History(), QStringList{"2*3"});
    EXPECT_TRUE(m_messages.empty());

    Run("\"a\" | \"b\"");
    EXPECT_EQ(m_box->currentText(), "\"ab\"");
    EXPECT_EQ(History(), QStringList({"\"a\" | \"b\"", "2*3"}));
}

TEST_F(CommandBoxTest, VariablesLiveFromLineToLineAndScriptsShareThem)
{
    auto bar = Start();
    Run("x:=4");
    EXPECT_EQ(m_box->currentText(), "4");
    Run("x*x");
    EXPECT_EQ(m_box->currentText(), "16");
    // The interpreter works on the same evaluator.
    TInterpreter& interpreter = bar->Interpreter();
    interpreter.Script = "y:=x+1; END.";
    interpreter.Execute();
    ASSERT_FALSE(interpreter.Failed()) << interpreter.ErrorText();
    Run("y*2");
    EXPECT_EQ(m_box->currentText(), "10");
}

TEST_F(CommandBoxTest, FailedFormulaShowsRunErrorAndKeepsTheLine)
{
    WriteFileBytes(m_dir.file("English.lng"), "[Message]\nRunError=Failed\n");
    auto bar = Start();
    Run("1+");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].Icon, QMessageBox::Warning);
    EXPECT_EQ(m_messages[0].Text, "Failed"); // the language file's text
    EXPECT_EQ(m_messages[0].Caption, "Error");
    EXPECT_EQ(m_box->currentText(), "1+");
    EXPECT_EQ(m_box->lineEdit()->selectedText(), "1+");
    EXPECT_EQ(History(), QStringList{"1+"});
}

TEST_F(CommandBoxTest, DebugTwiceShowsOnThenOffWithoutHistory)
{
    auto bar = Start();
    Run(">debug");
    EXPECT_EQ(m_box->currentText(), "on");
    Run(">DEBUG");
    EXPECT_EQ(m_box->currentText(), "off");
    // Other commands leave the text as typed.
    Run(">Help");
    EXPECT_EQ(m_box->currentText(), ">Help");
    Run(">exit now");
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(History().isEmpty());
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(CommandBoxTest, ThirteenthLineDropsTheOldest)
{
    QStringList stored;
    for (int i = 12; i >= 1; --i)
        stored << QString::number(i) + "+0";
    WriteHistory(stored);
    auto bar = Start();
    ASSERT_EQ(History(), stored);
    Run("13+0");
    EXPECT_EQ(m_box->currentText(), "13");
    QStringList expected = stored;
    expected.prepend("13+0");
    expected.removeLast();
    EXPECT_EQ(History(), expected);
}

TEST_F(CommandBoxTest, RetypedLineMovesUpAsTyped)
{
    WriteHistory({"1+1", "x:=1", "2*3", "6"});
    auto bar = Start();
    Run("X:=1");
    EXPECT_EQ(History(), QStringList({"X:=1", "1+1", "2*3", "6"}));
    // A result that is also a list line stays the box text, selected.
    Run("2*3");
    EXPECT_EQ(History(), QStringList({"2*3", "X:=1", "1+1", "6"}));
    EXPECT_EQ(m_box->currentText(), "6");
    EXPECT_EQ(m_box->lineEdit()->selectedText(), "6");
}

TEST_F(CommandBoxTest, DoubleClickRunsAndEmptyTextDoesNothing)
{
    auto bar = Start();
    m_box->setEditText("3*3");
    QTest::mouseDClick(m_box->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(m_box->currentText(), "9");
    EXPECT_EQ(m_box->lineEdit()->selectedText(), "9");
    Run("");
    EXPECT_EQ(History(), QStringList{"3*3"});
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(CommandBoxTest, CommandLineStartsAProgramWithoutAShell)
{
    const std::string program = m_dir.file("my tool");
    fs::copy_file(TRAMBLE_ARGV_DUMP, program);
    const std::string dump = m_dir.file("dump");
    const std::string marker = m_dir.file("injected");
    ::setenv("TRAMBLE_DUMP", dump.c_str(), 1);
    auto bar = Start();
    const QString line = QString::fromStdString("'" + program + "' 2*3 ; touch " + marker);
    Run(line);
    const std::optional<test::ArgvDump> started = test::WaitForArgvDump(dump);
    ::unsetenv("TRAMBLE_DUMP");
    ASSERT_TRUE(started);
    EXPECT_EQ(started->Argv, (std::vector<std::string>{program, "2*3", ";", "touch", marker}));
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_EQ(m_box->currentText(), line);
    EXPECT_EQ(m_box->lineEdit()->selectedText(), line);
    EXPECT_EQ(History(), QStringList{line});
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(CommandBoxTest, AboutAndOptionAreTheMenuItems)
{
    auto bar = Start();
    int about = 0;
    int option = 0;
    // Once their windows exist the items are wired like this.
    QObject::connect(bar->Menus().pmAbout, &QAction::triggered, [&] { ++about; });
    QObject::connect(bar->Menus().pmOption, &QAction::triggered, [&] { ++option; });
    MarkWired(bar->Menus().pmAbout);
    MarkWired(bar->Menus().pmOption);
    // The windows they open are closed as soon as they show.
    int windows = 0;
    SetPromptHook([&](QDialog& dialog) {
        ++windows;
        dialog.reject();
    });
    Run(">about");
    Run(">Option");
    SetPromptHook({});
    EXPECT_EQ(windows, 2);
    EXPECT_EQ(about, 1);
    EXPECT_EQ(option, 1);
    EXPECT_EQ(m_box->currentText(), ">Option");
    EXPECT_TRUE(History().isEmpty());
}

TEST_F(CommandBoxTest, DebugStatusAppendsToTheLogInTheSettingsFolder)
{
    auto bar = Start();
    Run(">DebugStatus");
    Run(">debugstatus");
    const std::string log = ReadFileBytes(m_dir.file("debug.log"));
    ASSERT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;
    EXPECT_TRUE(log.starts_with("\n"));
    EXPECT_GT(log.size(), 6u);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_box->currentText(), ">debugstatus");
}

TEST_F(CommandBoxTest, UnwritableDebugLogIsReported)
{
    fs::create_directory(m_dir.path() / "debug.log");
    auto bar = Start();
    Run(">DebugStatus");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(m_messages[0].Caption, "Error");
    EXPECT_TRUE(m_messages[0].Text.contains(QString::fromStdString(m_dir.file("debug.log"))))
        << m_messages[0].Text.toStdString();
    Run("1+1");
    EXPECT_EQ(m_box->currentText(), "2"); // the bar goes on
}

TEST_F(CommandBoxTest, ExitEndsThroughShutDownAndTheHistoryComesBack)
{
    {
        auto bar = Start();
        Run("2*3");
        Run("10/4");
        Run(">Quit");
        EXPECT_FALSE(bar->isVisible());
    }
    TFastIniFile onDisk(Ini());
    EXPECT_EQ(onDisk.ReadNumber("Command", "Count", -1), 2);
    EXPECT_EQ(onDisk.ReadText("Command", "cmd1", ""), "10/4");
    EXPECT_EQ(onDisk.ReadText("Command", "cmd2", ""), "2*3");

    auto bar = Start();
    EXPECT_EQ(History(), QStringList({"10/4", "2*3"}));
    Run(">EXIT");
    EXPECT_FALSE(bar->isVisible());
}

} // namespace
} // namespace tramble
