// The real program in a Wayland session of a headless weston: on Wayland
// itself when there is no X display, on XWayland's X11 when there is one.
#include "WestonSession.h"

#include "store/FastIniFile.h"
#include "support/PrivateBus.h"
#include "support/ShortcutPortal.h"
#include "support/TempDir.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <set>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Process;

constexpr const char* kBarTitle = "Kuv 2.0";

class WaylandEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::OnPath("weston"))
            GTEST_SKIP() << "weston is not installed";
        ASSERT_TRUE(m_weston.Start(m_dir.path() / "weston")) << "weston did not start";
        fs::create_directories(Folder());
        fs::create_directories(m_dir.path() / "home");
        fs::copy_file(TRAMBLE_EXECUTABLE, Folder() / "tramble");
        // Not the first run, with a stored place the compositor will not honour.
        test::WriteFileBytes(Ini(), "[last]\nrun=3\nLeft=300\nTop=200\n[cfg]\nSyncTime=0\n");
    }

    fs::path Folder() const { return m_dir.path() / "a"; }
    std::string Ini() const { return (Folder() / "tramble.ini").string(); }

    // The session's variables; an empty value stands for an unset one.
    std::map<std::string, std::string> Env(std::map<std::string, std::string> extra) const
    {
        std::map<std::string, std::string> env = m_weston.Env();
        env["HOME"] = (m_dir.path() / "home").string();
        env["XDG_CONFIG_HOME"] = (m_dir.path() / "home" / ".config").string();
        env["DISPLAY"] = "";
        env["QT_QPA_PLATFORM"] = "";
        // Under AddressSanitizer: Qt's Wayland plugin loads the graphics
        // drivers and unloads them again, so what they keep at exit can no
        // longer be named, let alone told apart from a leak of ours.
        if (const char* asan = std::getenv("ASAN_OPTIONS"))
            env["ASAN_OPTIONS"] = std::string(asan) + ":detect_leaks=0";
        for (auto& [key, value] : extra)
            env[key] = value;
        return env;
    }

    // Answers every box that takes the focus from the bar until the bar has
    // kept it through `quiet`; boxes the bar shows at start are said once.
    bool SettleOnBar(const std::string& bar, std::chrono::milliseconds quiet)
    {
        const auto end = std::chrono::steady_clock::now() + 30s;
        auto calmSince = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() < end) {
            const std::vector<test::Focus> changes = m_weston.FocusChanges();
            const bool onBar = !changes.empty() && changes.back().Surface == bar;
            if (!onBar) {
                if (!changes.empty() && !changes.back().Surface.empty())
                    m_weston.Key("Return");
                std::this_thread::sleep_for(500ms);
                calmSince = std::chrono::steady_clock::now();
                continue;
            }
            if (std::chrono::steady_clock::now() - calmSince >= quiet)
                return true;
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }

    test::TempDir m_dir;
    test::WestonSession m_weston;
};

TEST_F(WaylandEndToEnd, WithoutXWaylandTheBarRunsOnWaylandCalculatesAndEndsByExit)
{
    Process bar({(Folder() / "tramble").string()}, Env({}));
    const std::optional<test::Focus> shown = m_weston.WaitForFocus(kBarTitle);
    ASSERT_TRUE(shown) << "the bar did not appear on the compositor";

    // The notice of what Wayland turns off, once.
    ASSERT_TRUE(m_weston.WaitForFocus("Tramble")) << "no notice of what is turned off";
    m_weston.Key("Return");
    // Other notices of the start (no tray host here) come within seconds.
    ASSERT_TRUE(SettleOnBar(shown->Surface, 7s)) << "the bar did not get the keyboard back";
    std::set<std::string> notices;
    for (const test::Focus& focus : m_weston.FocusChanges()) {
        if (focus.Label.find("'Tramble'") != std::string::npos)
            notices.insert(focus.Surface);
    }
    EXPECT_EQ(notices.size(), 1u);

    // The result replaces the line, selected: End and more text extend it.
    m_weston.Type("2*3");
    m_weston.Key("Return");
    m_weston.Key("End");
    m_weston.Type("*7");
    m_weston.Key("Return");
    m_weston.Type(">Exit");
    m_weston.Key("Return");
    ASSERT_EQ(bar.Wait(15s), 0) << ">Exit did not end the program";

    TFastIniFile ini(Ini());
    EXPECT_EQ(ini.ReadNumber("last", "run", 0), 4);
    EXPECT_EQ(ini.ReadNumber("Command", "Count", -1), 2);
    EXPECT_EQ(ini.ReadText("Command", "cmd1", ""), "6*7");
    EXPECT_EQ(ini.ReadText("Command", "cmd2", ""), "2*3");
    // The compositor placed the bar; the place stored for X sessions stays.
    EXPECT_EQ(ini.ReadNumber("last", "Left", -1), 300);
    EXPECT_EQ(ini.ReadNumber("last", "Top", -1), 200);
}

// On Wayland itself no program can grab keys: the shortcut is bound through
// the desktop portal, and given back when the bar ends.
TEST_F(WaylandEndToEnd, TheShortcutIsBoundThroughThePortal)
{
    if (!test::ShortcutPortal::Available())
        GTEST_SKIP() << "xdg-desktop-portal is not installed";
    test::PrivateBus bus;
    test::ShortcutPortal portal(bus.Address(), {});
    ASSERT_TRUE(portal.Ready());
    Process bar({(Folder() / "tramble").string()}, Env({{"DBUS_SESSION_BUS_ADDRESS", bus.Address()}}));
    const std::optional<test::Focus> shown = m_weston.WaitForFocus(kBarTitle);
    ASSERT_TRUE(shown) << "the bar did not appear on the compositor";
    ASSERT_TRUE(portal.WaitForBound(1, 15s)) << "the bar did not ask the portal";
    EXPECT_EQ(portal.BoundShortcuts().front().Trigger, "CTRL+ALT+space");

    ASSERT_TRUE(SettleOnBar(shown->Surface, 3s));
    m_weston.Type(">Exit");
    m_weston.Key("Return");
    ASSERT_EQ(bar.Wait(15s), 0) << ">Exit did not end the program";
    EXPECT_TRUE(portal.WaitForClosedSessions(1, 5s)) << "the portal kept the ended bar's shortcut";
}

class XWaylandEndToEnd : public WaylandEndToEnd {
protected:
    void SetUp() override
    {
        if (auto missing = test::XSession::MissingTool())
            GTEST_SKIP() << *missing << " is not installed";
        WaylandEndToEnd::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(m_x.Start(m_dir.path() / "x")) << "Xvfb did not start";
    }

    test::XSession m_x;
};

TEST_F(XWaylandEndToEnd, AnXDisplayInAWaylandSessionTakesTheBar)
{
    Process bar({(Folder() / "tramble").string()}, Env({{"DISPLAY", m_x.Display()}}));
    EXPECT_TRUE(m_x.WaitForWindow(std::string("--name '^") + kBarTitle + "$'")) << "the bar is not on X";
    EXPECT_TRUE(m_weston.FocusChanges().empty()) << "the bar opened a window on Wayland";
    bar.Signal(SIGTERM);
    EXPECT_EQ(bar.Wait(10s), 0);
}

TEST_F(XWaylandEndToEnd, ThePlatformTheUserChoseIsKept)
{
    Process bar({(Folder() / "tramble").string()}, Env({{"DISPLAY", m_x.Display()}, {"QT_QPA_PLATFORM", "wayland"}}));
    EXPECT_TRUE(m_weston.WaitForFocus(kBarTitle)) << "the bar is not on Wayland";
    EXPECT_TRUE(m_x.Windows(std::string("--name '^") + kBarTitle + "$'").empty()) << "the bar is on X";
    bar.Signal(SIGTERM);
    EXPECT_EQ(bar.Wait(10s), 0);
}

} // namespace
} // namespace tramble
