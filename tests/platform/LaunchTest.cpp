#include "platform/Launch.h"

#include "support/ArgvDump.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tramble::platform {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

// Whether the process is gone or left only as a zombie nobody reaped.
bool Reaped(int pid)
{
    for (int i = 0; i < 500; ++i) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        if (!stat.is_open())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

class Launch : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("TRAMBLE_DUMP", Dump().c_str(), 1); }
    void TearDown() override
    {
        ::unsetenv("TRAMBLE_DUMP");
        ::unsetenv("TRAMBLE_DUMP_SLEEP");
    }
    std::string Dump() const { return m_dir.file("dump"); }
    std::string Program() const
    {
        const std::string copy = m_dir.file("my prog");
        if (!fs::exists(copy))
            fs::copy_file(TRAMBLE_ARGV_DUMP, copy);
        return copy;
    }

    test::TempDir m_dir;
};

TEST_F(Launch, ExecutableGetsItsArgumentVectorAndFolderWithoutAShell)
{
    const std::string marker = m_dir.file("injected");
    const std::string arguments =
        "plain 'two words' \"q\\\"uote\" $HOME ; touch " + marker + " `x` | y > " + m_dir.file("redirect") + " *";
    ASSERT_EQ(ShellOpen(Program(), arguments, m_dir.path().string()), kOpenStarted);
    const std::optional<test::ArgvDump> dump = test::WaitForArgvDump(Dump());
    ASSERT_TRUE(dump);
    EXPECT_EQ(dump->Folder, m_dir.path().string());
    EXPECT_EQ(dump->Argv, (Words{Program(), "plain", "two words", "q\"uote", "$HOME", ";", "touch", marker, "`x`", "|",
                                 "y", ">", m_dir.file("redirect"), "*"}));
    EXPECT_TRUE(dump->OwnSession);
    EXPECT_TRUE(Reaped(dump->Pid));
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_FALSE(fs::exists(m_dir.file("redirect")));
}

TEST_F(Launch, ChildIsNeitherWaitedForNorLeftAsZombie)
{
    ::setenv("TRAMBLE_DUMP_SLEEP", "1", 1);
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(SpawnDetached({Program()}, "", &pid), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    ASSERT_TRUE(test::WaitForArgvDump(Dump()));
    EXPECT_EQ(::kill(pid, 0), 0); // still running while we go on
    EXPECT_TRUE(Reaped(pid));
}

TEST_F(Launch, DesktopEntryRunsItsExecLine)
{
    const std::string entry = m_dir.file("tool.desktop");
    std::ofstream(entry) << "[Desktop Entry]\nType=Application\nName=Tool\nIcon=tool-icon\n"
                         << "Exec=\"" << Program() << "\" --open %F %i --name=%c\nPath=/\n";
    ASSERT_EQ(ShellOpen(entry, "a.txt 'b c.txt'", m_dir.path().string()), kOpenStarted);
    const std::optional<test::ArgvDump> dump = test::WaitForArgvDump(Dump());
    ASSERT_TRUE(dump);
    EXPECT_EQ(dump->Folder, "/");
    EXPECT_EQ(dump->Argv, (Words{Program(), "--open", "a.txt", "b c.txt", "--icon", "tool-icon", "--name=Tool"}));
}

TEST_F(Launch, FailuresGiveTheShellNumbers)
{
    const std::string garbage = m_dir.file("garbage");
    test::WriteFileBytes(garbage, "\x01\x02 not a program");
    fs::permissions(garbage, fs::perms::owner_all);
    std::ofstream(m_dir.file("empty.desktop")) << "[Desktop Entry]\nType=Application\nName=x\n";

    EXPECT_EQ(ShellOpen("", "", ""), kOpenNotFound);
    EXPECT_EQ(ShellOpen(m_dir.file("missing"), "", ""), kOpenNotFound);
    EXPECT_EQ(ShellOpen(m_dir.file("no/such/dir/prog"), "", ""), kOpenPathNotFound);
    EXPECT_EQ(ShellOpen(Program(), "", m_dir.file("no-folder")), kOpenPathNotFound);
    EXPECT_EQ(ShellOpen(garbage, "", ""), kOpenNoAssociation);
    EXPECT_EQ(ShellOpen(m_dir.file("empty.desktop"), "", ""), kOpenNoAssociation);
    EXPECT_EQ(SpawnDetached({}, ""), ENOENT);
    EXPECT_EQ(SpawnDetached({"tramble-no-such-program"}, ""), ENOENT);
}

} // namespace
} // namespace tramble::platform
