#include "command/CommandRunner.h"
#include "command/BarCommand.h"
#include "command/CommandHistory.h"
#include "command/DebugLog.h"
#include "formula/Calcul.h"
#include "store/FastIniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines Numbered(int count)
{
    Lines lines;
    for (int i = count; i >= 1; --i)
        lines.push_back("line" + std::to_string(i));
    return lines;
}

TEST(CommandHistory, AdditionsKeepTheNewestTwelveWithoutCaseDuplicates)
{
    struct Case {
        const char* Name;
        Lines Before;
        std::string Line;
        Lines After;
    };
    Lines full = Numbered(12);
    Lines thirteen = full;
    thirteen.insert(thirteen.begin(), "new");
    thirteen.pop_back();
    Lines lastMoved = full;
    lastMoved.pop_back();
    lastMoved.insert(lastMoved.begin(), "LINE1");
    const Case cases[] = {
        {"first line", {}, "2*3", {"2*3"}},
        {"new line goes on top", {"a", "b"}, "c", {"c", "a", "b"}},
        {"re-typed line moves up as typed", {"a", "Calc", "b"}, "cALC", {"cALC", "a", "b"}},
        {"same line at the top", {"a", "b"}, "a", {"a", "b"}},
        {"thirteenth line drops the oldest", full, "new", thirteen},
        {"oldest line re-typed in a full list", full, "LINE1", lastMoved},
        {"longer stored list is trimmed", Numbered(15), "new",
         [] {
             Lines l = Numbered(15);
             l.insert(l.begin(), "new");
             l.resize(12);
             return l;
         }()},
        {"only ASCII letters fold", {"\xC3\xA4"}, "\xC3\x84", {"\xC3\x84", "\xC3\xA4"}},
    };
    for (const Case& c : cases) {
        Lines history = c.Before;
        AddToHistory(history, c.Line);
        EXPECT_EQ(history, c.After) << c.Name;
    }
}

TEST(BarCommand, WholeTextsWithoutRegardToCase)
{
    const std::pair<const char*, TBarCommand> cases[] = {
        {">Exit", TBarCommand::Exit},
        {">exit", TBarCommand::Exit},
        {">QUIT", TBarCommand::Exit},
        {">About", TBarCommand::About},
        {">option", TBarCommand::Option},
        {">Debug", TBarCommand::Debug},
        {">debugstatus", TBarCommand::DebugStatus},
        {">Add", TBarCommand::None},
        {">Del", TBarCommand::None},
        {">Delete", TBarCommand::None},
        {">Help", TBarCommand::None},
        {">Stat", TBarCommand::None},
        {">exit now", TBarCommand::None},
        {"> exit", TBarCommand::None},
        {">Exit ", TBarCommand::None},
        {">Options", TBarCommand::None},
        {">", TBarCommand::None},
    };
    for (const auto& [line, command] : cases)
        EXPECT_EQ(FindBarCommand(line), command) << line;
    EXPECT_TRUE(IsBarCommandLine(">anything"));
    EXPECT_FALSE(IsBarCommandLine(" >Exit"));
    EXPECT_FALSE(IsBarCommandLine(""));
}

class CommandRunner : public ::testing::Test {
protected:
    TCommandRunner Runner(int started = 2)
    {
        TCommandRunner::THooks hooks;
        hooks.WinExec = [this, started](const std::string& line) {
            m_started.push_back(line);
            return started;
        };
        hooks.Exit = [this] { ++m_exits; };
        hooks.About = [this] { ++m_abouts; };
        hooks.Option = [this] { ++m_options; };
        hooks.DebugLogPath = m_dir.file("debug.log");
        return TCommandRunner(m_calcul, std::move(hooks), m_clock);
    }

    test::TempDir m_dir;
    TManualClock m_clock{std::chrono::system_clock::from_time_t(86400)};
    TCalcul m_calcul;
    Lines m_history;
    Lines m_started;
    int m_exits = 0;
    int m_abouts = 0;
    int m_options = 0;
};

TEST_F(CommandRunner, FormulasRunWhenNoProgramStarts)
{
    TCommandRunner runner = Runner();
    struct Step {
        std::string Line;
        TRunResult::TKind Kind;
        std::optional<std::string> Text;
    };
    const Step steps[] = {
        {"2*3", TRunResult::Calculated, "6"},     {"x:=4", TRunResult::Calculated, "4"},
        {"x*x", TRunResult::Calculated, "16"},    {"\"a\" | \"b\"", TRunResult::Calculated, "\"ab\""},
        {"1+", TRunResult::Failed, std::nullopt}, {"unknownname", TRunResult::Failed, std::nullopt},
    };
    for (const Step& step : steps) {
        const TRunResult result = runner.RunCommandLine(step.Line, m_history);
        EXPECT_EQ(result.Kind, step.Kind) << step.Line;
        EXPECT_EQ(result.Text, step.Text) << step.Line;
        EXPECT_EQ(m_history.front(), step.Line);
    }
    // Each line was offered as a program first, as typed.
    EXPECT_EQ(m_started, (Lines{"2*3", "x:=4", "x*x", "\"a\" | \"b\"", "1+", "unknownname"}));
    EXPECT_EQ(m_history.size(), 6u);
}

TEST_F(CommandRunner, StartedProgramLeavesTheEvaluatorAlone)
{
    for (int started : {32, 33}) {
        TCommandRunner runner = Runner(started);
        const TRunResult result = runner.RunCommandLine("y:=5", m_history);
        EXPECT_EQ(result.Kind, TRunResult::Started);
        EXPECT_FALSE(result.Text);
    }
    EXPECT_EQ(m_history, Lines{"y:=5"});
    // Nothing was evaluated, so y was never set.
    TCommandRunner runner = Runner(31);
    EXPECT_EQ(runner.RunCommandLine("y", m_history).Kind, TRunResult::Failed);
}

TEST_F(CommandRunner, EmptyAndBarCommandLinesLeaveTheHistory)
{
    TCommandRunner runner = Runner();
    EXPECT_EQ(runner.RunCommandLine("", m_history).Kind, TRunResult::Nothing);
    for (const char* line : {">EXIT", ">quit", ">Exit now", ">About", ">OPTION", ">help", ">add", ">stat", ">nonsense"})
        EXPECT_EQ(runner.RunCommandLine(line, m_history).Kind, TRunResult::Command) << line;
    EXPECT_EQ(m_exits, 2);
    EXPECT_EQ(m_abouts, 1);
    EXPECT_EQ(m_options, 1);
    EXPECT_TRUE(m_history.empty());
    EXPECT_TRUE(m_started.empty());
}

TEST_F(CommandRunner, DebugStatusAppendsAnEmptyLineAndTheStamp)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    TCommandRunner runner = Runner();
    const std::string stamp = DebugStamp(86400);
    // The locale's date, a blank, the locale's time (C locale here).
    EXPECT_EQ(stamp, "01/02/70 00:00:00");
    test::WriteFileBytes(m_dir.file("debug.log"), "kept\n");
    for (int i = 0; i < 2; ++i) {
        const TRunResult result = runner.RunCommandLine(">DebugStatus", m_history);
        EXPECT_EQ(result.Kind, TRunResult::Command);
        EXPECT_EQ(result.Error, "");
        EXPECT_FALSE(result.Text);
    }
    EXPECT_EQ(test::ReadFileBytes(m_dir.file("debug.log")), "kept\n\n" + stamp + "\n\n" + stamp + "\n");
    EXPECT_TRUE(m_history.empty());
    // The stamp is the clock's time when the command runs.
    m_clock.Advance(std::chrono::seconds(61));
    runner.RunCommandLine(">DebugStatus", m_history);
    EXPECT_TRUE(test::ReadFileBytes(m_dir.file("debug.log")).ends_with("\n\n01/02/70 00:01:01\n"));
}

TEST(DebugLog, FailuresAreReportedAndNeverBlock)
{
    test::TempDir dir;
    fs::create_directory(dir.path() / "folder");
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const std::string missing = dir.file("no/such/folder/debug.log");
    for (const std::string& path : {missing, dir.file("folder"), dir.file("pipe")}) {
        try {
            AppendDebugStatus(path, "stamp");
            ADD_FAILURE() << path << " was written";
        } catch (const EFileError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(fs::exists(missing));
}

} // namespace
} // namespace tramble
