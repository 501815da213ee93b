#include "shell/ShortcutLink.h"
#include "shell/DesktopEntry.h"
#include "shell/ShellWords.h"

#include "LnkBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

TEST(ShortcutLink, ShowCommandMapping)
{
    TShortcutLink link;
    EXPECT_EQ(link.RawShowCmd(), 0u);
    EXPECT_EQ(link.ShowCmd(), scShowNormal);
    const struct {
        TShowCmd Set;
        uint32_t Raw;
    } writes[] = {{scShowMaximized, 3}, {scShowMinimized, 7}, {scShowNormal, 9}};
    for (const auto& w : writes) {
        link.SetShowCmd(w.Set);
        EXPECT_EQ(link.RawShowCmd(), w.Raw);
        EXPECT_EQ(link.ShowCmd(), w.Set);
    }
    test::TempDir dir;
    const struct {
        uint32_t Raw;
        TShowCmd Read;
    } reads[] = {{0, scShowNormal}, {1, scShowNormal},    {2, scShowNormal}, {3, scShowMaximized},
                 {6, scShowNormal}, {7, scShowMinimized}, {9, scShowNormal}};
    for (const auto& r : reads) {
        test::LnkBuilder b;
        b.LocalBasePath = "C:\\a.exe";
        b.ShowCommand = r.Raw;
        WriteFileBytes(dir.file("a.lnk"), b.Build());
        ASSERT_TRUE(TryReadLink(link, dir.file("a.lnk")));
        EXPECT_EQ(link.ShowCmd(), r.Read) << r.Raw;
    }
}

TEST(ShortcutLink, HotKeyKeepsOneUpperCaseCharacter)
{
    const struct {
        std::string Set;
        std::string Read;
    } cases[] = {{"a", "A"}, {"q", "Q"}, {"Zed", "Z"}, {"", " "}, {"\x05", " "}, {"7", "7"}};
    for (const auto& c : cases) {
        TShortcutLink link;
        link.SetHotKey(c.Set);
        EXPECT_EQ(link.HotKey(), c.Read) << c.Set;
    }
}

TEST(ShortcutLink, DesktopEntryRoundTrip)
{
    test::TempDir dir;
    TShortcutLink link;
    link.ShortcutFile = dir.file("tool.desktop");
    link.Target = "/opt/my tools/run me";
    link.WorkingDir = "/opt/my tools";
    link.Description = "A tool, 100% useful";
    link.Arguments = "--mode 'two words' $HOME";
    link.IconLocation = "/opt/my tools/icon.png";
    link.IconNumber = 2;
    link.SetShowCmd(scShowMinimized);
    link.SetHotKey("k");
    link.WriteLink();

    TShortcutLink read;
    ASSERT_TRUE(TryReadLink(read, link.ShortcutFile));
    EXPECT_EQ(read.Target, link.Target);
    EXPECT_EQ(read.WorkingDir, link.WorkingDir);
    EXPECT_EQ(read.Description, link.Description);
    EXPECT_EQ(SplitShellWords(read.Arguments), SplitShellWords(link.Arguments));
    EXPECT_EQ(read.IconLocation, link.IconLocation);
    EXPECT_EQ(read.IconNumber, 2);
    EXPECT_EQ(read.ShowCmd(), scShowMinimized);
    EXPECT_EQ(read.HotKey(), "K");
    // The hot key is written with Ctrl and Alt.
    EXPECT_NE(ReadFileBytes(link.ShortcutFile).find("X-Tramble-HotKey=1611\n"), std::string::npos);
}

// The description is the entry's name and its comment; without one the name
// is the target's file name and there is no comment.
TEST(ShortcutLink, DescriptionIsWrittenAsNameAndComment)
{
    test::TempDir dir;
    struct TCase {
        std::string Description;
        std::string Name;
        std::optional<std::string> Comment;
    };
    const std::vector<TCase> cases{
        {"Text editor; 100%", "Text editor; 100%", "Text editor; 100%"},
        {"", "run me", std::nullopt},
    };
    for (const TCase& c : cases) {
        TShortcutLink link;
        link.ShortcutFile = dir.file("tool.desktop");
        link.Target = "/opt/my tools/run me";
        link.Description = c.Description;
        link.WriteLink();
        const std::optional<TDesktopEntry> entry = TDesktopEntry::Parse(ReadFileBytes(link.ShortcutFile));
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->Value("Name"), c.Name) << c.Description;
        EXPECT_EQ(entry->Value("Comment"), c.Comment) << c.Description;
    }
}

TEST(ShortcutLink, WrittenEntriesPassTheDesktopFileValidator)
{
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "desktop-file-validate is not installed";
    test::TempDir dir;
    TShortcutLink full;
    full.ShortcutFile = dir.file("full.desktop");
    full.Target = "/usr/bin/prog with space";
    full.WorkingDir = "/tmp";
    full.Description = "Description; with \"quotes\" and 50%";
    full.Arguments = "-a 'b c' \\$x";
    full.IconLocation = "utilities-terminal";
    full.SetHotKey("t");
    full.SetShowCmd(scShowMaximized);
    full.WriteLink();
    SetShortcut("/usr/bin/tramble", dir.file("Tramble.desktop"), "Tramble", true);
    for (const char* name : {"full.desktop", "Tramble.desktop"}) {
        const std::string command = "desktop-file-validate '" + dir.file(name) + "' > '" + dir.file("out") + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << name;
        // The comment repeats the name on purpose: desktops show one, menus the other.
        std::istringstream report(ReadFileBytes(dir.file("out")));
        std::string other;
        for (std::string line; std::getline(report, line);) {
            if (line.find("for key \"Comment\" in group \"Desktop Entry\" looks the same as that of key \"Name\"") ==
                std::string::npos)
                other += line + "\n";
        }
        EXPECT_EQ(other, "") << name << "\n" << ReadFileBytes(dir.file(name));
    }
}

TEST(ShortcutLink, ReadsWindowsLinks)
{
    test::TempDir dir;
    test::LnkBuilder b;
    b.LocalBasePath = "C:\\Tools\\app.exe";
    b.Name = "App";
    b.WorkingDir = "C:\\Tools";
    b.Arguments = "/s";
    b.IconLocation = "C:\\Tools\\app.ico";
    b.IconIndex = 1;
    b.HotKey = 0x0645;
    WriteFileBytes(dir.file("App.lnk"), b.Build());
    TShortcutLink link;
    ASSERT_TRUE(TryReadLink(link, dir.file("App.lnk")));
    EXPECT_EQ(link.Target, "C:\\Tools\\app.exe");
    EXPECT_EQ(link.Description, "App");
    EXPECT_EQ(link.Arguments, "/s");
    EXPECT_EQ(link.IconNumber, 1);
    EXPECT_EQ(link.HotKey(), "E");

    // A link that knows its target only relative to itself.
    test::LnkBuilder relative;
    relative.RelativePath = "bin/tool";
    WriteFileBytes(dir.file("rel.lnk"), relative.Build());
    ASSERT_TRUE(TryReadLink(link, dir.file("rel.lnk")));
    EXPECT_EQ(link.Target, dir.file("bin/tool"));
}

TEST(ShortcutLink, FilesThatAreNoLinkRaiseTheOpenError)
{
    test::TempDir dir;
    WriteFileBytes(dir.file("text.lnk"), "just some text\n");
    std::string cut = test::LnkBuilder{}.Build();
    cut.resize(80);
    WriteFileBytes(dir.file("cut.lnk"), cut);
    for (const char* name : {"text.lnk", "cut.lnk", "missing.lnk"}) {
        TShortcutLink link;
        link.ShortcutFile = dir.file(name);
        try {
            link.ReadLink();
            ADD_FAILURE() << name;
        } catch (const EShortcutError& e) {
            EXPECT_STREQ(e.what(), "Unable to open link file") << name;
        }
        EXPECT_FALSE(LinkPointsTo(dir.file(name), "/x"));
    }
    TShortcutLink unwritable;
    unwritable.ShortcutFile = dir.file("no/such/folder/x.desktop");
    unwritable.Target = "/bin/true";
    EXPECT_THROW(unwritable.WriteLink(), EShortcutError);
    try {
        unwritable.WriteLink();
    } catch (const EShortcutError& e) {
        EXPECT_STREQ(e.what(), "Unable to create .lnk file");
    }
}

TEST(ShortcutLink, SetShortcutAndLinkPointsTo)
{
    test::TempDir dir;
    const std::string file = dir.file("Tramble.desktop");
    // A shortcut of another copy does not count for this one.
    SetShortcut("/other/copy/tramble", file, "Tramble", true);
    EXPECT_TRUE(LinkPointsTo(file, "/other/copy/tramble"));
    EXPECT_FALSE(LinkPointsTo(file, "/this/copy/tramble"));
    SetShortcut("/this/copy/tramble", file, "Tramble", true);
    EXPECT_TRUE(LinkPointsTo(file, "/this/copy/tramble"));
    EXPECT_TRUE(fs::status(file).permissions() == fs::perms(0755));

    SetShortcut("/this/copy/tramble", file, "Tramble", false);
    EXPECT_FALSE(fs::exists(file));
    // Errors are swallowed.
    SetShortcut("/this/copy/tramble", dir.file("missing/Tramble.desktop"), "Tramble", true);
    SetShortcut("/this/copy/tramble", dir.file("missing/Tramble.desktop"), "Tramble", false);
    EXPECT_FALSE(fs::exists(dir.file("missing")));
}

} // namespace
} // namespace tramble
