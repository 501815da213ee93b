// The real program under Xvfb with openbox: a click on the bookmark button
// opens the menu of groups, and the bookmark picked there reaches the
// desktop's opener (a stand-in on PATH) as exactly one argument.
#include "support/ArgvDump.h"
#include "support/TempDir.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Process;
using test::WindowInfo;
using test::XSession;

constexpr int kCell = 36; // icon size 32 + 4

TEST(BookmarksEndToEnd, PickedBookmarkReachesTheOpener)
{
    if (auto tool = XSession::MissingTool())
        GTEST_SKIP() << *tool << " is not installed";
    test::TempDir dir;
    XSession x;
    ASSERT_TRUE(x.Start(dir.path())) << "Xvfb did not start";
    const fs::path folder = dir.path() / "a";
    fs::create_directories(folder / "tools");
    fs::copy_file(TRAMBLE_EXECUTABLE, folder / "tramble");
    fs::copy_file(TRAMBLE_ARGV_DUMP, folder / "tools" / "xdg-open");
    const std::string address = "https://example.test/a b;c='d' & \"e\"";
    test::WriteFileBytes((folder / "tramble.ini").string(),
                         "[last]\nrun=3\nLeft=300\nTop=200\n[cfg]\nSyncTime=0\n[NetBookmark]\nGroupCount=2\n"
                         "Group1=Web\nGroup1ItemCount=2\nGroup1Item1=Odd\nGroup1Url1=\"" +
                             address +
                             "\"\nGroup1Item2=Plain\nGroup1Url2=https://plain.example/\n"
                             "Group2=Other\nGroup2ItemCount=0\n");

    std::map<std::string, std::string> env = x.Env();
    const std::string dump = dir.file("dump");
    env["TRAMBLE_DUMP"] = dump;
    env["PATH"] = (folder / "tools").string() + ":/usr/bin:/bin";
    Process bar({(folder / "tramble").string()}, env);
    // The bar, not one of its tray icons: the window two cells wide.
    std::optional<WindowInfo> window;
    for (int i = 0; i < 150 && !window; ++i) {
        for (const WindowInfo& found : x.Windows("--pid " + std::to_string(bar.Pid()))) {
            if (found.Width >= 2 * kCell)
                window = found;
        }
        if (!window)
            std::this_thread::sleep_for(100ms);
    }
    ASSERT_TRUE(window) << "the bar did not show";
    // Shown is not yet laid out: the button finds its cell with the first layout.
    std::this_thread::sleep_for(1500ms);

    x.X("xdotool mousemove --window " + window->Id + " " + std::to_string(kCell + kCell / 2) + " " +
        std::to_string(kCell / 2) + " click 1");
    std::this_thread::sleep_for(500ms);
    // The first group, into its submenu, the first bookmark.
    x.X("xdotool key Down");
    std::this_thread::sleep_for(200ms);
    x.X("xdotool key Right");
    std::this_thread::sleep_for(300ms);
    x.X("xdotool key Return");

    const std::optional<test::ArgvDump> seen = test::WaitForArgvDump(dump);
    ASSERT_TRUE(seen) << "the opener was not started";
    EXPECT_EQ(seen->Argv, (std::vector<std::string>{"xdg-open", address}));
    EXPECT_TRUE(seen->OwnSession);
}

} // namespace
} // namespace tramble
