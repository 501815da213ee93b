#include "shell/DesktopEntry.h"
#include "shell/ExecLine.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tramble {
namespace {

using Words = std::vector<std::string>;

TEST(DesktopEntry, ReadsOnlyTheDesktopEntryGroup)
{
    const std::optional<TDesktopEntry> entry = TDesktopEntry::Parse("# comment\n"
                                                                    "[Other]\nName=wrong\n"
                                                                    "[Desktop Entry]\n"
                                                                    "Name = Editor \n"
                                                                    "Name[de]=Bearbeiter\n"
                                                                    "Comment=two\\slines\\nand\\ttab\\\\\n"
                                                                    "Name=second\n"
                                                                    "broken line\n"
                                                                    "[Desktop Action new]\nExec=nope\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->ValueOr("Name", ""), "Editor");
    EXPECT_EQ(entry->ValueOr("Name[de]", ""), "Bearbeiter");
    EXPECT_EQ(entry->ValueOr("Comment", ""), "two lines\nand\ttab\\");
    EXPECT_FALSE(entry->Value("Exec"));
    EXPECT_FALSE(TDesktopEntry::Parse("[Other]\nExec=x\n"));
    EXPECT_FALSE(TDesktopEntry::Parse(std::string("\x89PNG\r\n\x1a\n\0\0", 10)));
}

TEST(DesktopEntry, EscapedValuesRoundTrip)
{
    for (const char* value : {" leading blank", "back\\slash", "multi\nline\r\ttab", "plain", ""}) {
        TDesktopEntry entry;
        entry.Set("Comment", value);
        const std::optional<TDesktopEntry> read = TDesktopEntry::Parse(entry.Text());
        ASSERT_TRUE(read);
        EXPECT_EQ(read->ValueOr("Comment", "?"), value);
    }
}

TEST(DesktopEntry, ExecQuotingRoundTrips)
{
    const Words samples[] = {
        {"/usr/bin/prog"},
        {"/opt/my app/prog", "with space", "100%", "quote\"d", "$HOME", "back\\slash", "`tick`", ""},
    };
    for (const Words& words : samples) {
        std::string line;
        for (const std::string& word : words)
            line += (line.empty() ? "" : " ") + QuoteExecArgument(word);
        // The line goes through the file's own escaping as well.
        TDesktopEntry entry;
        entry.Set("Exec", line);
        const std::string exec = TDesktopEntry::Parse(entry.Text())->ValueOr("Exec", "");
        EXPECT_EQ(ExpandFieldCodes(SplitExecLine(exec), {}), words) << line;
    }
    EXPECT_EQ(QuoteExecArgument("a b"), "\"a b\"");
    EXPECT_EQ(QuoteExecArgument("50%"), "50%%");
}

TEST(DesktopEntry, FieldCodesExpand)
{
    TExecContext context;
    context.Files = {"/tmp/a b.txt", "/tmp/c.txt"};
    context.Icon = "editor";
    context.Name = "Editor";
    context.Location = "/apps/editor.desktop";
    const struct {
        Words Exec;
        Words Expected;
    } cases[] = {
        {{"prog", "%f"}, {"prog", "/tmp/a b.txt"}},
        {{"prog", "%U"}, {"prog", "/tmp/a b.txt", "/tmp/c.txt"}},
        {{"prog", "--file=%u"}, {"prog", "--file=/tmp/a b.txt"}},
        {{"prog", "%i", "%c", "%k"}, {"prog", "--icon", "editor", "Editor", "/apps/editor.desktop"}},
        {{"prog", "%d", "%D", "%n", "%N", "%v", "%m", "%x"}, {"prog"}},
        {{"prog", "100%%", "%"}, {"prog", "100%", "%"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandFieldCodes(c.Exec, context), c.Expected) << c.Exec.back();
    EXPECT_EQ(ExpandFieldCodes({"prog", "%f", "%F", "%i"}, {}), Words{"prog"});
}

TEST(DesktopEntry, ExecCommandFindsProgramsByName)
{
    test::TempDir dir;
    const std::string program = dir.file("tool");
    test::WriteFileBytes(program, "#!/bin/true\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    test::WriteFileBytes(dir.file("plain"), "not executable");

    const std::string path = "/nonexistent:" + dir.path().string();
    EXPECT_EQ(FindProgramInPath("tool", path), program);
    EXPECT_EQ(FindProgramInPath("plain", path), "plain");
    EXPECT_EQ(FindProgramInPath("missing", path), "missing");
    EXPECT_EQ(FindProgramInPath("/abs/tool", path), "/abs/tool");

    const TExecCommand command = ParseExecCommand("/bin/prog --new-window %U \"two words\"");
    EXPECT_EQ(command.Program, "/bin/prog");
    EXPECT_EQ(command.Arguments, (Words{"--new-window", "two words"}));
    EXPECT_EQ(ParseExecCommand("").Program, "");
}

} // namespace
} // namespace tramble
