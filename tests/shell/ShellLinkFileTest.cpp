#include "shell/ShellLinkFile.h"

#include "LnkBuilder.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

using test::LnkBuilder;

TEST(ShellLinkFile, ReadsEveryPartOfALocalLink)
{
    for (bool unicode : {true, false}) {
        LnkBuilder b;
        b.Unicode = unicode;
        b.LocalBasePath = "C:\\Tools\\app.exe";
        b.Name = "My tool";
        b.RelativePath = "..\\Tools\\app.exe";
        b.WorkingDir = "C:\\Tools";
        b.Arguments = "-x \"a b\"";
        b.IconLocation = "C:\\Tools\\icons.dll";
        b.IconIndex = -3;
        b.ShowCommand = 3;
        b.HotKey = 0x0641;
        const std::optional<TShellLinkData> link = ParseShellLink(b.Build());
        ASSERT_TRUE(link) << unicode;
        EXPECT_EQ(link->Target, "C:\\Tools\\app.exe");
        EXPECT_EQ(link->Description, "My tool");
        EXPECT_EQ(link->RelativePath, "..\\Tools\\app.exe");
        EXPECT_EQ(link->WorkingDir, "C:\\Tools");
        EXPECT_EQ(link->Arguments, "-x \"a b\"");
        EXPECT_EQ(link->IconLocation, "C:\\Tools\\icons.dll");
        EXPECT_EQ(link->IconIndex, -3);
        EXPECT_EQ(link->ShowCommand, 3u);
        EXPECT_EQ(link->HotKey, 0x0641);
    }
}

TEST(ShellLinkFile, TargetSources)
{
    LnkBuilder network;
    network.NetName = "\\\\server\\share";
    network.PathSuffix = "dir\\file.txt";
    EXPECT_EQ(ParseShellLink(network.Build())->Target, "\\\\server\\share\\dir\\file.txt");

    LnkBuilder suffix;
    suffix.LocalBasePath = "C:\\";
    suffix.PathSuffix = "x.exe";
    EXPECT_EQ(ParseShellLink(suffix.Build())->Target, "C:\\x.exe");

    LnkBuilder environment;
    environment.EnvironmentTarget = "%windir%\\notepad.exe";
    environment.WithIdList = false;
    EXPECT_EQ(ParseShellLink(environment.Build())->Target, "%windir%\\notepad.exe");

    LnkBuilder none;
    none.Name = "nothing";
    EXPECT_EQ(ParseShellLink(none.Build())->Target, "");
}

TEST(ShellLinkFile, NonUnicodeTextIsReadAsLatin1)
{
    LnkBuilder b;
    b.Unicode = false;
    b.LocalBasePath = "C:\\caf\xE9.exe";
    EXPECT_EQ(ParseShellLink(b.Build())->Target, "C:\\caf\xC3\xA9.exe");
}

TEST(ShellLinkFile, RefusesWhatIsNoLinkOrIsCutShort)
{
    EXPECT_FALSE(ParseShellLink(""));
    EXPECT_FALSE(ParseShellLink("[Desktop Entry]\nExec=x\n"));
    std::string wrongClass = LnkBuilder{}.Build();
    wrongClass[4] = 0x02;
    EXPECT_FALSE(ParseShellLink(wrongClass));

    LnkBuilder b;
    b.LocalBasePath = "C:\\Tools\\app.exe";
    b.Name = "My tool";
    b.Arguments = "args";
    const std::string whole = b.Build();
    // Every cut inside the structures is refused, never read past the end.
    for (size_t length = 0; length + 4 < whole.size(); ++length)
        EXPECT_FALSE(ParseShellLink(whole.substr(0, length))) << length;
}

TEST(ShellLinkFile, HostileOffsetsStayInside)
{
    LnkBuilder b;
    b.LocalBasePath = "C:\\a.exe";
    std::string data = b.Build();
    // Point the link info's base path offset far beyond its structure.
    const size_t info = 76 + 2 + 8;
    data[info + 16] = '\xFF';
    data[info + 17] = '\xFF';
    const std::optional<TShellLinkData> link = ParseShellLink(data);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->Target, "");
}

} // namespace
} // namespace tramble
