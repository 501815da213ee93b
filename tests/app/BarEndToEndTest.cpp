// The real program under Xvfb with a window manager and a tray host.
#include "store/FastIniFile.h"

#include "support/NoClockSync.h"
#include "support/TempDir.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Process;

class BarEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (auto missing = test::XSession::MissingTool())
            GTEST_SKIP() << *missing << " is not installed";
        ASSERT_TRUE(m_session.Start(m_dir.path())) << "Xvfb did not start";
        m_env = m_session.Env();
    }

    std::string X(const std::string& command) { return m_session.X(command); }

    std::optional<test::WindowInfo> WaitForWindow(const std::string& name)
    {
        return m_session.WaitForWindow("--name '" + name + "'");
    }

    int CountWindows(const std::string& name)
    {
        return static_cast<int>(m_session.Windows("--name '" + name + "'").size());
    }

    std::string CopyProgram(const std::string& folder)
    {
        fs::create_directories(m_dir.path() / folder);
        const fs::path target = m_dir.path() / folder / "tramble";
        fs::copy_file(TRAMBLE_EXECUTABLE, target);
        test::SwitchOffClockSync((m_dir.path() / folder / "tramble.ini").string());
        return target.string();
    }

    test::TempDir m_dir;
    test::XSession m_session;
    std::map<std::string, std::string> m_env;
};

TEST_F(BarEndToEnd, StartsOnceShowsItsCopyNumberAndEndsByExit)
{
    const std::string first = CopyProgram("a");
    const std::string other = CopyProgram("b");

    Process bar({first}, m_env);
    const auto window = WaitForWindow("^Kuv 2.0$");
    ASSERT_TRUE(window) << "the bar did not appear";
    // The bar stands at an edge of the screen; the pointer on it keeps it
    // from hiding itself.
    X("xdotool mousemove --window " + window->Id + " 20 20");
    EXPECT_EQ(window->Width, 3 * 36);
    EXPECT_GT(window->Height, 36);

    // A second start of the same copy ends silently.
    Process again({first}, m_env);
    EXPECT_EQ(again.Wait(10s), 0);
    EXPECT_EQ(CountWindows("^Kuv 2.0$"), 1);

    // A copy in another folder is instance 1; the end of its session ends
    // it through the shut-down order.
    Process second({other}, m_env);
    ASSERT_TRUE(WaitForWindow("^\\[1\\] Kuv 2.0$")) << "the second copy did not appear";
    second.Signal(SIGTERM);
    EXPECT_EQ(second.Wait(10s), 0);
    TFastIniFile secondIni((m_dir.path() / "b" / "tramble.ini").string());
    EXPECT_EQ(secondIni.ReadNumber("last", "run", 0), 1);
    EXPECT_TRUE(secondIni.HasKey("last", "Left"));

    // "Exit" from the bar menu: the last item of the context menu, chosen
    // once the menu is on the screen (one more visible window of the bar).
    const std::string ofBar = "--pid " + std::to_string(bar.Pid());
    auto menuShown = [&](size_t before) {
        const auto end = std::chrono::steady_clock::now() + 10s;
        while (m_session.Windows(ofBar).size() <= before) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(50ms);
        }
        return true;
    };
    std::optional<int> status;
    for (int attempt = 0; attempt < 3 && !status; ++attempt) {
        const size_t before = m_session.Windows(ofBar).size();
        X("xdotool mousemove --window " + window->Id + " 10 10 click 3");
        if (!menuShown(before))
            continue;
        X("xdotool key Up Return");
        status = bar.Wait(5s);
        if (!status)
            X("xdotool key Escape");
    }
    ASSERT_EQ(status, 0) << "Exit did not end the program";

    TFastIniFile ini((m_dir.path() / "a" / "tramble.ini").string());
    EXPECT_EQ(ini.ReadNumber("last", "run", 0), 1);
    ASSERT_TRUE(ini.HasKey("last", "Left"));
    ASSERT_TRUE(ini.HasKey("last", "Top"));
    // The stored place is the frame's corner, at most a frame's width away
    // from the client's.
    EXPECT_NEAR(ini.ReadNumber("last", "Left", -100), window->X, 40);
    EXPECT_NEAR(ini.ReadNumber("last", "Top", -100), window->Y, 60);
    EXPECT_EQ(ini.ReadNumber("last", "Width", 0), window->Width);
    EXPECT_EQ(ini.ReadNumber("last", "Height", 0), window->Height);
    // The backup holds the settings as they were before the start: only the
    // switch the test wrote.
    EXPECT_EQ(test::ReadFileBytes((m_dir.path() / "a" / "tramble.in0").string()), test::WithoutClockSync(""));
}

} // namespace
} // namespace tramble
