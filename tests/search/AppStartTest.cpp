// How a found application is started: field codes, start folder, terminal.
#include "search/AppStart.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;

TDesktopApp AppWithExec(std::string exec)
{
    TDesktopApp app;
    app.Id = "viewer.desktop";
    app.Path = "/usr/share/applications/viewer.desktop";
    app.Name = "Picture Viewer";
    app.Icon = "viewer-icon";
    app.Exec = std::move(exec);
    return app;
}

TEST(AppStart, FieldCodes)
{
    using V = std::vector<std::string>;
    struct Case {
        const char* Exec;
        V Argv;
    };
    const Case cases[] = {
        {"viewer %U", V{"viewer"}},
        {"viewer %f --new", V{"viewer", "--new"}},
        {"viewer %F %u", V{"viewer"}},
        {"viewer %i", V{"viewer", "--icon", "viewer-icon"}},
        {"viewer --title=%c", V{"viewer", "--title=Picture Viewer"}},
        {"viewer %k", V{"viewer", "/usr/share/applications/viewer.desktop"}},
        {"viewer 100%%", V{"viewer", "100%"}},
        {"viewer %d %D %n %N %v %m", V{"viewer"}},
        {"\"/opt/My Apps/viewer\" \"two words\" %U", V{"/opt/My Apps/viewer", "two words"}},
        {"sh -c \"echo \\\"\\$HOME\\\"\"", V{"sh", "-c", "echo \"$HOME\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Exec);
        const std::optional<TAppStart> start = AppStartOf(AppWithExec(c.Exec), {});
        ASSERT_TRUE(start);
        EXPECT_EQ(start->Argv, c.Argv);
    }
    EXPECT_FALSE(AppStartOf(AppWithExec(""), {}));
    EXPECT_FALSE(AppStartOf(AppWithExec("%U"), {}));
}

TEST(AppStart, FolderAndTerminal)
{
    TDesktopApp app = AppWithExec("htop --tree");
    app.WorkFolder = "/srv/work";
    std::optional<TAppStart> start = AppStartOf(app, {"/usr/bin/xterm", "-e"});
    ASSERT_TRUE(start);
    EXPECT_EQ(start->Folder, "/srv/work");
    EXPECT_EQ(start->Argv, (std::vector<std::string>{"htop", "--tree"})) << "no terminal unless asked for";

    app.Terminal = true;
    start = AppStartOf(app, {"/usr/bin/xterm", "-e"});
    ASSERT_TRUE(start);
    EXPECT_EQ(start->Argv, (std::vector<std::string>{"/usr/bin/xterm", "-e", "htop", "--tree"}));
    EXPECT_FALSE(AppStartOf(app, {})) << "a terminal entry without a terminal";
}

TEST(AppStart, ProgramName)
{
    EXPECT_EQ(ExecProgramName("/usr/bin/gnome-calculator %U"), "gnome-calculator");
    EXPECT_EQ(ExecProgramName("\"/opt/a b/tool\" x"), "tool");
    EXPECT_EQ(ExecProgramName(""), "");
}

class TerminalTest : public ::testing::Test {
protected:
    std::string Program(const std::string& folder, const std::string& name) const
    {
        fs::create_directories(m_dir.path() / folder);
        const std::string path = (m_dir.path() / folder / name).string();
        test::WriteFileBytes(path, "#!/bin/sh\n");
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }
    std::string Folder(const std::string& name) const { return (m_dir.path() / name).string(); }

    test::TempDir m_dir;
};

TEST_F(TerminalTest, TheUsersTerminalFirst)
{
    const std::string xterm = Program("a", "xterm");
    const std::string gnome = Program("b", "gnome-terminal");
    const std::string kitty = Program("b", "kitty");
    const std::string alternative = Program("c", "x-terminal-emulator");
    const std::string path = Folder("a") + ":" + Folder("b");

    EXPECT_EQ(FindTerminal(path, nullptr), (std::vector<std::string>{gnome, "--"}));
    EXPECT_EQ(FindTerminal(path, "kitty"), (std::vector<std::string>{kitty}));
    EXPECT_EQ(FindTerminal(path, "xterm"), (std::vector<std::string>{xterm, "-e"}));
    EXPECT_EQ(FindTerminal(path, "no-such-terminal"), (std::vector<std::string>{gnome, "--"}));
    EXPECT_EQ(FindTerminal(path + ":" + Folder("c"), ""), (std::vector<std::string>{alternative, "-e"}));
    EXPECT_EQ(FindTerminal(Folder("a"), nullptr), (std::vector<std::string>{xterm, "-e"}));
    EXPECT_TRUE(FindTerminal(Folder("empty"), nullptr).empty());
    const std::string own = Program("d", "myterm");
    EXPECT_EQ(FindTerminal(Folder("empty"), own.c_str()), (std::vector<std::string>{own, "-e"}));
}

} // namespace
} // namespace tramble
