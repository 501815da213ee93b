// The real program under Xvfb with openbox: lines typed into the command box
// calculate, start a program and end the bar, whose history is then stored.
#include "store/FastIniFile.h"

#include "support/ArgvDump.h"
#include "support/TempDir.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Process;
using test::XSession;

constexpr int kCell = 36; // icon size 32 + 4

class CommandEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (auto tool = XSession::MissingTool())
            GTEST_SKIP() << *tool << " is not installed";
        ASSERT_TRUE(m_x.Start(m_dir.path())) << "Xvfb did not start";
        fs::create_directories(Folder() / "tools");
        fs::copy_file(TRAMBLE_EXECUTABLE, Folder() / "tramble");
        fs::copy_file(TRAMBLE_ARGV_DUMP, Folder() / "tools" / "dumper");
        // Not the first run, away from the screen edges so the bar stays shown.
        test::WriteFileBytes(Ini(), "[last]\nrun=3\nLeft=300\nTop=200\n[cfg]\nSyncTime=0\n");
    }

    fs::path Folder() const { return m_dir.path() / "a"; }
    std::string Ini() const { return (Folder() / "tramble.ini").string(); }

    // Types the line and Enter; xdotool's own waits keep the keys in order.
    void Type(const std::string& line) const
    {
        m_x.X("xdotool type --delay 30 -- '" + line + "'");
        m_x.X("xdotool key Return");
    }

    test::TempDir m_dir;
    XSession m_x;
};

TEST_F(CommandEndToEnd, FormulaProgramAndExitTypedIntoTheBar)
{
    std::map<std::string, std::string> env = m_x.Env();
    const std::string dump = m_dir.file("dump");
    env["TRAMBLE_DUMP"] = dump;
    Process bar({(Folder() / "tramble").string()}, env);
    const auto window = m_x.WaitForWindow("--name '^Kuv 2.0$'");
    ASSERT_TRUE(window) << "the bar did not appear";
    ASSERT_GT(window->Height, kCell);

    // A click into the command box gives it the keyboard; the pointer stays
    // on the bar so that it does not hide.
    const int boxY = kCell + (window->Height - kCell) / 2;
    m_x.X("xdotool mousemove --window " + window->Id + " 20 " + std::to_string(boxY) + " click 1");
    std::this_thread::sleep_for(300ms);

    // The result replaces the line, selected: End and more text extend it.
    Type("2*3");
    m_x.X("xdotool key End");
    Type("*7");

    const std::string program = (Folder() / "tools" / "dumper").string();
    Type(program + " one \"two words\"");
    const std::optional<test::ArgvDump> started = test::WaitForArgvDump(dump);
    ASSERT_TRUE(started) << "the program did not start";
    EXPECT_EQ(started->Argv, (std::vector<std::string>{program, "one", "two words"}));
    EXPECT_TRUE(started->OwnSession);

    Type(">Exit");
    ASSERT_EQ(bar.Wait(10s), 0) << ">Exit did not end the program";

    TFastIniFile ini(Ini());
    EXPECT_EQ(ini.ReadNumber("Command", "Count", -1), 3);
    EXPECT_EQ(ini.ReadText("Command", "cmd1", ""), program + " one \"two words\"");
    EXPECT_EQ(ini.ReadText("Command", "cmd2", ""), "6*7");
    EXPECT_EQ(ini.ReadText("Command", "cmd3", ""), "2*3");
}

} // namespace
} // namespace tramble
