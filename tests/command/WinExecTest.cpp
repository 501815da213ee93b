#include "platform/WinExec.h"
#include "platform/Launch.h"

#include "support/ArgvDump.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tramble::platform {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

class WinExecTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TRAMBLE_DUMP", Dump().c_str(), 1);
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        fs::create_directory(m_dir.path() / "bin");
        fs::copy_file(TRAMBLE_ARGV_DUMP, m_dir.path() / "bin" / "dumper");
        fs::copy_file(TRAMBLE_ARGV_DUMP, m_dir.path() / "my prog");
    }
    void TearDown() override
    {
        ::unsetenv("TRAMBLE_DUMP");
        ::setenv("PATH", m_oldPath.c_str(), 1);
    }
    std::string Dump() const { return m_dir.file("dump"); }

    test::TempDir m_dir;
    std::string m_oldPath;
};

TEST_F(WinExecTest, NameFoundInPathStartsDetachedWithItsWords)
{
    ::setenv("PATH", ("/nonexistent:" + (m_dir.path() / "bin").string()).c_str(), 1);
    const std::string marker = m_dir.file("injected");
    ASSERT_EQ(WinExec("dumper 'two words' \"q\\\"uote\" $HOME ; touch " + marker + " `x` | y > z *"), kOpenStarted);
    const std::optional<test::ArgvDump> dump = test::WaitForArgvDump(Dump());
    ASSERT_TRUE(dump);
    EXPECT_TRUE(dump->OwnSession);
    // Nothing was read by a shell: every word arrives as typed.
    EXPECT_EQ(dump->Argv, (Words{(m_dir.path() / "bin" / "dumper").string(), "two words", "q\"uote", "$HOME", ";",
                                 "touch", marker, "`x`", "|", "y", ">", "z", "*"}));
    EXPECT_FALSE(fs::exists(marker));
}

TEST_F(WinExecTest, QuotedPathStarts)
{
    ASSERT_EQ(WinExec("'" + m_dir.file("my prog") + "' -x"), kOpenStarted);
    const std::optional<test::ArgvDump> dump = test::WaitForArgvDump(Dump());
    ASSERT_TRUE(dump);
    EXPECT_EQ(dump->Argv, (Words{m_dir.file("my prog"), "-x"}));
}

TEST_F(WinExecTest, LinesThatNameNoProgramAreNotStarted)
{
    ::setenv("PATH", (m_dir.path() / "bin").string().c_str(), 1);
    fs::create_directory(m_dir.path() / "folder");
    test::WriteFileBytes(m_dir.file("plain"), "#!/bin/sh\n");
    // A program in the current folder is no program by bare name.
    const fs::path before = fs::current_path();
    fs::current_path(m_dir.path());
    const std::string lines[] = {
        "",
        "   ",
        "2*3",
        "x:=4",
        "\"a\" | \"b\"",
        "1+",
        "my",
        "'my prog'",
        m_dir.file("folder"),
        m_dir.file("plain"),
        m_dir.file("missing"),
        "bin",
        "''",
    };
    for (const std::string& line : lines)
        EXPECT_EQ(WinExec(line), kOpenNotFound) << line;
    fs::current_path(before);
    EXPECT_FALSE(fs::exists(Dump()));
}

} // namespace
} // namespace tramble::platform
