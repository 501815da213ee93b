// The real program under Xvfb with openbox: a file added through the add
// command becomes a button and an entry of the settings file, and a click
// on the button starts the program and counts the start.
#include "store/FastIniFile.h"

#include "support/ArgvDump.h"
#include "support/TempDir.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Process;
using test::WindowInfo;
using test::XSession;

constexpr int kCell = 36; // icon size 32 + 4

class EntriesEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (auto tool = XSession::MissingTool({"import", "convert"}))
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
    std::string Dump() const { return m_dir.file("dump"); }

    std::string Stored(const char* key) const
    {
        TFastIniFile ini(Ini());
        return ini.ReadText("Button", key, "<none>");
    }

    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) const
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(100ms);
        return done();
    }

    // How many colours the first application cell of the bar shows.
    int CellColours(const WindowInfo& bar) const
    {
        const std::string shot = m_dir.file("shot.png");
        m_x.X("import -window " + bar.Id + " " + shot);
        const std::string count =
            test::RunCommand("convert " + shot + " -crop " + std::to_string(kCell) + "x" + std::to_string(kCell) + "+" +
                             std::to_string(2 * kCell) + "+0 +repage -format %k info: 2>/dev/null");
        return count.empty() ? -1 : std::stoi(count);
    }

    test::TempDir m_dir;
    XSession m_x;
};

TEST_F(EntriesEndToEnd, AddedFileBecomesAButtonThatStartsTheProgram)
{
    std::map<std::string, std::string> env = m_x.Env();
    env["TRAMBLE_DUMP"] = Dump();
    env["TRAMBLE_DUMP_SLEEP"] = "3"; // the started program stays a while
    Process bar({(Folder() / "tramble").string()}, env);
    const std::optional<WindowInfo> window =
        m_x.WaitForWindow("--all --pid " + std::to_string(bar.Pid()) + " --name '^Kuv'");
    ASSERT_TRUE(window) << "the bar did not show";
    ASSERT_TRUE(WaitFor([&] { return CellColours(*window) == 1; })) << "the first cell is not empty";

    // "Add" of the bar menu opens the picker; the path is typed into it.
    m_x.X("xdotool mousemove --window " + window->Id + " 10 10 click 3");
    std::this_thread::sleep_for(300ms);
    m_x.X("xdotool key Down Return");
    const std::optional<WindowInfo> dialog = m_x.WaitForWindow("--name '^Select Item$'", 10s);
    ASSERT_TRUE(dialog) << "the picker did not open";
    const std::string program = (Folder() / "tools" / "dumper").string();
    m_x.X("xdotool windowactivate --sync " + dialog->Id + " key ctrl+l type --delay 5 '" + program + "'");
    m_x.X("xdotool key --window " + dialog->Id + " Return");

    // Stored at once, with the tool's folder as a macro.
    ASSERT_TRUE(WaitFor([&] { return Stored("Num") == "1"; })) << test::ReadFileBytes(Ini());
    EXPECT_EQ(Stored("App1"), "$(Kuv)/tools/dumper");
    EXPECT_EQ(Stored("AppRunFolder1"), "$(Kuv)/tools/");
    EXPECT_EQ(Stored("AppDescript1"), "dumper");
    EXPECT_TRUE(fs::exists(Folder() / "tramble.dat"));
    ASSERT_TRUE(WaitFor([&] { return CellColours(*window) > 1; })) << "no button appeared";

    // A click on the button starts the program in its folder and counts it.
    m_x.X("xdotool mousemove --window " + window->Id + " " + std::to_string(2 * kCell + kCell / 2) + " " +
          std::to_string(kCell / 2) + " click 1");
    const std::optional<test::ArgvDump> dump = test::WaitForArgvDump(Dump());
    ASSERT_TRUE(dump) << "the program did not start";
    EXPECT_EQ(dump->Argv, std::vector<std::string>{program});
    EXPECT_EQ(dump->Folder, (Folder() / "tools").string());
    EXPECT_TRUE(dump->OwnSession);
    EXPECT_TRUE(WaitFor([&] { return Stored("AppRunCount1") == "1"; })) << test::ReadFileBytes(Ini());

    // The started program outlives the bar.
    bar.Stop();
    EXPECT_EQ(::kill(dump->Pid, 0), 0);
}

TEST_F(EntriesEndToEnd, EditedDescriptionAndArgumentsAreStoredAndUsed)
{
    test::WriteFileBytes(Ini(), "[last]\nrun=3\nLeft=300\nTop=200\n[cfg]\nSyncTime=0\n[Button]\nNum=1\n"
                                "App1=$(Kuv)/tools/dumper\nAppRunFolder1=$(Kuv)/tools/\nAppDescript1=dumper\n"
                                "AppArguments1=--old\nAppRunCount1=2\n");
    std::map<std::string, std::string> env = m_x.Env();
    env["TRAMBLE_DUMP"] = Dump();
    Process bar({(Folder() / "tramble").string()}, env);
    const std::optional<WindowInfo> window =
        m_x.WaitForWindow("--all --pid " + std::to_string(bar.Pid()) + " --name '^Kuv'");
    ASSERT_TRUE(window) << "the bar did not show";
    ASSERT_TRUE(WaitFor([&] { return CellColours(*window) > 1; })) << "the button did not show";

    // "Edit" is the second item of the button's menu.
    const std::string cell = std::to_string(2 * kCell + kCell / 2) + " " + std::to_string(kCell / 2);
    m_x.X("xdotool mousemove --window " + window->Id + " " + cell + " click 3");
    std::this_thread::sleep_for(300ms);
    m_x.X("xdotool key Down Down Return");
    const std::optional<WindowInfo> editor = m_x.WaitForWindow("--name '^Edit Application$'", 10s);
    ASSERT_TRUE(editor) << "the editor did not open";
    // The description has the focus; the arguments are five fields further.
    m_x.X("xdotool windowactivate --sync " + editor->Id + " key ctrl+a");
    m_x.X("xdotool type --delay 5 'Dump tool'");
    m_x.X("xdotool key Tab Tab Tab Tab Tab ctrl+a");
    m_x.X("xdotool type --delay 5 -- \"--new 'two words'\"");
    m_x.X("xdotool key Return");

    ASSERT_TRUE(WaitFor([&] { return Stored("AppDescript1") == "Dump tool"; })) << test::ReadFileBytes(Ini());
    EXPECT_EQ(Stored("AppArguments1"), "--new 'two words'");
    EXPECT_EQ(Stored("App1"), "$(Kuv)/tools/dumper");
    EXPECT_EQ(Stored("AppRunCount1"), "2");
    EXPECT_TRUE(m_x.Windows("--name '^Edit Application$'").empty());

    // The next start of the button passes the new arguments.
    m_x.X("xdotool mousemove --window " + window->Id + " " + cell + " click 1");
    const std::optional<test::ArgvDump> dump = test::WaitForArgvDump(Dump());
    ASSERT_TRUE(dump) << "the program did not start";
    const std::string program = (Folder() / "tools" / "dumper").string();
    EXPECT_EQ(dump->Argv, (std::vector<std::string>{program, "--new", "two words"}));
    EXPECT_TRUE(WaitFor([&] { return Stored("AppRunCount1") == "3"; })) << test::ReadFileBytes(Ini());
    bar.Stop();
}

} // namespace
} // namespace tramble
