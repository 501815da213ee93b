#include "options/ShortcutOptions.h"

#include "shell/ShortcutLink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;

struct ShortcutOptionsTest : ::testing::Test {
    ShortcutOptionsTest()
    {
        // The folders do not exist yet, as on a fresh account.
        folders = {dir.file("share/applications"), dir.file("Desktop"), dir.file("config/autostart")};
    }
    std::string File(TShortcutPlace place) const { return *ShortcutFile(folders, place); }

    test::TempDir dir;
    TShortcutFolders folders;
    const std::string program = "/opt/tramble/bin/tramble";
};

TEST_F(ShortcutOptionsTest, QuickLaunchHasNoFolderAndTheOthersTheirXdgOne)
{
    EXPECT_FALSE(ShortcutFile(folders, TShortcutPlace::QuickLaunch));
    EXPECT_EQ(File(TShortcutPlace::AutoRun), dir.file("config/autostart/Tramble.desktop"));
    EXPECT_EQ(File(TShortcutPlace::Desktop), dir.file("Desktop/Tramble.desktop"));
    EXPECT_EQ(File(TShortcutPlace::StartMenu), dir.file("share/applications/Tramble.desktop"));
}

TEST_F(ShortcutOptionsTest, TickingAutoRunCreatesTheMissingFolderAndTheShortcut)
{
    ApplyShortcutStates(folders, program, {false, false, false, false}, {false, false, false, true});
    ASSERT_TRUE(fs::exists(File(TShortcutPlace::AutoRun)));
    EXPECT_TRUE(LinkPointsTo(File(TShortcutPlace::AutoRun), program));
    EXPECT_FALSE(fs::exists(dir.file("Desktop")));
    EXPECT_EQ(ReadShortcutStates(folders, program), (TShortcutStates{false, false, false, true}));
}

TEST_F(ShortcutOptionsTest, AShortcutToAnotherCopyShowsUntickedAndTickingReplacesIt)
{
    ApplyShortcutStates(folders, "/media/stick/tramble", {false, false, false, false}, {false, true, false, false});
    EXPECT_EQ(ReadShortcutStates(folders, program), (TShortcutStates{false, false, false, false}));
    ApplyShortcutStates(folders, program, {false, false, false, false}, {false, true, false, false});
    EXPECT_TRUE(LinkPointsTo(File(TShortcutPlace::Desktop), program));
}

TEST_F(ShortcutOptionsTest, UntickingDeletesEvenAShortcutPointedElsewhereAndUnchangedBoxesTouchNothing)
{
    ApplyShortcutStates(folders, "/elsewhere", {false, false, false, false}, {true, true, false, false});
    // Desktop unticked from ticked: deleted. Start menu left as it was: kept.
    ApplyShortcutStates(folders, program, {true, true, false, false}, {true, false, false, false});
    EXPECT_FALSE(fs::exists(File(TShortcutPlace::Desktop)));
    EXPECT_TRUE(LinkPointsTo(File(TShortcutPlace::StartMenu), "/elsewhere"));
}

} // namespace
} // namespace tramble
