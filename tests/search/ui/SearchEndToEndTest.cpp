// The real program under Xvfb with openbox: the global shortcut calls the bar
// from the strip, grabbed on the display or bound through the desktop's
// portal, "--focus" reaches the running copy, and an application found in
// the command box starts with its arguments.
#include "platform/KeyGrab.h"
#include "store/FastIniFile.h"

#include "support/ArgvDump.h"
#include "support/PrivateBus.h"
#include "support/ShortcutPortal.h"
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
constexpr const char* kBar = "--name '^Kuv 2.0$'";
constexpr uint32_t kSpace = 0x20;

class SearchEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (auto tool = XSession::MissingTool())
            GTEST_SKIP() << *tool << " is not installed";
        ASSERT_TRUE(m_x.Start(m_dir.path())) << "Xvfb did not start";
        fs::create_directories(Folder() / "tools");
        fs::create_directories(m_dir.path() / "data" / "applications");
        fs::create_directories(m_dir.path() / "none");
        fs::copy_file(TRAMBLE_EXECUTABLE, Folder() / "tramble");
        fs::copy_file(TRAMBLE_ARGV_DUMP, Dumper());
        test::WriteFileBytes((m_dir.path() / "data" / "applications" / "zebra.desktop").string(),
                             "[Desktop Entry]\nType=Application\nName=Zebra Paint\nExec=" + Dumper() +
                                 " --paint %c %U\n");
        // Not the first run, away from the screen edges so the bar stays shown.
        test::WriteFileBytes(Ini(), "[last]\nrun=3\nLeft=300\nTop=200\n[cfg]\nSyncTime=0\n");
        m_env = m_x.Env();
        m_env["XDG_DATA_HOME"] = (m_dir.path() / "data").string();
        m_env["XDG_DATA_DIRS"] = (m_dir.path() / "none").string();
        m_env["TRAMBLE_DUMP"] = m_dir.file("dump");
        // An X session, whatever session the tests run in.
        m_env["WAYLAND_DISPLAY"] = "";
    }

    // A Wayland session whose bar runs on XWayland (here: Xvfb), with the
    // session bus of the test's own where the portal may answer.
    void InWaylandSession(const test::PrivateBus& bus)
    {
        m_env["WAYLAND_DISPLAY"] = "wayland-absent";
        m_env["DBUS_SESSION_BUS_ADDRESS"] = bus.Address();
    }

    fs::path Folder() const { return m_dir.path() / "a"; }
    std::string Ini() const { return (Folder() / "tramble.ini").string(); }
    std::string Dumper() const { return (Folder() / "tools" / "dumper").string(); }

    void Type(const std::string& text) const { m_x.X("xdotool type --delay 30 -- '" + text + "'"); }
    void Key(const std::string& key) const { m_x.X("xdotool key " + key); }

    bool BarShown(bool shown, std::chrono::milliseconds limit = 5s) const
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (m_x.Windows(kBar).empty() != shown)
                return true;
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }

    // Minimising folds the bar into the strip; asked again should the window
    // manager have missed the first request on a busy machine.
    bool FoldIntoStrip() const
    {
        for (int i = 0; i < 3; ++i) {
            m_x.X("xdotool windowminimize " + m_window->Id);
            if (BarShown(false, 3s))
                return true;
        }
        return false;
    }

    // Whether the shortcut is held by someone else, asked by grabbing it.
    bool ShortcutHeldElsewhere(std::chrono::milliseconds limit = 10s) const
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (GrabbedOnDisplay())
                return true;
            std::this_thread::sleep_for(200ms);
        }
        return false;
    }

    bool GrabbedOnDisplay() const
    {
        auto probe = platform::TKeyGrab::Connect(m_x.Display());
        return probe && probe->Grab({.Ctrl = true, .Alt = true}, kSpace) == platform::TGrabResult::HeldByOther;
    }

    std::unique_ptr<Process> StartBar()
    {
        auto bar = std::make_unique<Process>(std::vector<std::string>{(Folder() / "tramble").string()}, m_env);
        m_window = m_x.WaitForWindow(kBar);
        return bar;
    }

    test::TempDir m_dir;
    XSession m_x;
    std::map<std::string, std::string> m_env;
    std::optional<test::WindowInfo> m_window;
};

TEST_F(SearchEndToEnd, ShortcutCallsTheBarFromTheStripWithTheCommandBoxFocused)
{
    auto bar = StartBar();
    ASSERT_TRUE(m_window) << "the bar did not appear";
    ASSERT_TRUE(ShortcutHeldElsewhere()) << "the bar did not grab Ctrl+Alt+Space";

    ASSERT_TRUE(FoldIntoStrip()) << "the bar did not fold into the strip";
    Key("ctrl+alt+space");
    ASSERT_TRUE(BarShown(true)) << "the shortcut did not bring the bar back";
    std::this_thread::sleep_for(300ms);
    Type("6*7");
    Key("Return");
    // The result is selected in the focused box: End and more text extend it.
    Key("End");
    Type("*2");
    Key("Return");

    // Again while the box has the focus: back into the strip, and out again.
    Key("ctrl+alt+space");
    EXPECT_TRUE(BarShown(false)) << "the second press did not return the bar to the strip";
    Key("ctrl+alt+space");
    ASSERT_TRUE(BarShown(true));
    std::this_thread::sleep_for(300ms);
    Type(">Exit");
    Key("Return");
    ASSERT_EQ(bar->Wait(10s), 0) << ">Exit did not end the program";

    TFastIniFile ini(Ini());
    EXPECT_EQ(ini.ReadText("Command", "cmd1", ""), "42*2");
    EXPECT_EQ(ini.ReadText("Command", "cmd2", ""), "6*7");
}

TEST_F(SearchEndToEnd, FocusOptionReachesTheRunningCopy)
{
    auto bar = StartBar();
    ASSERT_TRUE(m_window);
    ASSERT_TRUE(ShortcutHeldElsewhere());
    ASSERT_TRUE(FoldIntoStrip());

    Process caller({(Folder() / "tramble").string(), "--focus"}, m_env);
    EXPECT_EQ(caller.Wait(5s), 0);
    ASSERT_TRUE(BarShown(true)) << "--focus did not bring the bar back";
    EXPECT_EQ(m_x.Windows(kBar).size(), 1u) << "a second bar started";
    std::this_thread::sleep_for(300ms);
    Type("5*5");
    Key("Return");
    Type(">Exit");
    Key("Return");
    ASSERT_EQ(bar->Wait(10s), 0);
    EXPECT_EQ(TFastIniFile(Ini()).ReadText("Command", "cmd1", ""), "5*5");
}

TEST_F(SearchEndToEnd, ApplicationPickedInTheCommandBoxStarts)
{
    auto bar = StartBar();
    ASSERT_TRUE(m_window);
    // The index is built once the bar is up; the grab comes after it.
    ASSERT_TRUE(ShortcutHeldElsewhere());
    const int boxY = kCell + (m_window->Height - kCell) / 2;
    m_x.X("xdotool mousemove --window " + m_window->Id + " 20 " + std::to_string(boxY) + " click 1");
    std::this_thread::sleep_for(300ms);
    Type("zeb");
    std::this_thread::sleep_for(300ms);
    Key("Down");
    Key("Return");
    const std::optional<test::ArgvDump> started = test::WaitForArgvDump(m_dir.file("dump"));
    ASSERT_TRUE(started) << "the application did not start";
    EXPECT_EQ(started->Argv, (std::vector<std::string>{Dumper(), "--paint", "Zebra Paint"}));
    EXPECT_TRUE(started->OwnSession);

    Key("ctrl+a");
    Type(">Exit");
    Key("Return");
    ASSERT_EQ(bar->Wait(10s), 0);
    TFastIniFile ini(Ini());
    EXPECT_EQ(ini.ReadNumber("Command", "Count", -1), 0) << "the pick went into the history";
    EXPECT_EQ(ini.ReadText("AppLaunch", "Id1", ""), "zebra.desktop");
}

TEST_F(SearchEndToEnd, ShortcutHeldByAnotherProgramGivesOneMessage)
{
    auto other = platform::TKeyGrab::Connect(m_x.Display());
    ASSERT_TRUE(other);
    ASSERT_EQ(other->Grab({.Ctrl = true, .Alt = true}, kSpace), platform::TGrabResult::Taken);
    auto bar = StartBar();
    ASSERT_TRUE(m_window);
    EXPECT_TRUE(m_x.WaitForWindow("--name '^Error$'", 10s)) << "no message about the taken shortcut";
    Key("Return");
    EXPECT_TRUE(BarShown(true)) << "the bar went away";
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(m_x.Windows("--name '^Error$'").empty()) << "more than one message";
    EXPECT_FALSE(bar->Wait(500ms)) << "the bar ended";
}

TEST_F(SearchEndToEnd, PortalShortcutCallsTheBarInAWaylandSession)
{
    if (!test::ShortcutPortal::Available())
        GTEST_SKIP() << "xdg-desktop-portal is not installed";
    test::PrivateBus bus;
    test::ShortcutPortal portal(bus.Address(), {});
    ASSERT_TRUE(portal.Ready());
    InWaylandSession(bus);
    auto bar = StartBar();
    ASSERT_TRUE(m_window);
    ASSERT_TRUE(portal.WaitForBound(1, 15s)) << "the bar did not ask the portal";
    const test::ShortcutPortal::Bound bound = portal.BoundShortcuts().front();
    EXPECT_EQ(bound.Trigger, "CTRL+ALT+space");
    EXPECT_EQ(bound.Description, "Bring the Tramble bar forward with its command box focused");
    EXPECT_FALSE(GrabbedOnDisplay()) << "the bar grabbed the keys besides the portal";

    ASSERT_TRUE(FoldIntoStrip());
    ASSERT_TRUE(portal.Activate(bound.Id));
    ASSERT_TRUE(BarShown(true)) << "the portal's press did not bring the bar back";
    std::this_thread::sleep_for(300ms);
    Type("6*7");
    Key("Return");
    ASSERT_TRUE(portal.Activate(bound.Id));
    EXPECT_TRUE(BarShown(false)) << "the second press did not return the bar to the strip";
    ASSERT_TRUE(portal.Activate(bound.Id));
    ASSERT_TRUE(BarShown(true));
    std::this_thread::sleep_for(300ms);
    Type(">Exit");
    Key("Return");
    ASSERT_EQ(bar->Wait(10s), 0);
    EXPECT_EQ(TFastIniFile(Ini()).ReadText("Command", "cmd1", ""), "6*7");
    EXPECT_TRUE(portal.WaitForClosedSessions(1, 5s)) << "the portal session outlived the bar";
}

// A Wayland session whose portal offers no shortcuts still has the grab on
// XWayland; one whose user declined the binding gets neither, and no message.
TEST_F(SearchEndToEnd, WithoutThePortalsShortcutTheBarGrabsOnlyWhereNotDeclined)
{
    if (!test::ShortcutPortal::Available())
        GTEST_SKIP() << "xdg-desktop-portal is not installed";
    test::PrivateBus bus;
    InWaylandSession(bus);
    {
        test::ShortcutPortal portal(bus.Address(), {.WithBackend = false});
        ASSERT_TRUE(portal.Ready());
        auto bar = StartBar();
        ASSERT_TRUE(m_window);
        EXPECT_TRUE(ShortcutHeldElsewhere()) << "no grab where the portal offers no shortcuts";
        bar->Signal(SIGTERM);
        ASSERT_EQ(bar->Wait(10s), 0);
    }
    test::ShortcutPortal portal(bus.Address(), {.BindResponse = 1});
    ASSERT_TRUE(portal.Ready());
    auto bar = StartBar();
    ASSERT_TRUE(m_window);
    ASSERT_TRUE(portal.WaitForBound(1, 15s));
    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(GrabbedOnDisplay()) << "the bar grabbed keys the user declined";
    EXPECT_TRUE(m_x.Windows("--name '^Error$'").empty()) << "a message about the declined shortcut";
}

} // namespace
} // namespace tramble
