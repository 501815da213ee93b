// The tray menus' tools: the first installed candidate wins.
#include "tray/TrayTools.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;

void Install(const test::TempDir& dir, const std::string& name)
{
    const std::string path = dir.file(name);
    test::WriteFileBytes(path, "#!/bin/sh\n");
    fs::permissions(path, fs::perms::owner_all);
}

TEST(TrayTools, FirstInstalledCandidateWithItsArguments)
{
    struct Case {
        TTrayTool tool;
        std::vector<std::string> installed;
        std::vector<std::string> expected; // program name, then arguments; empty: none found
    };
    const std::vector<Case> cases{
        {TTrayTool::System, {"xfce4-settings-manager", "systemsettings"}, {"systemsettings"}},
        {TTrayTool::Power, {"gnome-control-center", "xfce4-power-manager-settings"}, {"gnome-control-center", "power"}},
        {TTrayTool::NetConnect, {"gnome-control-center"}, {"gnome-control-center", "network"}},
        {TTrayTool::NetConnect, {"nm-connection-editor", "gnome-control-center"}, {"nm-connection-editor"}},
        {TTrayTool::TaskManager, {"xterm"}, {"xterm", "-e", "top"}},
        {TTrayTool::TaskManager, {"xterm", "lxtask"}, {"lxtask"}},
        {TTrayTool::Power, {"systemsettings"}, {}},
    };
    for (const Case& c : cases) {
        test::TempDir empty;
        test::TempDir bin;
        for (const std::string& name : c.installed)
            Install(bin, name);
        const auto found = FindTrayTool(c.tool, empty.path().string() + ":" + bin.path().string());
        if (c.expected.empty()) {
            EXPECT_FALSE(found) << c.installed.front();
            continue;
        }
        ASSERT_TRUE(found) << c.expected.front();
        std::vector<std::string> expected = c.expected;
        expected.front() = bin.file(expected.front());
        EXPECT_EQ(*found, expected);
    }
}

TEST(TrayTools, AFileThatCannotRunIsNoTool)
{
    test::TempDir bin;
    test::WriteFileBytes(bin.file("nm-connection-editor"), "text");
    EXPECT_FALSE(FindTrayTool(TTrayTool::NetConnect, bin.path().string()));
}

TEST(TrayTools, NamesForTheMessageListEachProgramOnce)
{
    EXPECT_EQ(TrayToolNames(TTrayTool::Power), "gnome-control-center, xfce4-power-manager-settings");
    EXPECT_EQ(TrayToolNames(TTrayTool::NetConnect), "nm-connection-editor, gnome-control-center");
}

} // namespace
} // namespace tramble
